#include "shared/record_batch.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <map>

namespace varkel {

namespace {

// The value of a sum, share or bound, or nothing when `text` says none.
std::optional<Assignment::Change> boundNamed(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("min") || t == QStringLiteral("最小"))
        return Assignment::Change::Lowest;
    if (t == QLatin1String("max") || t == QStringLiteral("最大"))
        return Assignment::Change::Highest;
    if (t == QLatin1String("cap") || t == QStringLiteral("上限"))
        return Assignment::Change::Cap;
    return std::nullopt;
}

// Makes `a` a move to `bound`; a cap needs the field's cap field beside it.
// False, with the problem, when there is none.
bool boundChange(const RecordKind& kind, const FieldSpec& described, Assignment::Change bound, Assignment& a,
                 QString* problem)
{
    a.change = bound;
    if (a.change == Assignment::Change::Cap) {
        const auto cap = FieldNamed(kind, described.key + QLatin1String("_cap"));
        if (!cap) {
            *problem = QStringLiteral("「%1」沒有上限欄位，不能用 cap。").arg(described.label);
            return false;
        }
        a.capField = *cap;
    }
    return true;
}

// Makes `a` the sum (+n, -n) or share (*p%) that `trimmed` says; false, with the
// problem, when its amount is no number.
bool arithmeticChange(const FieldSpec& described, const QString& trimmed, Assignment& a, QString* problem)
{
    const QChar sign = trimmed.front();
    QString amount = trimmed.mid(1);
    const bool share = sign == QLatin1Char('*');
    if (share && (amount.endsWith(QLatin1Char('%')) || amount.endsWith(QChar(0xFF05))))
        amount.chop(1);
    const bool halves = !share && described.halves;
    const UnitsReading units = ReadUnits(amount, halves);
    if (units.tooLarge) {
        *problem = QStringLiteral("「%1」").arg(described.label) + TooLargeDetail(trimmed, halves);
        return false;
    }
    if (!units.units) {
        *problem = share ? QStringLiteral("「%1」的「%2」不是百分比（如 *120%）。").arg(described.label, trimmed)
                         : QStringLiteral("「%1」的「%2」不是數字。").arg(described.label, trimmed);
        return false;
    }
    a.change = share ? Assignment::Change::Share : Assignment::Change::Add;
    a.amount = sign == QLatin1Char('-') ? -*units.units : *units.units;
    return true;
}

// Reads one FIELD=VALUE; the problem, one line, when it cannot be made.
std::optional<Assignment> readAssignment(const RecordKind& kind, const QString& typed, BeyondStorable beyond,
                                         QString* problem)
{
    auto refuse = [&](const QString& why) -> std::optional<Assignment> {
        *problem = why;
        return std::nullopt;
    };
    const qsizetype eq = typed.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return refuse(QStringLiteral("「%1」應寫成 欄位=值（如 loyalty=90、loyalty=+10、loyalty=*120%、loyalty=max）。")
                          .arg(typed));
    QString name = typed.left(eq).trimmed();
    QString value = typed.mid(eq + 1);
    // FIELD+=n, FIELD-=n and FIELD*=p% say what FIELD=+n, FIELD=-n and FIELD=*p% say.
    if (name.size() > 1 && QStringLiteral("+-*").contains(name.back())) {
        value.prepend(name.back());
        name.chop(1);
    }
    const auto field = FieldNamed(kind, name);
    if (!field)
        return refuse(QStringLiteral("沒有「%1」這個欄位。").arg(name));
    const FieldSpec& described = *kind.fields()[*field];
    if (described.readOnly)
        return refuse(QStringLiteral("「%1」是唯讀的，不能修改。").arg(described.label));

    Assignment a;
    a.field = *field;
    a.typed = typed;
    a.beyond = beyond;
    const QString trimmed = value.trimmed();
    const auto bound = boundNamed(trimmed);
    const bool arithmetic = trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-')) ||
                            trimmed.startsWith(QLatin1Char('*'));
    if (described.kind != FieldKind::Number && (bound || arithmetic))
        return refuse(QStringLiteral("「%1」不是數字欄位，只能直接指定值。").arg(described.label));
    if (bound)
        return boundChange(kind, described, *bound, a, problem) ? std::optional(a) : std::nullopt;
    if (described.kind == FieldKind::Number && arithmetic)
        return arithmeticChange(described, trimmed, a, problem) ? std::optional(a) : std::nullopt;
    FieldProblem fieldProblem;
    const auto read = ParseFieldValue(described, value, &fieldProblem, &a.clamped, a.beyond);
    if (!read)
        return refuse(fieldProblem.message.section(QLatin1Char('\n'), -1));
    a.valueText = value;
    a.value = *read;
    return a;
}

// The value assignment `a` gives a record whose fields hold `values`, or the
// problem; `clamped` says whether a limit took it.
std::optional<FieldValue> target(const std::vector<const FieldSpec*>& fields, const Assignment& a,
                                 const std::vector<FieldValue>& values, bool& clamped, QString* problem)
{
    const FieldSpec& field = *fields[a.field];
    const FieldValue& current = values[a.field];
    if (a.change == Assignment::Change::Value) {
        clamped = a.clamped;
        return a.value;
    }
    // Values are ints and amounts at most kMostUnits, so no sum or share leaves a qlonglong.
    static_assert(std::numeric_limits<int>::max() * kMostUnits + 50 < std::numeric_limits<qlonglong>::max());
    qlonglong units = current.number;
    switch (a.change) {
    case Assignment::Change::Add:
        units += a.amount;
        break;
    case Assignment::Change::Share:
        units = (units * a.amount + 50) / 100;
        break;
    case Assignment::Change::Lowest:
        units = field.lower.value_or(0);
        break;
    case Assignment::Change::Highest:
        units = field.upper.value_or(field.storableMax);
        break;
    case Assignment::Change::Cap:
        if (values[a.capField].absent) {
            *problem = field.key + QStringLiteral(": 這筆記錄沒有「%1」，不能用 cap。").arg(fields[a.capField]->label);
            return std::nullopt;
        }
        units = values[a.capField].number;
        break;
    case Assignment::Change::Value:
        break;
    }
    clamped = units < 0;
    // Then as the number were typed: clamped to the limits, refused above what the record holds.
    const NumberReading r =
        ReadNumber(field, NumberText(field, int(std::clamp<qlonglong>(units, 0, INT_MAX))), a.beyond);
    if (r.problem) {
        *problem = field.key + QStringLiteral(": ") + r.problem->message.section(QLatin1Char('\n'), -1);
        return std::nullopt;
    }
    clamped = clamped || r.clamped;
    FieldValue v;
    v.number = r.value;
    return v;
}

}  // namespace

std::optional<std::vector<Assignment>> ParseAssignments(const RecordKind& kind, const QStringList& typed,
                                                        FilterError* error, BeyondStorable beyond)
{
    std::vector<Assignment> assignments;
    for (qsizetype k = 0; k < typed.size(); ++k) {
        QString problem;
        auto a = readAssignment(kind, typed[k], beyond, &problem);
        if (a && std::any_of(assignments.begin(), assignments.end(),
                             [&](const Assignment& b) { return b.field == a->field; })) {
            problem = QStringLiteral("「%1」指定了兩次。").arg(kind.fields()[a->field]->label);
            a.reset();
        }
        if (!a) {
            if (error)
                *error = {problem, k, 1};
            return std::nullopt;
        }
        assignments.push_back(std::move(*a));
    }
    return assignments;
}

int BatchResult::count(BatchOutcome::Result result) const
{
    return int(std::count_if(outcomes.begin(), outcomes.end(),
                             [result](const BatchOutcome& o) { return o.result == result; }));
}

std::vector<int> BatchResult::changedRecords() const
{
    std::vector<int> records;
    for (const BatchOutcome& o : outcomes)
        if (o.result == BatchOutcome::Result::Changed)
            records.push_back(o.record);
    return records;
}

BatchResult RunBatch(RecordKind& kind, const std::vector<int>& records, const std::vector<Assignment>& assignments)
{
    BatchResult result;
    result.outcomes.reserve(records.size());
    const auto& fields = kind.fields();
    for (const int n : records) {
        BatchOutcome& outcome = result.outcomes.emplace_back();
        outcome.record = n;
        outcome.number = kind.numberOf(n);
        outcome.recordName = kind.recordName(n);
        const std::vector<FieldValue> before = kind.read(n);
        std::map<std::size_t, FieldValue> changes;
        std::map<std::size_t, bool> clamped;
        for (const Assignment& a : assignments) {
            const FieldSpec& field = *fields[a.field];
            const FieldValue& current = before[a.field];
            // What reads as the record's own value keeps its stored code, as in a single edit.
            if (a.change == Assignment::Change::Value && !current.absent &&
                a.valueText == FieldValueText(field, current))
                continue;
            bool limited = false;
            const auto value = target(fields, a, before, limited, &outcome.problem);
            if (!value)
                break;
            // A field the record lacks has no value to keep: the kind says why it cannot be stored.
            const bool same = field.kind == FieldKind::Number ? value->number == current.number : *value == current;
            if (same && !current.absent)
                continue;
            changes[a.field] = *value;
            clamped[a.field] = limited;
        }
        if (outcome.problem.isEmpty() && !changes.empty())
            if (const auto problem = kind.write(n, changes))
                outcome.problem = problem->message.section(QLatin1Char('\n'), -1);
        if (!outcome.problem.isEmpty()) {
            outcome.result = BatchOutcome::Result::Refused;
            continue;
        }
        if (changes.empty())
            continue;
        const std::vector<FieldValue> after = kind.read(n);
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (!(after[i] == before[i]))
                outcome.changes.push_back({fields[i]->key, FieldValueText(*fields[i], before[i]),
                                           FieldValueText(*fields[i], after[i]), clamped.count(i) && clamped[i]});
        if (!outcome.changes.empty())
            outcome.result = BatchOutcome::Result::Changed;
    }
    return result;
}

BatchResult RunBatch(RecordKind& kind, const RecordFilter& filter, const std::vector<Assignment>& assignments)
{
    return RunBatch(kind, filter.select(kind), assignments);
}

}  // namespace varkel
