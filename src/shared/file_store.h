#pragma once

#include "shared/backup_index.h"
#include "shared/file_io.h"
#include "shared/runtime_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

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
// that folder's BackupIndex with where it came from once the write succeeded. A
// failed write leaves the file on disk as it was, and the backups as they were.
//
// The store remembers what each file looked like when it was read or written, so
// a window can tell whether another program (the game) changed it meanwhile.
class FileStore {
public:
    // Backups go to `backupFolder`; empty means $VARKEL_BACKUP_FOLDER, else the
    // user's data folder.
    explicit FileStore(QString backupFolder = QString());

    // Up to `maxBytes` from the start of the file at `path`: all of a shorter file.
    std::optional<QByteArray> read(const QString& path, qint64 maxBytes, RuntimeError* error = nullptr);
    // Writes `bytes` from the file's first byte. With `keepTail` a longer existing
    // file keeps its bytes beyond `bytes` (and so its length); without it the file
    // holds exactly `bytes`. On failure the file on disk is as it was.
    std::optional<RuntimeError> write(const QString& path, const QByteArray& bytes, bool keepTail);
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

    // Why no backup could be made before a write.
    struct BackupFailure {
        enum class Why {
            UnsafeFolder,  // the backup folder is a link, another user's, or cannot be made
            NotWritten,    // the backup could not be written (a full disk), even after pruning
        };
        Why why;
        RuntimeError error;
    };
    // Asked when a write would have to go on without its backup: true writes the
    // file all the same (no backup of it is made for the rest of the run). Without
    // a question, or on false, the write fails with the backup's error.
    void setWithoutBackupQuestion(std::function<bool(const BackupFailure&)> question)
    {
        withoutBackup_ = std::move(question);
    }
    // What the store has to say about backups (a wait for another program, an index
    // it could not write: said once) goes to `notices` as it happens; without
    // one it is kept for takeBackupNotices().
    void setBackupNotices(BackupNotices notices) { notices_ = std::move(notices); }
    std::vector<BackupNotice> takeBackupNotices() { return std::exchange(keptNotices_, {}); }

    // The operations under every read and write; tests fail them on purpose.
    void setIo(FileIo* io) { io_ = io ? io : &FileIo::direct(); }
    FileIo& io() const { return *io_; }

private:
    struct Seen {
        qint64 size = 0;
        QDateTime modified;
        QByteArray start;  // the bytes read or written (shared with the caller's copy)
    };

    // A backup made before a write, recorded once the write succeeded.
    struct PendingBackup {
        QString path;  // empty when the user chose to write without one
        QDateTime made;
        QDateTime originalModified;
    };
    std::optional<RuntimeError> backUp(const QString& path, std::optional<PendingBackup>& backup);
    std::optional<RuntimeError> copyToNewBackup(QFile& source, const QString& path, PendingBackup& backup);
    void notice(const BackupNotice& notice);
    void remember(const QString& path, const QByteArray& start);

    QString backupFolder_;
    BackupLimits limits_;
    FileIo* io_ = &FileIo::direct();
    std::function<bool(const BackupFailure&)> withoutBackup_;
    BackupNotices notices_;
    std::vector<BackupNotice> keptNotices_;
    bool toldIndexNotWritten_ = false;
    QHash<QString, QString> backups_;  // canonical path -> its backup (empty: written without one)
    QHash<QString, Seen> seen_;        // canonical path -> how it was last seen
};

}  // namespace varkel
