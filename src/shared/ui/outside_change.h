#pragma once

#include "shared/session.h"

#include <functional>

namespace varkel {

enum class OutsideChange { Overwrite, SaveElsewhere, Cancel };

// Before a save over `path`: when another program (usually the game) changed or
// removed the file since it was read, says which and asks whether to write it
// there anyway, save under another name or not save; Enter does not save. Overwrite
// when the file is as it was read. A file that only makes sense where it is (the
// game's own data) is not offered a new name.
OutsideChange AskAboutOutsideChange(Session& session, const QString& path, bool offerSaveElsewhere = true);

// Asks as above before `write` saves over `path`; "save elsewhere" runs `saveAs`
// instead and "don't save" neither. True when the file was saved.
bool SaveAskingAboutOutsideChange(Session& session, const QString& path, const std::function<bool()>& write,
                                  const std::function<bool()>& saveAs);

}  // namespace varkel
