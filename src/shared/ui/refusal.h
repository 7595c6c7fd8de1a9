#pragma once

#include "shared/number_fields.h"
#include "shared/runtime_error.h"
#include "shared/seams.h"
#include "shared/ui/number_boxes.h"

#include <QWidget>

namespace varkel {

// Tells the user why an Apply of `view` was refused, in the window's words, and
// puts the focus on the control at fault: a box of `numbers`, else the control of
// `view` the problem names.
template <typename Record>
void ShowRefusal(Prompter& prompter, QWidget& view, const NumberBoxes<Record>& numbers, const FieldProblem& problem)
{
    prompter.tell(problem.shown(), kErrorTitle, MessageIcon::Critical);
    if (problem.control.isEmpty() || numbers.focus(problem.control))
        return;
    if (auto* control = view.findChild<QWidget*>(problem.control))
        control->setFocus();
}

}  // namespace varkel
