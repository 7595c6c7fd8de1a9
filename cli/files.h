#pragma once

#include "gamefile/game_file.h"
#include "options.h"
#include "shared/file_store.h"

#include <QString>

#include <iosfwd>
#include <memory>
#include <string>

namespace varkel::cli {

// The game folder to take names from: `chosen`, else the editor's configured one;
// empty when neither holds "d_sce.vk".
QString GameFolderFor(const QString& chosen, const QString& programFolder);

// The store a command reads and writes through: the editor's backup folder, kept
// within the limits of the editor's settings. What it has to say about backups
// goes to `err` as it happens; a write without a backup takes --no-backup.
FileStore WritingStore(const Options& options, std::ostream& err);

// Reads `path` through `files` as the command line opens a game file: a saved
// game with the names of its game folder (noted on `err` when none is found and
// `namesNeeded`), refused when it does not look like one unless --force is given,
// and when it holds no records. Nothing when refused, having said why.
std::unique_ptr<GameFile> OpenGameFile(FileStore& files, const QString& path, const Options& options,
                                       std::ostream& err, bool namesNeeded);

// Why `bytes` taken for a file of `kind` are none, as the windows ask before
// opening one; empty when they can be one.
QString Unlikeness(GameFileKind kind, const QByteArray& bytes);

// Prints `report` (what an edit changed), then writes every file whose bytes it
// changed through `files`, the store that read them, with the editor's atomic save
// and backup. --output takes the file named on the command line only, so an edit
// that changes a companion file refuses it.
int StoreEdit(FileStore& files, const GameFile& file, const Options& options, const std::string& report,
              std::ostream& out, std::ostream& err);

}  // namespace varkel::cli
