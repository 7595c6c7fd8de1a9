#pragma once

#include "shared/file_store.h"
#include "shared/record_kind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace varkel::cli {

enum class FileType { SavedGame, SystemSave, Scenario, Notes, Biographies, PictureBank, Unknown };

// What a game file is, by its name and then its size.
FileType TypeOf(const QString& path, qint64 size);
QString TypeName(FileType type);
// The sizes a file of `type` has where the editor opens it, for what may be put
// back over one; nothing for the files the editor never writes.
std::optional<SizeRange> SizesOf(FileType type);

// The bytes of one file as the command line holds them: changed in memory, and
// written back (atomically, after a backup) only when they changed.
struct HeldFile {
    QString path;
    QByteArray bytes;
    QByteArray asRead;
    bool keepTail = false;  // the editor owns only the file's start; a longer file keeps the rest

    bool changed() const { return bytes != asRead; }
};

// A file read whole for the command line, with the record kinds it holds. The
// kinds are bound to `bytes` and to the companions' bytes, so a GameFile stays
// where it was made.
struct GameFile : HeldFile {
    GameFile() = default;
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    FileType type = FileType::Unknown;
    std::vector<std::unique_ptr<RecordKind>> kinds;  // the first is the default for dump
    // Other files the kinds read and write records of (the scenario file, for the
    // treasures of a saved game; the biography file, for a system save); a save
    // writes each one that changed.
    std::vector<std::unique_ptr<HeldFile>> companions;
    // What the kinds leave out because a file beside this one could not be read
    // (the biographies of a system save), one line each.
    QStringList notes;

    RecordKind* kind(const QString& name);  // by --records name or a record's "kind"
};

// What lives beside the file in the game folder.
struct GameContext {
    QStringList cityNames;   // empty when no scenario file was found
    QStringList courtRanks;  // the 32 court ranks of the force records; empty as the city names are
    QString scenarioPath;    // the game folder's "d_sce.vk", read when it could be
    std::optional<QByteArray> scenario;
    QStringList treasureNotes;  // the 80 notes of "m_msg.vk"; empty when it is missing
};

// Which player slot's records a saved game shows besides the rest: the intimacy
// levels of that slot's officer, toward the officers the person map names or
// (special) toward the seven special persons. Without a slot there are none.
struct SlotChoice {
    std::optional<int> slot;
    bool special = false;
};

// The game folder to take names from: `chosen`, else the editor's configured one;
// empty when neither holds "d_sce.vk".
QString GameFolderFor(const QString& chosen, const QString& programFolder);
// Reads the scenario file through `store` (so it can be written back) and the
// notes of `gameFolder`; nothing when the folder is empty.
GameContext ReadContext(FileStore& store, const QString& gameFolder);

// Reads `path` and binds its record kinds; the error names the file when it fails.
std::unique_ptr<GameFile> OpenGameFile(FileStore& store, const QString& path, const GameContext& context,
                                       const SlotChoice& slot, QString* error);

}  // namespace varkel::cli
