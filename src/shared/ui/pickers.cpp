#include "shared/ui/pickers.h"

#include "shared/ui/form2.h"
#include "shared/ui/form5.h"
#include "shared/ui/window_geometry.h"

namespace varkel {

QDialog* MakePicker(const QString& form, Session& session, QWidget* parent)
{
    QDialog* picker = nullptr;
    if (form == QLatin1String("Form2"))
        picker = new Form2(session, parent);
    else if (form == QLatin1String("Form5"))
        picker = new Form5(session, parent);
    if (picker)
        KeepWindowGeometry(*picker, session);
    return picker;
}

bool RunPicker(const PickerFactory& factory, const QString& form, Session& session, QWidget* parent)
{
    QDialog* picker = factory ? factory(form, session, parent) : nullptr;
    if (!picker)
        return false;
    picker->exec();
    delete picker;
    return true;
}

}  // namespace varkel
