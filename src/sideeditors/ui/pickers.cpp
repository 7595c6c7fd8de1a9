#include "sideeditors/ui/pickers.h"

#include "sideeditors/ui/form2.h"
#include "sideeditors/ui/form5.h"

namespace varkel {

QDialog* MakePicker(const QString& form, Session& session, QWidget* parent)
{
    if (form == QLatin1String("Form2"))
        return new Form2(session, parent);
    if (form == QLatin1String("Form5"))
        return new Form5(session, parent);
    return nullptr;
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
