#pragma once

#include "shared/session.h"

#include <functional>
#include <optional>

class QWidget;

namespace varkel {

// The two pickers the editors open: faces ("Form2") and officers ("Form5").
enum class PickerKind { Face, Officer };

// Opens picker `kind` modally on `current` (the face shown, or the officer shown,
// 1720 for none) and gives the number picked, or nothing when it was cancelled.
// Editors hold one so that tests can script the pickers; an empty one opens nothing.
using Picker = std::function<std::optional<int>(PickerKind kind, int current, QWidget* parent)>;

// The program's own pickers, FacePicker and OfficerPicker, showing `session`'s banks and officers.
Picker ProgramPickers(Session& session);

// Runs `picker`; nothing when there is none.
std::optional<int> Pick(const Picker& picker, PickerKind kind, int current, QWidget* parent);

}  // namespace varkel
