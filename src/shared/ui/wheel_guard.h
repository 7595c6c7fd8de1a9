#pragma once

namespace varkel {

// The mouse wheel changes a list or number box (a combo box, spin box or slider)
// only while the box has the keyboard. Over any other such box the wheel scrolls
// what holds it, as over a label, so turning the wheel to scroll a view never
// changes a value that slides under the pointer. The wheel no longer gives these
// boxes the keyboard either; a click or Tab does. Lists that scroll keep the
// wheel. Installed once for the whole program; it covers every window, including
// those opened later.
void GuardValuesFromTheWheel();

}  // namespace varkel
