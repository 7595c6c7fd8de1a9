#pragma once

#include "saveeditor/game_folder_files.h"
#include "saveeditor/save_file.h"
#include "shared/session.h"

#include <optional>

namespace varkel {

// A saved game read whole, aside from the one open, to be opened: refusals are
// reported (text `missingText` for a file that is not there), and a file that
// does not look like a saved game is asked about first. None when it is not to
// be opened.
std::optional<SaveGame> ReadSaveToOpen(Session& session, const QString& path, qint64 minimumSize, int missingText);

// The newest save slot of the game folder, as the editor opens at start; none,
// having said why, when there is none or it is not to be opened.
std::optional<SaveGame> ReadNewestSave(Session& session);

// The game folder's scenario file, read to open beside a save; none, having said
// why, when it is missing. A short one reads as zeros beyond its end.
std::optional<ScenarioData> ReadScenarioToOpen(Session& session);

}  // namespace varkel
