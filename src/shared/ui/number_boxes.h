#pragma once

#include "shared/field_table.h"
#include "shared/number_fields.h"
#include "shared/ui/combo_values.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace varkel {

// Makes `box` wide enough for `chars` characters: digits, or double-byte
// characters when `doubleByte`.
void FitBoxWidth(QLineEdit* box, int chars, bool doubleByte);

// A number box for `field`: named by its control, digits only, as wide as its digits.
QLineEdit* MakeNumberBox(const FieldSpec& field, QWidget* parent);

// How the views lay out a group of boxes: box `i` and its caption in `grid`,
// `perRow` to a row, each caption right-aligned before its box.
void PlaceInGrid(QGridLayout& grid, QLabel* caption, QLineEdit* box, int i, int perRow);
// List `k` of choices with its caption, two to a row from `firstRow` on, each
// list three columns wide.
void PlaceChoiceInGrid(QGridLayout& grid, QLabel* caption, QComboBox* list, int k, int firstRow);
// A lifespan box wide enough for half a year more ("3.5").
void FitLifespanBox(QLineEdit* box);

// The number boxes of a view, one for each number field of its record's table
// that has a box: built with the field's name, caption and input length, filled
// from a record and read back into one through the table's limits.
template <typename Record>
class NumberBoxes {
public:
    using Field = RecordField<Record>;
    // Puts a field's box and its caption into the view.
    using Place = std::function<void(const Field& field, QLabel* caption, QLineEdit* box)>;

    NumberBoxes(const std::vector<Field>& fields, QWidget* parent, const Place& place) : fields_(fields)
    {
        for (const Field& field : fields_) {
            if (field.kind != FieldKind::Number || field.control.isEmpty())
                continue;
            QLineEdit* box = MakeNumberBox(field, parent);
            box->setReadOnly(field.readOnly || !field.set);
            boxes_[field.control] = box;
            place(field, new QLabel(field.label, parent), box);
        }
    }

    QLineEdit* box(const QString& control) const { return boxes_.at(control); }

    void show(const Record& r) const
    {
        for (const Field& field : fields_)
            if (const auto it = boxes_.find(field.control); it != boxes_.end() && field.get)
                it->second->setText(NumberBoxText(field, r));
    }

    // What each clamped box must show once the record is stored: control, text.
    using Clamped = std::vector<std::pair<QString, QString>>;

    // Reads every box into `r` (unchanged when a box is refused, whose problem
    // is given). Nothing on screen changes: the texts of clamped boxes go to
    // `clamped`, for showClamped() once the record is stored.
    std::optional<FieldProblem> collect(Record& r, Clamped* clamped = nullptr) const
    {
        return ReadNumberFields(fields_, [this](const QString& control) { return box(control)->text(); }, r, clamped);
    }

    void showClamped(const Clamped& clamped) const
    {
        for (const auto& [control, text] : clamped)
            box(control)->setText(text);
    }

    // A refused box gets the focus with its text selected; false for a control
    // that is none of these boxes.
    bool focus(const QString& control) const
    {
        if (const auto it = boxes_.find(control); it != boxes_.end()) {
            it->second->setFocus();
            it->second->selectAll();
            return true;
        }
        return false;
    }

private:
    const std::vector<Field>& fields_;
    std::map<QString, QLineEdit*> boxes_;
};

// The lists of a view for the choice fields `keys` of its record's table, filled
// with the field's texts. A stored code outside the list shows as an extra item
// with its number and is kept while the list stays on it.
template <typename Record>
class ChoiceLists {
public:
    using Field = RecordField<Record>;

    ChoiceLists(const std::vector<Field>& fields, const std::vector<QString>& keys) : fields_(fields)
    {
        for (const QString& key : keys)
            chosen_.push_back(&FieldWithKey(fields_, key));
    }

    // The list for keys[i], named `name`, in `parent`.
    QComboBox* make(std::size_t i, const QString& name, QWidget* parent)
    {
        auto* combo = new QComboBox(parent);
        combo->setObjectName(name);
        FillList(combo, chosen_[i]->items);
        lists_.push_back(combo);
        return combo;
    }
    const Field& field(std::size_t i) const { return *chosen_[i]; }

    void show(const Record& r) const
    {
        for (std::size_t i = 0; i < lists_.size(); ++i) {
            const int code = chosen_[i]->get(r).number;
            SelectListIndex(lists_[i], int(chosen_[i]->items.size()), code, code);
        }
    }

    void read(Record& r) const
    {
        for (std::size_t i = 0; i < lists_.size(); ++i)
            if (!ShowsRawValue(lists_[i], int(chosen_[i]->items.size())))
                chosen_[i]->set(r, FieldValue{lists_[i]->currentIndex(), {}, {}});
    }

private:
    const std::vector<Field>& fields_;
    std::vector<const Field*> chosen_;
    std::vector<QComboBox*> lists_;
};

}  // namespace varkel
