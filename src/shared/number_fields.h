#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace varkel {

// What a field of a record holds, and so how it is shown, typed and stored.
enum class FieldKind {
    Number,   // a number box
    Name,     // a name of double-byte characters
    Choice,   // a code shown as the text of a list
    Flag,     // 0 or 1
    Skills,   // the set of skills held, as skill indices
    Tactics,  // one level per tactic
};

// A value of any field: `number` for numbers, codes and flags, `text` for names,
// `list` for skills and tactics. `absent` marks a field that a record of a mixed
// table does not have.
struct FieldValue {
    int number = 0;
    QString text;
    std::vector<int> list;
    bool absent = false;
    bool operator==(const FieldValue&) const = default;
};

// One field of a record kind: its names, limits and list texts. The record's view,
// the command line and the tests all read and write a record through its table.
struct FieldSpec {
    QString key;      // snake_case English name, as the command line and JSON use it
    QString label;    // the caption; names the field in messages
    FieldKind kind = FieldKind::Number;
    QString control;  // the view's number box, e.g. "Text3(0)"; empty when the view shows it otherwise
    int maxDigits = 0;
    std::optional<int> lower;
    std::optional<int> upper;
    int storableMax = 0;  // a larger number is refused, not clamped
    bool halves = false;  // the number counts half units: 15 is shown and typed as "7.5"; limits are in halves
    int capacity = 0;     // a name's characters
    bool lineBreaks = false;  // a name of several lines (a biography): its line breaks are allowed and not counted
    QStringList items;    // Choice: the text of each code; Skills: skill names; Tactics: level texts
    bool readOnly = false;
    bool perRecord = true;  // false for a value the view edits with the record but that belongs to the file
};

// How one field is read from and written to a decoded record.
template <typename Record>
struct RecordField : FieldSpec {
    std::function<FieldValue(const Record&)> get;         // empty for a value the view works out
    std::function<void(Record&, const FieldValue&)> set;  // empty for a value that is never stored
};

// `number` as the field shows it: "7.5" for 15 halves.
QString NumberText(const FieldSpec& field, int number);

// The text the number box of `field` shows for `record`.
template <typename Record>
QString NumberBoxText(const RecordField<Record>& field, const Record& record)
{
    return NumberText(field, field.get(record).number);
}

// Why a record cannot be stored: the field at fault (its box in the view) and a
// message naming it.
struct FieldProblem {
    QString control;
    QString message;
    // The window's words where `message` is the command line's (English); empty
    // where `message` is already what a window shows.
    QString reason = {};

    QString shown() const { return reason.isEmpty() ? message : reason; }
};

// The value of one number box after its limits, or the problem with it.
struct NumberReading {
    int value = 0;
    bool clamped = false;
    std::optional<FieldProblem> problem;
};

// What a number above the most its field can store becomes: refused, as a view's
// box refuses it, or, as the command line's set takes it, that most, reported as
// clamped (one rule with the field's own limits there). Clamping is for amounts
// typed in a box only: a number that names a record or a list entry (an owner, a
// rank picked from a list) would name another, so it is refused either way.
enum class BeyondStorable { Refuse, Clamp };

// Reads `text` for `field`: empty or non-numeric text (for a field of halves, text
// that is no whole or half number) and values above what the record can hold are
// problems (unless `beyond` clamps them); values beyond the limits are clamped.
NumberReading ReadNumber(const QString& control, const QString& label, const QString& text, std::optional<int> lower,
                         std::optional<int> upper, int storableMax);
NumberReading ReadNumber(const FieldSpec& field, const QString& text, BeyondStorable beyond = BeyondStorable::Refuse);

// The most units a number read from text may count: what a field's value holds.
// A larger one is refused as too large before anything is worked out from it, so
// a batch's sums and shares of values and such amounts stay inside a qlonglong.
inline constexpr qlonglong kMostUnits = std::numeric_limits<int>::max();

// A count of a field's units read from text.
struct UnitsReading {
    std::optional<qlonglong> units;  // nothing when the text is no count or too large
    bool tooLarge = false;           // digits, but counting more than kMostUnits

    bool isNumber() const { return units || tooLarge; }
};

// A whole number of digits, or with `halves` also one ending in ".5" (or ".0"),
// as a count of the field's units, its range checked before it is doubled.
UnitsReading ReadUnits(const QString& text, bool halves);

// What follows a field's name in the message refusing `typed`, a number that
// counts more than kMostUnits: 的「99999999999」太大，最多2147483647。
QString TooLargeDetail(const QString& typed, bool halves);

// A message naming a field that cannot be stored, under the program's write-error text.
QString FieldProblemMessage(const QString& label, const QString& detail);

// Reads a value typed for `field` as the views accept it: numbers within what the
// record holds (clamped to the field's limits, `clamped` says so), names of
// double-byte characters up to the field's capacity, a code or its text for a
// list, 0/1 for a flag, skill names (or indices) separated by commas, and one level
// per tactic. A value that cannot be stored gives the problem instead.
std::optional<FieldValue> ParseFieldValue(const FieldSpec& field, const QString& typed, FieldProblem* problem,
                                          bool* clamped = nullptr, BeyondStorable beyond = BeyondStorable::Refuse);
// `value` as ParseFieldValue reads it back.
QString FieldValueText(const FieldSpec& field, const FieldValue& value);
// The text of a code of a Choice field, or the raw number for one outside its list.
QString ChoiceText(const FieldSpec& field, int code);

// Reads every editable number box of `fields` (those with a control) through
// `textOf` into `record`; a box still showing the record's value is left out, so
// the stored value stays even where it lies beyond the field's limits (a user who
// did not change a box changes no byte). Either every box is valid and the record holds the
// clamped values (`shown` gets the text each clamped box must show), or nothing in
// the record changes and the first problem comes back.
template <typename Record>
std::optional<FieldProblem> ReadNumberFields(const std::vector<RecordField<Record>>& fields,
                                             const std::function<QString(const QString&)>& textOf, Record& record,
                                             std::vector<std::pair<QString, QString>>* shown = nullptr)
{
    Record updated = record;
    std::vector<std::pair<QString, QString>> clampedTexts;
    for (const RecordField<Record>& f : fields) {
        if (f.kind != FieldKind::Number || f.control.isEmpty() || f.readOnly || !f.set)
            continue;
        const QString text = textOf(f.control);
        if (f.get && text == NumberBoxText(f, record))
            continue;
        const NumberReading r = ReadNumber(f, text);
        if (r.problem)
            return r.problem;
        f.set(updated, FieldValue{r.value, {}, {}});
        if (r.clamped)
            clampedTexts.emplace_back(f.control, NumberText(f, r.value));
    }
    record = updated;
    if (shown)
        *shown = std::move(clampedTexts);
    return std::nullopt;
}

}  // namespace varkel
