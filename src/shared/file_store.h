#pragma once

#include "shared/backup_index.h"
#include "shared/file_io.h"
#include "shared/runtime_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>

namespace varkel {

// Reads and writes the game's files.
//
// Reads take at most the bytes the caller's format needs, only from regular files
// (links followed: a pipe, a device or a folder is reported like a missing file,
// so nothing blocks or grows without bound), and a read that stops before the
// file's own length is an error, never zero-filled data.
//
// Writes are atomic (a temporary file in the same folder, renamed over the
// target); before the first write over a file in a run its original bytes are
// copied to a private, timestamped backup outside the game folder, recorded in
// that folder's BackupIndex with where it came from. A failed write leaves the
// file on disk as it was.
//
// The store remembers what each file looked like when it was read or written, so
// a window can tell whether another program (the game) changed it meanwhile.
class FileStore {
public:
    // Backups go to `backupFolder`; empty means the user's data folder.
    explicit FileStore(QString backupFolder = QString());

    // Up to `maxBytes` from the start of the file at `path`: all of a shorter file.
    std::optional<QByteArray> read(const QString& path, qint64 maxBytes, RuntimeError* error = nullptr);
    // The same read of a file the store need not remember (settings, pictures).
    static std::optional<QByteArray> readFile(const QString& path, qint64 maxBytes, RuntimeError* error = nullptr,
                                              FileIo& io = FileIo::direct());
    // Up to `size` bytes from `offset` of the file at `path`, without reading what
    // comes before: fewer where the file ends sooner, none where it ends before `offset`.
    static std::optional<QByteArray> readStretch(const QString& path, qint64 offset, qint64 size,
                                                 RuntimeError* error = nullptr, FileIo& io = FileIo::direct());

    // Writes `bytes` from the file's first byte. With `keepTail` a longer existing
    // file keeps its bytes beyond `bytes` (and so its length); without it the file
    // holds exactly `bytes`. On failure the file on disk is as it was.
    std::optional<RuntimeError> write(const QString& path, const QByteArray& bytes, bool keepTail);
    // The same atomic write of exactly `bytes`, for a file the program keeps for
    // itself (the settings): no backup, and the store need not remember it.
    static std::optional<RuntimeError> writeFile(const QString& path, const QByteArray& bytes,
                                                 FileIo& io = FileIo::direct());

    // How the file at `path` is now, against how this store last read or wrote it.
    enum class DiskState {
        AsSeen,   // as it was, or a file the store has not seen
        Changed,  // its size differs, or its time and its bytes do, or no file is in its place
        Gone,     // nothing is at its path any more
    };
    DiskState diskState(const QString& path) const;
    bool changedOnDisk(const QString& path) const { return diskState(path) != DiskState::AsSeen; }

    QString backupFolder() const { return backupFolder_; }
    // The backup made of `path` in this run, or empty.
    QString backupOf(const QString& path) const;
    // The backups in the backup folder, of this run and earlier ones.
    BackupIndex backupIndex() const { return BackupIndex::load(backupFolder_); }
    // How many backups the folder keeps; checked after each backup.
    void setBackupLimits(const BackupLimits& limits) { limits_ = limits; }
    const BackupLimits& backupLimits() const { return limits_; }

    // The operations under every read and write; tests fail them on purpose.
    void setIo(FileIo* io) { io_ = io ? io : &FileIo::direct(); }
    FileIo& io() const { return *io_; }

private:
    struct Seen {
        qint64 size = 0;
        QDateTime modified;
        QByteArray start;  // the bytes read or written (shared with the caller's copy)
    };

    std::optional<RuntimeError> backUp(const QString& path);
    void remember(const QString& path, const QByteArray& start);
    static std::optional<RuntimeError> writeAtomically(FileIo& io, const QString& path, const QByteArray& bytes,
                                                       QFile* tail);

    QString backupFolder_;
    BackupLimits limits_;
    FileIo* io_ = &FileIo::direct();
    QHash<QString, QString> backups_;  // canonical path -> its backup
    QHash<QString, Seen> seen_;        // canonical path -> how it was last seen
};

}  // namespace varkel
