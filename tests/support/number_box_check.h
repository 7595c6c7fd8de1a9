#pragma once

#include "shared/number_fields.h"
#include "shared/seams.h"
#include "support/typing.h"

#include <QLineEdit>
#include <QTest>

#include <functional>
#include <vector>

namespace varkel::test {

// The highest value a box of `field` takes, and the step a user types past it
// by: one, or a whole year for a field of halves.
inline int Highest(const FieldSpec& field)
{
    return field.upper.value_or(field.storableMax);
}
inline int Step(const FieldSpec& field)
{
    return field.halves ? 2 : 1;
}

// Whether the number box of `field` takes typing and lets one type past its
// highest value (a box of two digits for a word does not).
inline bool TypesPastItsLimit(const FieldSpec& field)
{
    return field.kind == FieldKind::Number && !field.control.isEmpty() && !field.readOnly &&
           NumberText(field, Highest(field) + Step(field)).size() <= field.maxDigits;
}

// A row named by its key for each field of `fields` whose box CheckNumberBox checks.
template <typename Record>
void AddNumberBoxRows(const std::vector<RecordField<Record>>& fields)
{
    QTest::addColumn<QString>("key");
    for (const auto& f : fields)
        if (TypesPastItsLimit(f))
            QTest::newRow(qPrintable(f.key)) << f.key;
}

// Checks the number box of `field` as a user meets it: it shows the field of the
// stored record, a value typed within the limits is stored, one typed past a limit
// is clamped to it (the box then shows the limit) and, for a field with no upper
// limit, one past what the record holds is refused with a message naming the
// field. `stored` decodes the shown record from the document; `apply` clicks Apply.
template <typename Record>
void CheckNumberBox(QLineEdit* box, const RecordField<Record>& field, const std::function<Record()>& stored,
                    const std::function<void()>& apply, const ScriptedPrompter& prompter)
{
    const auto value = [&] { return field.get(stored()).number; };
    QCOMPARE(box->text(), NumberBoxText(field, stored()));
    const int step = Step(field);
    const int highest = Highest(field);
    const int within = value() == highest - step ? highest - 2 * step : highest - step;
    Retype(box, NumberText(field, within));
    apply();
    QVERIFY(prompter.shown.empty());
    QCOMPARE(value(), within);

    struct Past {
        int typed;
        int stored;  // -1: refused
    };
    std::vector<Past> past;
    if (field.lower)
        past.push_back({*field.lower - step, *field.lower});
    past.push_back({highest + step, field.upper ? highest : -1});
    for (const Past& p : past) {
        Retype(box, NumberText(field, p.typed));
        apply();
        if (p.stored < 0) {
            QCOMPARE(prompter.shown.size(), std::size_t(1));
            QVERIFY2(prompter.shown[0].text.contains(field.label), qPrintable(prompter.shown[0].text));
            QCOMPARE(value(), within);
            return;
        }
        QVERIFY(prompter.shown.empty());
        QCOMPARE(box->text(), NumberText(field, p.stored));
        QCOMPARE(value(), p.stored);
    }
}

}  // namespace varkel::test
