#pragma once

#include "shared/runtime_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

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

// The record of the backups in one folder, kept in "index.json" beside them.
// The files are the truth: loading drops entries whose backup is gone and adds
// the backups it does not list (from their names: the original's file name and
// the time, its folder unknown), so a missing or damaged index costs the origins
// of the backups, never a backup and never a save.
class BackupIndex {
public:
    static inline const QString kIndexName = QStringLiteral("index.json");

    // The index of `folder` as the files there are now. Reads only.
    static BackupIndex load(const QString& folder);

    // Adds the backup just made of `path` (copied to `backupPath` at `made`) to the
    // index of its folder and drops what the limits allow no more, as one step
    // that other programs writing backups to that folder wait for. Nothing about
    // it can fail a save: an index that cannot be written is rebuilt next time.
    static void record(const QString& backupPath, const QString& path, const QDateTime& made,
                       const QDateTime& originalModified, const BackupLimits& limits);

    // A name for a new backup of the file named `fileName` made at `made`, free in
    // `folder`: "<fileName>.<yyyyMMdd-HHmmss-zzz>", with "-2", "-3"... after it
    // when backups of two files of one name are made in the same millisecond.
    static QString freeName(const QString& folder, const QString& fileName, const QDateTime& made);

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
    // Deletes the oldest backups beyond `limits`, never the newest of a file, and
    // returns the names of those deleted.
    QStringList prune(const BackupLimits& limits);
    // Whether loading changed what the index file said (or there was none).
    bool mended() const { return mended_; }

    // Writes the index file atomically, readable by its owner only.
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
    };
    Refusal refusal = Refusal::None;
    QByteArray bytes;                   // the backup's bytes when not refused
    std::optional<BackupEntry> entry;   // the index's entry for it, where it has one
    QString otherOriginal;
    RuntimeError error;
};

// The bytes of the backup at `backupPath`, to put back over the file at
// `originalPath`. A backup the index lists for that file is read; one it lists for
// another file is refused; any other file is read only when the user `named` that
// file (a backup of unknown origin, or a copy kept elsewhere).
BackupRead ReadBackupFor(const BackupIndex& index, const QString& originalPath, const QString& backupPath, bool named);

}  // namespace varkel
