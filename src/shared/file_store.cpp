#include "shared/file_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace varkel {

FileStore::FileStore(QString backupFolder) : backupFolder_(std::move(backupFolder))
{
    if (backupFolder_.isEmpty())
        backupFolder_ = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

std::optional<QByteArray> FileStore::readAll(const QString& path, RuntimeError* error)
{
    QFile file(path);
    if (!file.exists()) {
        if (error)
            *error = RuntimeError::fileNotFound(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = RuntimeError::fileAccess(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

QString FileStore::backupOf(const QString& path) const
{
    return backups_.value(QFileInfo(path).absoluteFilePath());
}

std::optional<RuntimeError> FileStore::backUp(const QString& path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (backups_.contains(key) || !QFileInfo::exists(path))
        return std::nullopt;
    if (!QDir().mkpath(backupFolder_))
        return RuntimeError::fileAccess(backupFolder_, QStringLiteral("cannot create the backup folder"));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString backup = backupFolder_ + QLatin1Char('/') + QFileInfo(path).fileName() + QLatin1Char('.') + stamp;
    if (!QFile::copy(path, backup))
        return RuntimeError::fileAccess(backup, QStringLiteral("cannot write the backup"));
    backups_.insert(key, backup);
    return std::nullopt;
}

std::optional<RuntimeError> FileStore::write(const QString& path, const QByteArray& bytes, bool keepTail)
{
    QByteArray content = bytes;
    if (keepTail && QFileInfo(path).size() > bytes.size()) {
        QFile old(path);
        if (!old.open(QIODevice::ReadOnly) || !old.seek(bytes.size()))
            return RuntimeError::fileAccess(path, old.errorString());
        content += old.readAll();
    }
    if (auto error = backUp(path))
        return error;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return RuntimeError::fileAccess(path, file.errorString());
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return RuntimeError::fileAccess(path, file.errorString());
    }
    if (!file.commit())
        return RuntimeError::fileAccess(path, file.errorString());
    return std::nullopt;
}

}  // namespace varkel
