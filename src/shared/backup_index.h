#pragma once

#include "shared/runtime_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace varkel {

// How many backups the backup folder keeps. The oldest go first, and the newest
// backup of a file always stays, whatever the limits say.
struct BackupLimits {
    static constexpr int kDefaultPerFile = 20;
    static constexpr qint64 kDefaultTotalMegabytes = 500;

    int perFile = kDefaultPerFile;                             // backups of one file
    qint64 totalBytes = kDefaultTotalMegabytes * 1024 * 1024;  // all backups together
};

// Where the settings file sets the limits: [Backups] MaxPerFile=20, MaxTotalMB=500.
inline const QString kBackupsSection = QStringLiteral("Backups");
inline const QString kBackupsPerFileKey = QStringLiteral("MaxPerFile");
inline const QString kBackupsTotalKey = QStringLiteral("MaxTotalMB");

// The limits of the settings file at `settingsPath`; a missing file, key or a
// value that is no positive whole number gives the default.
BackupLimits ReadBackupLimits(const QString& settingsPath);

// One backup in the backup folder and where it came from.
struct BackupEntry {
    QString fileName;      // the backup's name inside the folder
    QString original;      // the file it copies, links resolved; empty when unknown
    QString originalName;  // that file's name, known even when its folder is not
    qint64 size = 0;
    QDateTime made;              // when the backup was made
    QDateTime originalModified;  // the original's time then; invalid when unknown
    QString programVersion;      // the program that made it; empty when unknown

    bool originKnown() const { return !original.isEmpty(); }
};

// What a program writing backups hears while it records one: that another
// program holds the index (and which), or that the index could not be written.
struct BackupNotice {
    enum class Kind {
        WaitingForIndex,  // `detail` names the program holding the index lock
        IndexNotWritten,  // `detail` says why; the backup is kept, its origin unknown
    };
    Kind kind;
    QString detail;
};
using BackupNotices = std::function<void(const BackupNotice&)>;

// The record of the backups in one folder, kept in "index.json" beside them.
// The files are the truth: loading drops entries whose backup is gone and adds
// the backups it does not list (from their names: the original's file name and
// the time, its folder unknown), so a missing or damaged index costs the origins
// of the backups, never a backup and never a save.
//
// The folder is the program's own: the index is read and replaced without
// following links, and only regular files there named as backups are deleted.
// Changes to the index are made holding its lock ("index.lock"), which names the
// program holding it; a writer waits as long as a live program holds it, and
// only the lock of a program that is gone is taken over.
class BackupIndex {
public:
    static inline const QString kIndexName = QStringLiteral("index.json");

    // The index of `folder` as the files there are now. Reads only.
    static BackupIndex load(const QString& folder);

    // Adds the backup of `path` just made at `backupPath` (at `made`) to the index
    // of its folder and drops what the limits allow no more. Once the new file is
    // in place, never before: a write that failed records and prunes nothing.
    // `notices` hears of a wait for another program and of an index that could
    // not be written; the backup stays either way.
    static void record(const QString& backupPath, const QString& path, const QDateTime& made,
                       const QDateTime& originalModified, const BackupLimits& limits,
                       const BackupNotices& notices = {});

    // Frees room for a backup of `size` bytes of `path` about to be made: drops
    // what the limits would drop once it is there. False when nothing was dropped.
    static bool makeRoom(const QString& folder, const QString& path, qint64 size, const BackupLimits& limits,
                         const BackupNotices& notices = {});

    // The name of a backup of the file named `fileName` made at `made`:
    // "<fileName>.<yyyyMMdd-HHmmss-zzz>", with "-<n>" after it from n = 2 on, for
    // backups of one name made in the same millisecond.
    static QString backupName(const QString& fileName, const QDateTime& made, int n = 1);

    QString folder() const { return folder_; }
    QString pathOf(const BackupEntry& entry) const;

    // Every backup, oldest first.
    const std::vector<BackupEntry>& entries() const { return entries_; }
    // The backups of the file at `originalPath`, newest first. Backups whose origin
    // is unknown are not among them, however the file is named.
    std::vector<BackupEntry> entriesFor(const QString& originalPath) const;
    // The backups of unknown origin whose original had the file name of `originalPath`, newest first.
    std::vector<BackupEntry> unknownOriginNamedLike(const QString& originalPath) const;
    // The entry of the backup at `backupPath`, if it is one of this folder's.
    std::optional<BackupEntry> entryAt(const QString& backupPath) const;

    // Adds `entry` as the newest backup.
    void add(BackupEntry entry);
    // Deletes the oldest backups beyond `limits` and returns the names of those
    // deleted. The per-file limit counts the backups of each original; backups of
    // unknown origin are not counted there, since files of one name from two
    // games cannot be told apart. The total limit takes the oldest of any, but
    // never the newest backup of a file nor the last backup of a file name.
    QStringList prune(const BackupLimits& limits);
    // Whether loading changed what the index file said (or there was none).
    bool mended() const { return mended_; }

    // Replaces the index file (never what a link there points to), readable by its owner only.
    [[nodiscard]] std::optional<RuntimeError> save() const;

private:
    QString folder_;
    std::vector<BackupEntry> entries_;
    bool mended_ = false;
};

// Whether the files at `a` and `b` hold the same bytes (sizes first, then the
// bytes); false when either cannot be read.
bool SameFileBytes(const QString& a, const QString& b);

// What reading a backup to put back over a file found.
struct BackupRead {
    enum class Refusal {
        None,
        Missing,      // no regular file at the backup's path
        OtherFile,    // the index lists it as a backup of another file (`otherOriginal`)
        NotListed,    // not a backup of the file, and not named by the user
        Unreadable,   // it could not be read whole (`error`)
        WrongSize,    // its size (`size`) is outside what a file of its kind holds
    };
    Refusal refusal = Refusal::None;
    QByteArray bytes;                   // the backup's bytes when not refused
    std::optional<BackupEntry> entry;   // the index's entry for it, where it has one
    QString otherOriginal;
    RuntimeError error;
    qint64 size = 0;  // the backup's size on disk
};

// The sizes a file of one kind can have, both ends included.
struct SizeRange {
    qint64 least = 0;
    qint64 most = 0;
};

// The bytes of the backup at `backupPath`, to put back over the file at
// `originalPath`. A backup the index lists for that file is read; one it lists for
// another file is refused; any other file is read only when the user `named` that
// file (a backup of unknown origin, or a copy kept elsewhere). Only a file whose
// size is in `sizes` is read, so nothing larger than a file of its kind is.
BackupRead ReadBackupFor(const BackupIndex& index, const QString& originalPath, const QString& backupPath, bool named,
                         SizeRange sizes);

}  // namespace varkel
