#pragma once

#include <functional>

namespace varkel {

// Runs `then` from a zero-timer once every shown window is exposed and the event
// loop has nothing left to do: work that can wait until the user sees a window. A
// window the platform has not exposed yet is waited for.
void WhenShown(std::function<void()> then);

// For timing the start-up from outside: quits once the windows are shown, after
// copying /proc/self/smaps_rollup to $VARKEL_SHOWN_MEMORY_REPORT when it is set.
void QuitWhenShown();

}  // namespace varkel
