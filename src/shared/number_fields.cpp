#include "shared/number_fields.h"

#include "shared/name_field.h"
#include "shared/texts.h"

#include <algorithm>
#include <set>

namespace varkel {

namespace {

constexpr int kRawTacticLow = 14;  // nibbles 14 and 15 are no level but are kept as stored
constexpr int kRawTacticHigh = 15;

QStringList splitList(const QString& typed)
{
    QString t = typed;
    t.replace(QChar(0xFF0C), QLatin1Char(','));  // a full-width comma
    QStringList parts = t.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& p : parts)
        p = p.trimmed();
    parts.removeAll(QString());
    return parts;
}

// A list entry given as its index or its text.
std::optional<int> itemIndex(const QStringList& items, const QString& typed, int count)
{
    bool isNumber = false;
    const int n = typed.toInt(&isNumber);
    if (isNumber)
        return n >= 0 && n < count ? std::optional<int>(n) : std::nullopt;
    const qsizetype i = items.indexOf(typed);
    return i >= 0 && i < count ? std::optional<int>(int(i)) : std::nullopt;
}

QString unitsText(qlonglong units, bool halves)
{
    if (!halves)
        return QString::number(units);
    return QString::number(units / 2) + (units % 2 ? QStringLiteral(".5") : QString());
}

}  // namespace

QString FieldProblemMessage(const QString& label, const QString& detail)
{
    return GetResText(Text::DataNotWritten) + QStringLiteral("\n「%1」%2").arg(label, detail);
}

UnitsReading ReadUnits(const QString& text, bool halves)
{
    QString whole = text.trimmed();
    int half = 0;
    if (halves && whole.size() > 2 && whole[whole.size() - 2] == QLatin1Char('.')) {
        const QChar digit = whole.back();
        if (digit != QLatin1Char('5') && digit != QLatin1Char('0'))
            return {};
        half = digit == QLatin1Char('5') ? 1 : 0;
        whole.chop(2);
    }
    if (whole.isEmpty() ||
        !std::all_of(whole.begin(), whole.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; }))
        return {};
    // Digits alone fail to convert only past a qlonglong.
    bool ok = false;
    const qlonglong value = whole.toLongLong(&ok);
    if (!ok || value > (halves ? (kMostUnits - half) / 2 : kMostUnits))
        return {std::nullopt, true};
    return {halves ? 2 * value + half : value, false};
}

QString TooLargeDetail(const QString& typed, bool halves)
{
    return QStringLiteral("的「%1」太大，最多%2。").arg(typed.trimmed(), unitsText(kMostUnits, halves));
}

namespace {

NumberReading readNumber(const QString& control, const QString& label, const QString& text, std::optional<int> lower,
                         std::optional<int> upper, int storableMax, bool halves,
                         BeyondStorable beyond = BeyondStorable::Refuse)
{
    NumberReading r;
    const UnitsReading read = ReadUnits(text, halves);
    if (!read.units) {
        const QString detail = read.tooLarge ? TooLargeDetail(text, halves)
                               : halves      ? QStringLiteral("必須是整數或半數（如3.5）。")
                                             : QStringLiteral("必須是數字。");
        r.problem = FieldProblem{control, FieldProblemMessage(label, detail)};
        return r;
    }
    const qlonglong value = *read.units;
    qlonglong v = value;
    if (upper && v > *upper)
        v = *upper;
    if (lower && v < *lower)
        v = *lower;
    if (v > storableMax && beyond == BeyondStorable::Clamp && control.startsWith(QLatin1String("Text")))
        v = storableMax;
    if (v > storableMax) {
        r.problem = FieldProblem{
            control, FieldProblemMessage(label, QStringLiteral("不能大於%1。").arg(unitsText(storableMax, halves)))};
        return r;
    }
    r.value = static_cast<int>(v);
    r.clamped = v != value;
    return r;
}

}  // namespace

NumberReading ReadNumber(const QString& control, const QString& label, const QString& text, std::optional<int> lower,
                         std::optional<int> upper, int storableMax)
{
    return readNumber(control, label, text, lower, upper, storableMax, false);
}

NumberReading ReadNumber(const FieldSpec& field, const QString& text, BeyondStorable beyond)
{
    return readNumber(field.control, field.label, text, field.lower, field.upper, field.storableMax, field.halves,
                      beyond);
}

QString NumberText(const FieldSpec& field, int number)
{
    return unitsText(number, field.halves);
}

QString ChoiceText(const FieldSpec& field, int code)
{
    return code >= 0 && code < field.items.size() ? field.items[code] : QString::number(code);
}

namespace {

// Says why `typed` cannot be stored in `field` (when someone asks) and gives no value.
class Refusal {
public:
    Refusal(const FieldSpec& field, FieldProblem* problem) : field_(field), problem_(problem) {}

    std::optional<FieldValue> operator()(const QString& detail) const
    {
        if (problem_)
            *problem_ = FieldProblem{field_.control, FieldProblemMessage(field_.label, detail)};
        return std::nullopt;
    }

private:
    const FieldSpec& field_;
    FieldProblem* problem_;
};

// Double-byte characters only, up to the field's capacity (line breaks not counted where it keeps them).
std::optional<FieldValue> parseName(const FieldSpec& field, const QString& typed, const Refusal& refuse)
{
    QString characters = typed;
    if (field.lineBreaks)
        characters.remove(QLatin1Char('\n'));
    if (characters.size() > field.capacity)
        return refuse(QStringLiteral("最多%1個字。").arg(field.capacity));
    if (!std::all_of(characters.begin(), characters.end(), IsDoubleByteChar))
        return refuse(QStringLiteral("只能是雙字節的中文字。"));
    FieldValue v;
    v.text = typed;
    return v;
}

std::optional<FieldValue> parseFlag(const QString& typed, const Refusal& refuse)
{
    FieldValue v;
    const QString t = typed.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QStringLiteral("是"))
        v.number = 1;
    else if (!(t == QLatin1String("0") || t == QLatin1String("false") || t == QStringLiteral("否")))
        return refuse(QStringLiteral("必須是0或1。"));
    return v;
}

// Skills by index or name, in any order, each held once.
std::optional<FieldValue> parseSkills(const FieldSpec& field, const QString& typed, const Refusal& refuse)
{
    std::set<int> held;
    for (const QString& part : splitList(typed)) {
        const auto skill = itemIndex(field.items, part, int(field.items.size()));
        if (!skill)
            return refuse(QStringLiteral("沒有「%1」這個特技。").arg(part));
        held.insert(*skill);
    }
    FieldValue v;
    v.list.assign(held.begin(), held.end());
    return v;
}

// One level for each tactic, by index or text; the raw nibbles 14 and 15 too.
std::optional<FieldValue> parseTactics(const FieldSpec& field, const QString& typed, const Refusal& refuse)
{
    const QStringList parts = splitList(typed);
    if (parts.size() != field.capacity)
        return refuse(QStringLiteral("必須是%1個等級。").arg(field.capacity));
    FieldValue v;
    for (const QString& part : parts) {
        auto level = itemIndex(field.items, part, int(field.items.size()));
        bool isNumber = false;
        const int raw = part.toInt(&isNumber);
        if (!level && isNumber && (raw == kRawTacticLow || raw == kRawTacticHigh))
            level = raw;
        if (!level)
            return refuse(QStringLiteral("「%1」不是戰法等級。").arg(part));
        v.list.push_back(*level);
    }
    return v;
}

}  // namespace

std::optional<FieldValue> ParseFieldValue(const FieldSpec& field, const QString& typed, FieldProblem* problem,
                                          bool* clamped, BeyondStorable beyond)
{
    const Refusal refuse(field, problem);
    if (clamped)
        *clamped = false;
    switch (field.kind) {
    case FieldKind::Number: {
        const NumberReading r = ReadNumber(field, typed, beyond);
        if (r.problem) {
            if (problem)
                *problem = *r.problem;
            return std::nullopt;
        }
        if (clamped)
            *clamped = r.clamped;
        FieldValue v;
        v.number = r.value;
        return v;
    }
    case FieldKind::Name:
        return parseName(field, typed, refuse);
    case FieldKind::Choice: {
        const auto code = itemIndex(field.items, typed.trimmed(), int(field.items.size()));
        if (!code)
            return refuse(QStringLiteral("不是可選的值。"));
        FieldValue v;
        v.number = *code;
        return v;
    }
    case FieldKind::Flag:
        return parseFlag(typed, refuse);
    case FieldKind::Skills:
        return parseSkills(field, typed, refuse);
    case FieldKind::Tactics:
        return parseTactics(field, typed, refuse);
    }
    return std::nullopt;
}

QString FieldValueText(const FieldSpec& field, const FieldValue& value)
{
    switch (field.kind) {
    case FieldKind::Name:
        return value.text;
    case FieldKind::Choice:
        return ChoiceText(field, value.number);
    case FieldKind::Skills: {
        QStringList names;
        for (const int s : value.list)
            names << ChoiceText(field, s);
        return names.join(QLatin1Char(','));
    }
    case FieldKind::Tactics: {
        QStringList levels;
        for (const int l : value.list)
            levels << QString::number(l);
        return levels.join(QLatin1Char(','));
    }
    case FieldKind::Number:
        return NumberText(field, value.number);
    case FieldKind::Flag:
        break;
    }
    return QString::number(value.number);
}

}  // namespace varkel
