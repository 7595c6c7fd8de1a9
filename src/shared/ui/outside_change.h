#pragma once

#include "shared/session.h"

namespace varkel {

enum class OutsideChange { Overwrite, SaveElsewhere, Cancel };

// Before a save over `path`: when another program (usually the game) changed the
// file since it was read, asks whether to overwrite it, save under another name or
// not save. Overwrite when the file is as it was read.
OutsideChange AskAboutOutsideChange(Session& session, const QString& path);

}  // namespace varkel
