#include "shared/file_store.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace varkel {

namespace {

constexpr auto kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Backups of one file made in one millisecond: more would be no user's doing.
constexpr int kMaxBackupsOfOneMoment = 1000;

QString key(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

QFileInfo freshInfo(const QString& path)
{
    QFileInfo info(path);
    info.setCaching(false);
    return info;
}

}  // namespace

FileStore::FileStore(QString backupFolder) : backupFolder_(std::move(backupFolder))
{
    // VARKEL_BACKUP_FOLDER moves the backups of every program of a session (Windows
    // has no XDG_DATA_HOME); else ~/.local/share/varkel-editor/backups, on Windows
    // under %LOCALAPPDATA%.
    if (backupFolder_.isEmpty())
        backupFolder_ = QDir::fromNativeSeparators(qEnvironmentVariable("VARKEL_BACKUP_FOLDER"));
    if (backupFolder_.isEmpty())
        backupFolder_ =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/backups");
}

std::optional<QByteArray> FileStore::read(const QString& path, qint64 maxBytes, RuntimeError* error)
{
    auto bytes = ReadRegularFile(path, maxBytes, error, *io_);
    if (bytes)
        remember(path, *bytes);
    return bytes;
}

void FileStore::remember(const QString& path, const QByteArray& start)
{
    const QFileInfo info = freshInfo(path);
    seen_.insert(key(path), {info.size(), info.lastModified(), start});
}

FileStore::DiskState FileStore::diskState(const QString& path) const
{
    const auto seen = seen_.constFind(key(path));
    if (seen == seen_.constEnd())
        return DiskState::AsSeen;
    const QFileInfo info = freshInfo(path);
    if (!info.exists())
        return DiskState::Gone;
    if (!info.isFile() || info.size() != seen->size)
        return DiskState::Changed;
    if (info.lastModified() == seen->modified)
        return DiskState::AsSeen;
    // Touched: only different bytes count as a change.
    const auto start = ReadRegularFile(path, seen->start.size());
    return start && *start == seen->start ? DiskState::AsSeen : DiskState::Changed;
}

QString FileStore::backupOf(const QString& path) const
{
    return backups_.value(key(path));
}

void FileStore::notice(const BackupNotice& notice)
{
    // An index that cannot be written is said once; every backup after it is
    // kept all the same, its origin unknown.
    if (notice.kind == BackupNotice::Kind::IndexNotWritten && std::exchange(toldIndexNotWritten_, true))
        return;
    if (notices_)
        notices_(notice);
    else
        keptNotices_.push_back(notice);
}

std::optional<RuntimeError> FileStore::backUp(const QString& path, std::optional<PendingBackup>& backup)
{
    if (backups_.contains(key(path)) || !QFileInfo::exists(path))
        return std::nullopt;
    QFile source;
    RuntimeError error;
    if (!OpenRegularFile(source, path, &error))
        return error;
    const auto goOnWithout = [&](BackupFailure::Why why, const RuntimeError& failure) -> std::optional<RuntimeError> {
        if (!withoutBackup_ || !withoutBackup_({why, failure}))
            return failure;
        backup = PendingBackup{};
        return std::nullopt;
    };
    // The backups hold the user's games: a folder that is a link, or another
    // user's, could show them to others or lead pruning elsewhere.
    if (const auto unsafe = MakePrivateFolder(backupFolder_))
        return goOnWithout(BackupFailure::Why::UnsafeFolder, RuntimeError::fileAccess(backupFolder_, *unsafe));
    PendingBackup made;
    auto failed = copyToNewBackup(source, path, made);
    // A full disk: the limits may free room, dropping what they would drop anyway.
    if (failed &&
        BackupIndex::makeRoom(backupFolder_, path, source.size(), limits_,
                              [this](const BackupNotice& n) { notice(n); }) &&
        source.seek(0))
        failed = copyToNewBackup(source, path, made);
    if (failed)
        return goOnWithout(BackupFailure::Why::NotWritten, *failed);
    backup = made;
    return std::nullopt;
}

// Copies `source` to a backup of a name nobody else has taken, made new here (two
// programs backing up one file in the same millisecond keep both). A failed copy
// leaves no file behind.
std::optional<RuntimeError> FileStore::copyToNewBackup(QFile& source, const QString& path, PendingBackup& backup)
{
    backup.made = QDateTime::currentDateTime();
    backup.originalModified = freshInfo(path).lastModified();
    const QDir folder(backupFolder_);
    const QString fileName = QFileInfo(path).fileName();
    QFile file;
    for (int n = 1;; ++n) {
        file.setFileName(folder.filePath(BackupIndex::backupName(fileName, backup.made, n)));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        const QFileInfo taken(file.fileName());
        if (!(taken.exists() || taken.isSymLink()) || n >= kMaxBackupsOfOneMoment)
            return RuntimeError::fileAccess(file.fileName(), file.errorString());
    }
    backup.path = file.fileName();
    const auto fail = [&](const QString& why) {
        file.remove();
        return RuntimeError::fileAccess(backup.path, why.isEmpty() ? QStringLiteral("write failed") : why);
    };
    if (!file.setPermissions(kPrivateFile))
        return fail(QStringLiteral("cannot make the backup private"));
    for (qint64 left = source.size(); left > 0;) {
        const auto piece = ReadUpTo(*io_, source, std::min(kFileChunkSize, left));
        if (!piece || piece->isEmpty())
            return fail(QStringLiteral("cannot read %1: %2").arg(path, source.errorString()));
        if (!WriteAll(*io_, file, piece->constData(), piece->size()))
            return fail(file.errorString());
        left -= piece->size();
    }
    if (!io_->flush(file))
        return fail(file.errorString());
    file.close();
    return std::nullopt;
}

std::optional<RuntimeError> FileStore::write(const QString& path, const QByteArray& bytes, bool keepTail)
{
    QFile old;
    const QFileInfo target = freshInfo(path);
    if (target.exists() && !target.isFile())
        return RuntimeError::fileAccess(path, QStringLiteral("not a regular file"));
    const bool copyTail = keepTail && target.size() > bytes.size();
    if (copyTail) {
        RuntimeError error;
        if (!OpenRegularFile(old, path, &error))
            return error;
        if (!old.seek(bytes.size()))
            return RuntimeError::fileAccess(path, old.errorString());
    }
    std::optional<PendingBackup> backup;
    if (auto error = backUp(path, backup))
        return error;
    if (auto error = WriteAtomically(*io_, path, bytes, copyTail ? &old : nullptr)) {
        // The backup copies the file still in place: it goes, and the backups
        // older than it stay as they were.
        if (backup && !backup->path.isEmpty())
            QFile::remove(backup->path);
        return error;
    }
    if (backup) {
        backups_.insert(key(path), backup->path);
        if (!backup->path.isEmpty())
            BackupIndex::record(backup->path, path, backup->made, backup->originalModified, limits_,
                                [this](const BackupNotice& n) { notice(n); });
    }
    remember(path, bytes);
    return std::nullopt;
}

}  // namespace varkel
