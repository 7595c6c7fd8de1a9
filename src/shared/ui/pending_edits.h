#pragma once

#include "shared/seams.h"

#include <functional>

class QListWidget;
class QWidget;

namespace varkel {

// The edits a window holds typed but not yet applied, as the window it covers
// asks about them (before undo or a batch reads its record again, before a save).
struct PendingEdits {
    std::function<bool()> held;    // whether there are any
    std::function<bool()> apply;   // false when refused (and said why)
    std::function<void()> reread;  // shows what is stored again
};

// Before the user leaves a record whose view holds edits not yet applied (a list
// click, a search, a mode or file change, closing): asks whether to apply them,
// discard them or stay. True when the view may be left: nothing was typed, the
// edits were applied, or the user discarded them. A refused apply (which has
// said why) stays.
bool MayLeaveRecord(Prompter& prompter, bool viewDiffers, const std::function<bool()>& apply);

// Before a save: asks the same question about edits typed but not applied. "Apply"
// applies them and the save goes on; "discard" shows what is stored again
// (`reread`) and the save goes on without them; "stay" stops the save, as does
// an apply that was refused (and said why). True when the save may go on.
bool MaySaveWithPendingEdits(Prompter& prompter, bool viewDiffers, const std::function<bool()>& apply,
                             const std::function<void()>& reread);

// The two questions above about the `edits` of a window; `applied` tells whether
// they were applied. Nothing held (or no window) asks nothing.
bool MayLeaveRecord(Prompter& prompter, const PendingEdits& edits, bool* applied = nullptr);
bool MaySaveWithPendingEdits(Prompter& prompter, const PendingEdits& edits);

// Calls `edited` after each edit the user makes in a control of `view` (typed,
// chosen, ticked or clicked), so a window can offer Save for edits not yet applied.
void WatchUserEdits(QWidget& view, const std::function<void()>& edited);

// A list of records beside the view of one: the list moved to `row` while the
// view shows `shownRow` (-1: none). True when `row` may be shown: the view shows
// it or nothing, or the `edits` of the record shown were applied or discarded. On
// "stay" the list goes back to `shownRow` without telling its handlers, now and
// once more after the event that moved it (a mouse click may still select the
// row it chose), and its boxes keep what was typed.
bool MayMoveList(QListWidget& list, int row, int shownRow, Prompter& prompter, const PendingEdits& edits);

// The question asked, so tests can tell it from the others.
extern const char* const kPendingEditsQuestion;

}  // namespace varkel
