#pragma once

#include "shared/file_store.h"
#include "shared/record_kind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace varkel::cli {

enum class FileType { SavedGame, SystemSave, Scenario, Notes, Biographies, PictureBank, Unknown };

// What a game file is, by its name and then its size.
FileType TypeOf(const QString& path, qint64 size);
QString TypeName(FileType type);

// A file read whole for the command line, with the record kinds it holds. The
// kinds are bound to `bytes`, so a GameFile stays where it was made.
struct GameFile {
    GameFile() = default;
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    QString path;
    FileType type = FileType::Unknown;
    QByteArray bytes;
    std::vector<std::unique_ptr<RecordKind>> kinds;  // the first is the default for dump

    RecordKind* kind(const QString& name);  // by --records name or a record's "kind"
};

// Names that live beside the file in the game folder.
struct GameContext {
    QStringList cityNames;  // empty when no scenario file was found
};

// The game folder to take names from: `chosen`, else the editor's configured one;
// empty when neither holds "d_sce.vk".
QString GameFolderFor(const QString& chosen, const QString& programFolder);
GameContext ReadContext(const QString& gameFolder);

// Reads `path` and binds its record kinds; the error names the file when it fails.
std::unique_ptr<GameFile> OpenGameFile(FileStore& store, const QString& path, const GameContext& context,
                                     QString* error);

}  // namespace varkel::cli
