#include "shared/ui/pickers.h"

#include "shared/ui/face_picker.h"
#include "shared/ui/officer_picker.h"

namespace varkel {

Picker ProgramPickers(Session& session)
{
    return [&session](PickerKind kind, int current, QWidget* parent) {
        return kind == PickerKind::Face ? FacePicker::getFace(session, current, parent)
                                        : OfficerPicker::getOfficer(session, current, parent);
    };
}

std::optional<int> Pick(const Picker& picker, PickerKind kind, int current, QWidget* parent)
{
    return picker ? picker(kind, current, parent) : std::nullopt;
}

}  // namespace varkel
