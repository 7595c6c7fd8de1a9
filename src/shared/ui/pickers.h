#pragma once

#include "shared/session.h"

#include <functional>

class QDialog;
class QString;
class QWidget;

namespace varkel {

// The pickers the editors open as the program has them: "Form2" (faces) and
// "Form5" (officers); nullptr for any other name. Editors take a factory of this
// shape so that tests can put a scripted picker in.
QDialog* MakePicker(const QString& form, Session& session, QWidget* parent);

using PickerFactory = std::function<QDialog*(const QString& form, Session& session, QWidget* parent)>;

// Shows the picker `form` from `factory` modally; false when there is none.
bool RunPicker(const PickerFactory& factory, const QString& form, Session& session, QWidget* parent);

}  // namespace varkel
