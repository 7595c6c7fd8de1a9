#pragma once

#include "shared/runtime_error.h"
#include "shared/seams.h"
#include "shared/ui/number_boxes.h"

#include <QWidget>

#include <optional>

namespace varkel {

// The Apply of a view whose record has a text stored beside it (a biography):
// `collect(r, clamped)` reads the view into `r`, then `store(r)` keeps it, the
// text last as the last thing that can be refused. A refusal (a FieldProblem) is
// told, its box in `view` gets the focus, nothing is stored and the result is
// false; once stored, the clamped boxes show what was stored.
template <typename Record, typename Collect, typename Store>
bool StoreCollected(Prompter& prompter, QWidget& view, const NumberBoxes<Record>& numbers, Collect collect, Store store)
{
    Record r;
    typename NumberBoxes<Record>::Clamped clamped;
    std::optional<FieldProblem> problem = collect(r, &clamped);
    if (!problem)
        problem = store(r);
    if (problem) {
        prompter.tell(problem->message, kErrorTitle, MessageIcon::Critical);
        if (!numbers.focus(problem->control))
            if (auto* box = view.findChild<QWidget*>(problem->control))
                box->setFocus();
        return false;
    }
    numbers.showClamped(clamped);
    return true;
}

}  // namespace varkel
