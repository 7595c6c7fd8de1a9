#pragma once

#include "shared/session.h"
#include "shared/ui/start_window.h"
#include "shared/ui/when_shown.h"

#include <functional>
#include <memory>

namespace varkel {

struct StartUpOptions {
    QString programFolder;  // the folder of the running program
    QString gameFolder;     // a game folder chosen for this run; empty to use the settings
};

// The start-up of the program after the single-instance check: the wheel guard
// of every window, the settings file, the game folder (asked for when the
// remembered one is missing), the picture banks, and the start window. `session`
// must already hold its prompter, file dialogs and temporary folder. Null when the
// user cancelled the folder search, which ends the program.
std::unique_ptr<StartWindow> StartUp(Session& session, const StartUpOptions& options);

}  // namespace varkel
