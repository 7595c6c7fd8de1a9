#include "shared/ui/pickers.h"

#include "shared/ui/form2.h"
#include "shared/ui/form5.h"

namespace varkel {

Picker ProgramPickers(Session& session)
{
    return [&session](PickerKind kind, int current, QWidget* parent) {
        return kind == PickerKind::Face ? Form2::getFace(session, current, parent)
                                        : Form5::getOfficer(session, current, parent);
    };
}

std::optional<int> Pick(const Picker& picker, PickerKind kind, int current, QWidget* parent)
{
    return picker ? picker(kind, current, parent) : std::nullopt;
}

}  // namespace varkel
