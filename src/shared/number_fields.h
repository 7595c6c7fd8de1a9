#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace varkel {

// A number box of a record view: where it is, what it is called, how many digits
// can be typed, the limits its value is clamped to, and the largest value the
// record can hold (a larger one is refused, not clamped).
template <typename Record>
struct NumberField {
    QString control;   // objectName, e.g. "Text3(0)"
    QString label;     // caption, also names the field in messages
    int maxDigits = 0;
    std::optional<int> lower;
    std::optional<int> upper;
    int storableMax = 0;
    std::function<int&(Record&)> value;  // empty for a box that is only shown
};

// Why a view cannot be stored: the box at fault and a message naming it.
struct FieldProblem {
    QString control;
    QString message;
};

// The value of one number box after its limits, or the problem with it.
struct NumberReading {
    int value = 0;
    bool clamped = false;
    std::optional<FieldProblem> problem;
};

// Reads `text` for `field`: empty or non-numeric text and values above what the
// record can hold are problems; values beyond the limits are clamped.
NumberReading ReadNumber(const QString& control, const QString& label, const QString& text, std::optional<int> lower,
                         std::optional<int> upper, int storableMax);

// A message naming a field that cannot be stored, under the program's write-error text.
QString FieldProblemMessage(const QString& label, const QString& detail);

// Reads every stored box of `fields` through `textOf` into `record`. Either every
// box is valid and the record holds the clamped values (`shown` gets the text each
// clamped box must show), or nothing in the record changes and the first problem
// comes back.
template <typename Record>
std::optional<FieldProblem> ReadNumberFields(const std::vector<NumberField<Record>>& fields,
                                             const std::function<QString(const QString&)>& textOf, Record& record,
                                             std::vector<std::pair<QString, QString>>* shown = nullptr)
{
    Record updated = record;
    std::vector<std::pair<QString, QString>> clampedTexts;
    for (const NumberField<Record>& f : fields) {
        if (!f.value)
            continue;
        const NumberReading r = ReadNumber(f.control, f.label, textOf(f.control), f.lower, f.upper, f.storableMax);
        if (r.problem)
            return r.problem;
        f.value(updated) = r.value;
        if (r.clamped)
            clampedTexts.emplace_back(f.control, QString::number(r.value));
    }
    record = updated;
    if (shown)
        *shown = std::move(clampedTexts);
    return std::nullopt;
}

}  // namespace varkel
