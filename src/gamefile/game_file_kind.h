#pragma once

#include "shared/backup_index.h"

#include <QString>

#include <optional>

namespace varkel {

// What a file of the game folder is. The windows and the command line tell it
// the same way: by the file's name, then by its size.
enum class GameFileKind { SavedGame, SystemSave, Scenario, Notes, Biographies, PictureBank, Unknown };

GameFileKind GameFileKindOf(const QString& path, qint64 size);
// The same for the file at `path` as it is on disk now (a missing file is empty).
GameFileKind GameFileKindOf(const QString& path);
// The kind's name in the command line's English: "saved game".
QString GameFileKindName(GameFileKind kind);
// The sizes a file of `kind` has where the editor opens it, for what may be put
// back over one; nothing for the files the editor never writes.
std::optional<SizeRange> GameFileSizes(GameFileKind kind);

}  // namespace varkel
