#include "shared/record_kind.h"

#include "shared/record_writer.h"

namespace varkel {

namespace {

const QString kTextSuffix = QStringLiteral("_text");

// Whether `typed` says what the field holds, as its text or as a value read back.
bool agrees(const FieldSpec& field, const FieldValue& value, const QString& typed)
{
    if (typed == FieldValueText(field, value))
        return true;
    const auto read = ParseFieldValue(field, typed, nullptr);
    return read && *read == value;
}

// The text the record shows under `key` (a field's "_text" or a named text), or
// nothing when the record has no such key.
std::optional<QString> shownText(const RecordKind& kind, int n, const std::vector<FieldValue>& values,
                                 const QString& key)
{
    if (key.endsWith(kTextSuffix)) {
        const auto i = kind.fieldIndex(key.chopped(kTextSuffix.size()));
        if (i && kind.fields()[*i]->kind == FieldKind::Choice)
            return ChoiceText(*kind.fields()[*i], values[*i].number);
    }
    for (const auto& [name, text] : kind.namedTexts(n))
        if (name == key)
            return text;
    return std::nullopt;
}

}  // namespace

std::optional<std::size_t> RecordKind::fieldIndex(const QString& key) const
{
    const auto& all = fields();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i]->key == key)
            return i;
    return std::nullopt;
}

QString RecordKind::namedTextCaption(const QString& key) const
{
    for (const FieldSpec* field : fields())
        if (NamedTextKey(*this, *field) == key)
            return field->label.trimmed() + QStringLiteral("名稱");
    return key;
}

void RecordKind::checkEach(std::vector<Finding>& found,
                           const std::function<void(int n, const FindingSink& add)>& checkRecord) const
{
    for (int n = 0; n < count(); ++n)
        checkRecord(n,
                    [&found, n](const char* field, qsizetype offset, qint64 value, const QString& what,
                                const QString& reason) -> Finding& {
                        return found.emplace_back(Finding{n, QString::fromLatin1(field), offset, value, what, reason,
                                                          std::nullopt});
                    });
}

std::optional<FieldProblem> StoreChanges(RecordKind& kind, int n, const RecordChanges& changes)
{
    if (!changes.values.empty())
        if (auto problem = kind.write(n, changes.values))
            return problem;
    if (changes.alignCopies)
        return kind.alignCopies(n);
    return std::nullopt;
}

QString NamedTextKey(const RecordKind& kind, const FieldSpec& field)
{
    if (field.kind != FieldKind::Number)
        return {};
    const QStringList keys = kind.namedTextKeys();
    for (const char* suffix : {"_text", "_name"})
        if (const QString key = field.key + QLatin1String(suffix); keys.contains(key))
            return key;
    return {};
}

QString EditStepName(const QString& caption, const RecordKind& kind, int n, const RecordChanges& changes)
{
    // A few fields are named; an edit of many says how many.
    constexpr std::size_t kNamedFields = 3;
    QString name = QStringLiteral("修改 %1 %2").arg(caption, kind.recordName(n));
    if (changes.values.empty())
        return name;
    QStringList labels;
    for (const auto& [i, value] : changes.values)
        if (labels.size() < qsizetype(kNamedFields) && i < kind.fields().size())
            labels << kind.fields()[i]->label;
    name += QStringLiteral(": ") + labels.join(QStringLiteral("、"));
    if (changes.values.size() > kNamedFields)
        name += QStringLiteral(" 等 %1 項").arg(changes.values.size());
    return name;
}

QString ProblemLine(const RecordKind& kind, int n, const QString& message)
{
    // The views put the write-error text above the field's complaint; one line says enough.
    const QString reason = message.section(QLatin1Char('\n'), -1);
    if (n < 0 || n >= kind.count())
        return reason;
    const QString name = kind.recordName(n);
    return QStringLiteral("%1 %2%3: %4")
        .arg(kind.recordKind(n))
        .arg(kind.numberOf(n))
        .arg(name.isEmpty() ? QString() : QLatin1Char(' ') + name, reason);
}

namespace {

// Why an edit is refused, in the command line's words and in the window's (the
// same where the field says why).
struct EditRefusal {
    QString why;
    QString reason;
};

// What the typed values ask of a record: the fields to store (and whether a limit
// took each), and the values that must say what the record says after the edit.
struct EditPlan {
    explicit EditPlan(std::size_t fieldCount) : clamped(fieldCount, false) {}

    std::map<std::size_t, FieldValue> changes;
    std::vector<bool> clamped;
    std::vector<std::pair<QString, QString>> mustAgree;
};

// "kind" and "number" only name the record: they must be its own.
std::optional<EditRefusal> identityRefusal(const RecordKind& kind, int n, const QString& key, const QString& typed)
{
    if (key == QLatin1String("kind")) {
        if (typed != kind.recordKind(n))
            return EditRefusal{QStringLiteral("kind: this record is %1, not %2").arg(kind.recordKind(n), typed),
                               QStringLiteral("種類不符：這筆記錄是 %1，不是 %2。").arg(kind.recordKind(n), typed)};
        return std::nullopt;
    }
    if (typed != QString::number(kind.numberOf(n)))
        return EditRefusal{QStringLiteral("number: this record is %1, not %2").arg(kind.numberOf(n)).arg(typed),
                           QStringLiteral("編號不符：這筆記錄是 %1，不是 %2。").arg(kind.numberOf(n)).arg(typed)};
    return std::nullopt;
}

// Reads one typed value against record n as it is (`current`) into `plan`; the
// refusal when it cannot be taken.
std::optional<EditRefusal> planValue(const RecordKind& kind, int n, const std::vector<FieldValue>& current,
                                     const QString& key, const QString& typed, BeyondStorable beyond, EditPlan& plan)
{
    if (key == QLatin1String("kind") || key == QLatin1String("number"))
        return identityRefusal(kind, n, key, typed);
    const auto i = kind.fieldIndex(key);
    if (!i) {
        if (shownText(kind, n, current, key))
            plan.mustAgree.emplace_back(key, typed);
        else if (!kind.namedTextKeys().contains(key))  // else its source is not at hand: nothing to compare
            return EditRefusal{QStringLiteral("%1: no such field").arg(key),
                               QStringLiteral("沒有「%1」這個欄位。").arg(key)};
        return std::nullopt;
    }
    const FieldSpec& field = *kind.fields()[*i];
    // What was left as it was keeps its stored code, even one outside the lists.
    // A field the record lacks has no such value: any value goes to the kind,
    // which says why it cannot be stored.
    if (!current[*i].absent && typed == FieldValueText(field, current[*i]))
        return std::nullopt;
    if (field.readOnly) {
        plan.mustAgree.emplace_back(key, typed);
        return std::nullopt;
    }
    FieldProblem problem;
    bool clamped = false;
    const auto value = ParseFieldValue(field, typed, &problem, &clamped, beyond);
    if (!value) {
        const QString why = problem.message.section(QLatin1Char('\n'), -1);
        return EditRefusal{QStringLiteral("%1: %2").arg(key, why), why};
    }
    if (*value == current[*i])
        return std::nullopt;
    plan.changes[*i] = *value;
    plan.clamped[*i] = clamped;
    return std::nullopt;
}

// What changed, read back: a field the record works out from others (the full
// name) shows too.
std::vector<FieldChange> changedFields(const RecordKind& kind, const std::vector<FieldValue>& before,
                                       const std::vector<FieldValue>& after, const std::vector<bool>& clamped)
{
    std::vector<FieldChange> changes;
    const auto& fields = kind.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (!(after[i] == before[i]))
            changes.push_back({fields[i]->key, FieldValueText(*fields[i], before[i]),
                               FieldValueText(*fields[i], after[i]), clamped[i]});
    return changes;
}

// Read-only fields and texts may come along (a dump applied back); after the
// edit they must say what the record says.
std::optional<EditRefusal> disagreement(const RecordKind& kind, int n, const std::vector<FieldValue>& after,
                                        const std::vector<std::pair<QString, QString>>& mustAgree)
{
    const auto& fields = kind.fields();
    for (const auto& [key, typed] : mustAgree) {
        const auto i = kind.fieldIndex(key);
        const QString shown = i ? FieldValueText(*fields[*i], after[*i])
                                : shownText(kind, n, after, key).value_or(QString());
        if (i ? !agrees(*fields[*i], after[*i], typed) : shown != typed)
            return EditRefusal{
                QStringLiteral("%1 is read-only here: the record has %2, the edit says %3").arg(key, shown, typed),
                QStringLiteral("「%1」不能在這裡修改：記錄是「%2」，檔案寫的是「%3」。")
                    .arg(ColumnCaption(kind, key), shown, typed)};
    }
    return std::nullopt;
}

}  // namespace

EditResult EditRecord(RecordKind& kind, QByteArray& file, int n, const std::vector<std::pair<QString, QString>>& values,
                      BeyondStorable beyond)
{
    EditResult result;
    const QByteArray before = file;
    std::vector<std::pair<QByteArray*, QByteArray>> othersBefore;
    for (QByteArray* other : kind.alsoWritten())
        othersBefore.emplace_back(other, *other);
    auto refuse = [&](const EditRefusal& refusal) {
        file = before;
        for (auto& [other, bytes] : othersBefore)
            *other = bytes;
        result.changes.clear();
        result.problem = ProblemLine(kind, n, refusal.why);
        result.reason = refusal.reason;
        return result;
    };
    if (n < 0 || n >= kind.count())
        return refuse({QStringLiteral("%1 %2: no such record").arg(kind.name()).arg(kind.numberOf(n)),
                       QStringLiteral("沒有編號 %1 的記錄。").arg(kind.numberOf(n))});

    const std::vector<FieldValue> current = kind.read(n);
    result.recordName = kind.recordName(n);
    EditPlan plan(kind.fields().size());
    for (const auto& [key, typed] : values)
        if (const auto refusal = planValue(kind, n, current, key, typed, beyond, plan))
            return refuse(*refusal);
    if (!plan.changes.empty()) {
        if (const auto problem = kind.write(n, plan.changes))
            return refuse({problem->message.section(QLatin1Char('\n'), -1),
                           problem->shown().section(QLatin1Char('\n'), -1)});
    }
    const std::vector<FieldValue> after = plan.changes.empty() ? current : kind.read(n);
    result.changes = changedFields(kind, current, after, plan.clamped);
    if (const auto refusal = disagreement(kind, n, after, plan.mustAgree))
        return refuse(*refusal);
    return result;
}

std::vector<FieldChange> DiffRecord(const RecordKind& a, const RecordKind& b, int n)
{
    std::vector<FieldChange> changes;
    const auto& fields = a.fields();
    const std::vector<FieldValue> va = a.read(n);
    const std::vector<FieldValue> vb = b.read(n);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!(va[i] == vb[i]))
            changes.push_back({fields[i]->key, FieldValueText(*fields[i], va[i]), FieldValueText(*fields[i], vb[i])});
    }
    return changes;
}

}  // namespace varkel
