#pragma once

#include "gamefile/game_file_kind.h"
#include "saveeditor/game_folder_files.h"
#include "shared/file_compare.h"
#include "shared/file_store.h"
#include "shared/record_kind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace varkel {

// The bytes of one file as they were read and as they are now: changed in
// memory, and written back only when they changed.
struct HeldFile {
    QString path;
    QByteArray bytes;
    QByteArray asRead;
    bool keepTail = false;  // the editor owns only the file's start; a longer file keeps the rest

    bool changed() const { return bytes != asRead; }
};

// Which player slot's records a saved game shows besides the rest: the intimacy
// levels of that slot's officer, toward the officers the person map names or
// (special) toward the seven special persons. Without a slot there are none.
struct SlotChoice {
    std::optional<int> slot;
    bool special = false;
};

// Why the changed files were not all written.
struct WriteFailure {
    QString path;         // the file not written
    QString why;          // in English
    QStringList written;  // the files written before it
};

// One open game file: its kind, its bytes as read, the files beside it that its
// records live in too (the scenario file for the treasures of a saved game, the
// biography file for a system save), and its record kinds bound to all of these,
// so a GameFile stays where it was made.
class GameFile : public HeldFile {
public:
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    // Reads `path` through `store` and binds its record kinds; the error names the
    // file when it fails. A saved game takes its names and treasure attributes from
    // `folder`; a system save its biographies from beside it.
    static std::unique_ptr<GameFile> open(FileStore& store, const QString& path, GameFolderFiles folder,
                                          SlotChoice slot, QString* error);

    GameFileKind fileKind = GameFileKind::Unknown;
    RecordKinds kinds;  // the first is the default for dump
    std::vector<std::unique_ptr<HeldFile>> companions;
    // What the kinds leave out because a file beside this one could not be read
    // (the biographies of a system save), one line each.
    QStringList notes;

    RecordKind* kind(const QString& name);  // by --records name or a record's "kind"
    // The files as they were read, with record kinds of their own: what an edit
    // changed is told against these, never against the disk again.
    std::unique_ptr<GameFile> asItWasRead() const;

    // Writes every held file whose bytes changed through `store`, which read them,
    // this file to `target` (its own path when empty); a longer file keeps its tail
    // where the editor keeps one. A file that another program changed or removed
    // since it was read is not written over, as the windows ask first: then nothing
    // is written.
    std::optional<WriteFailure> writeChanged(FileStore& store, const QString& target = QString()) const;

private:
    GameFile() = default;
    HeldFile& addCompanion(const QString& path, const QByteArray& bytes, bool keepTail);
    void readCompanions(FileStore& store);
    void bindKinds();

    GameFolderFiles folder_;
    SlotChoice slot_;
};

}  // namespace varkel
