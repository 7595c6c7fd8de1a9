#pragma once

#include "shared/runtime_error.h"
#include "shared/session.h"

class QLabel;

namespace varkel {

// Shows "number-description" with the critical icon and the title "Varkel-Error".
void ShowRuntimeError(Prompter& prompter, const RuntimeError& error);

// Writes face `n` to the temporary face bitmap and shows it in `picture`. `n` is
// wrapped in place. A bitmap that cannot be written is reported and ends the
// program, since no window can show a face after that.
void ShowFace(Session& session, QLabel* picture, int& n);

// Applies the Traditional Chinese CJK font to the application.
void UseChineseFont();

}  // namespace varkel
