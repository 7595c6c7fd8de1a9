#pragma once

#include "shared/session.h"

namespace varkel {

enum class OutsideChange { Overwrite, SaveElsewhere, Cancel };

// Before a save over `path`: when another program (usually the game) changed the
// file since it was read, asks whether to overwrite it, save under another name or
// not save. Overwrite when the file is as it was read. A file that only makes
// sense where it is (the game's own data) is not offered a new name.
OutsideChange AskAboutOutsideChange(Session& session, const QString& path, bool offerSaveElsewhere = true);

}  // namespace varkel
