#include "shared/file_store.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace varkel {

namespace {

constexpr auto kPrivateFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr auto kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

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

bool writeAll(FileIo& io, QIODevice& device, const char* data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 piece = std::min(kFileChunkSize, size - done);
        if (io.write(device, data + done, piece) != piece)
            return false;
        done += piece;
    }
    return true;
}

}  // namespace

FileStore::FileStore(QString backupFolder) : backupFolder_(std::move(backupFolder))
{
    if (backupFolder_.isEmpty())
        backupFolder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

std::optional<QByteArray> FileStore::readFile(const QString& path, qint64 maxBytes, RuntimeError* error, FileIo& io)
{
    return readStretch(path, 0, maxBytes, error, io);
}

std::optional<QByteArray> FileStore::readStretch(const QString& path, qint64 offset, qint64 size, RuntimeError* error,
                                                 FileIo& io)
{
    QFile file;
    if (!OpenRegularFile(file, path, error))
        return std::nullopt;
    const qint64 want = std::clamp<qint64>(file.size() - offset, 0, size);
    if (want > 0 && !file.seek(offset)) {
        if (error)
            *error = RuntimeError::fileAccess(path, file.errorString());
        return std::nullopt;
    }
    const auto bytes = ReadUpTo(io, file, want);
    if (!bytes || bytes->size() < want) {
        if (error) {
            *error = RuntimeError::fileAccess(
                path, QStringLiteral("the read stopped after %1 of %2 bytes").arg(bytes ? bytes->size() : 0).arg(want));
        }
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> FileStore::read(const QString& path, qint64 maxBytes, RuntimeError* error)
{
    auto bytes = readFile(path, maxBytes, error, *io_);
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
    const auto start = readFile(path, seen->start.size());
    return start && *start == seen->start ? DiskState::AsSeen : DiskState::Changed;
}

QString FileStore::backupOf(const QString& path) const
{
    return backups_.value(key(path));
}

std::optional<RuntimeError> FileStore::backUp(const QString& path)
{
    const QString original = key(path);
    if (backups_.contains(original) || !QFileInfo::exists(path))
        return std::nullopt;
    // The backups hold the user's games: nobody else may read them, whatever the umask.
    if (!QDir().mkpath(backupFolder_) || !QFile::setPermissions(backupFolder_, kPrivateFolder))
        return RuntimeError::fileAccess(backupFolder_, QStringLiteral("cannot create the backup folder"));
    QFile source;
    RuntimeError error;
    if (!OpenRegularFile(source, path, &error))
        return error;
    const QDateTime made = QDateTime::currentDateTime();
    const QDateTime originalModified = freshInfo(path).lastModified();
    const QString backup = backupFolder_ + QLatin1Char('/') +
                           BackupIndex::freeName(backupFolder_, QFileInfo(path).fileName(), made);
    if (auto failed = writeAtomically(*io_, backup, QByteArray(), &source))
        return failed;
    if (!QFile::setPermissions(backup, kPrivateFile)) {
        QFile::remove(backup);
        return RuntimeError::fileAccess(backup, QStringLiteral("cannot make the backup private"));
    }
    backups_.insert(original, backup);
    // Through the plain file operations, not the store's: nothing about the index fails a save.
    BackupIndex::record(backup, path, made, originalModified, limits_);
    return std::nullopt;
}

std::optional<RuntimeError> FileStore::writeFile(const QString& path, const QByteArray& bytes, FileIo& io)
{
    if (const QFileInfo target = freshInfo(path); target.exists() && !target.isFile())
        return RuntimeError::fileAccess(path, QStringLiteral("not a regular file"));
    return writeAtomically(io, path, bytes, nullptr);
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
    if (auto error = backUp(path))
        return error;
    if (auto error = writeAtomically(*io_, path, bytes, copyTail ? &old : nullptr))
        return error;
    remember(path, bytes);
    return std::nullopt;
}

// `bytes`, then everything `tail` holds from its position, into a temporary file
// that replaces `path` only when all of it was written and flushed. A tail that
// cannot be read to its end fails the write: the file would lose data.
std::optional<RuntimeError> FileStore::writeAtomically(FileIo& io, const QString& path, const QByteArray& bytes,
                                                       QFile* tail)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return RuntimeError::fileAccess(path, file.errorString());
    auto fail = [&](const QString& why) {
        file.cancelWriting();
        return RuntimeError::fileAccess(path, why.isEmpty() ? QStringLiteral("write failed") : why);
    };
    if (!writeAll(io, file, bytes.constData(), bytes.size()))
        return fail(file.errorString());
    if (tail) {
        for (qint64 left = tail->size() - tail->pos(); left > 0;) {
            const auto piece = ReadUpTo(io, *tail, std::min(kFileChunkSize, left));
            if (!piece || piece->isEmpty())
                return fail(QStringLiteral("cannot read the rest of the file: %1").arg(tail->errorString()));
            if (!writeAll(io, file, piece->constData(), piece->size()))
                return fail(file.errorString());
            left -= piece->size();
        }
    }
    if (!io.flush(file))
        return fail(file.errorString());
    if (!io.commit(file))
        return fail(file.errorString());
    return std::nullopt;
}

}  // namespace varkel
