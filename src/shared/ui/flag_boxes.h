#pragma once

#include "shared/number_fields.h"

#include <QCheckBox>

#include <map>
#include <vector>

namespace varkel {

// The tick boxes of a view, one for each flag field of its record's table that
// names a control: built with the field's control name and caption, ticked from a
// record and read back into one.
template <typename Record>
class FlagBoxes {
public:
    using Field = RecordField<Record>;

    FlagBoxes(const std::vector<Field>& fields, QWidget* parent) : fields_(fields)
    {
        for (const Field& field : fields_) {
            if (field.kind != FieldKind::Flag || field.control.isEmpty())
                continue;
            auto* box = new QCheckBox(field.label, parent);
            box->setObjectName(field.control);
            boxes_[field.control] = box;
        }
    }

    QCheckBox* box(const QString& control) const { return boxes_.at(control); }

    void show(const Record& r) const
    {
        for (const auto& [field, box] : pairs())
            box->setChecked(field->get(r).number != 0);
    }

    void read(Record& r) const
    {
        for (const auto& [field, box] : pairs())
            field->set(r, FieldValue{box->isChecked() ? 1 : 0, {}, {}});
    }

private:
    std::vector<std::pair<const Field*, QCheckBox*>> pairs() const
    {
        std::vector<std::pair<const Field*, QCheckBox*>> found;
        for (const Field& field : fields_)
            if (const auto it = boxes_.find(field.control); it != boxes_.end() && field.kind == FieldKind::Flag)
                found.emplace_back(&field, it->second);
        return found;
    }

    const std::vector<Field>& fields_;
    std::map<QString, QCheckBox*> boxes_;
};

}  // namespace varkel
