#include "shared/temp_folder.h"

#include "shared/game_folder.h"
#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace varkel {

QString PrivateTempFolder()
{
#ifdef Q_OS_WIN
    const QString folder = QDir::tempPath() + QStringLiteral("/varkel-editor");
    QDir().mkpath(folder);
    return WithTrailingSeparator(QDir::toNativeSeparators(folder));
#else
    const QString folder = QDir::tempPath() + QStringLiteral("/varkel-editor-%1").arg(getuid());
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st{};
    // Refuse a folder (or link) that somebody else made in our place.
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return {};
    if ((st.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return {};
    return WithTrailingSeparator(folder);
#endif
}

std::unique_ptr<QLockFile> LockSingleInstance(const QString& tempFolder)
{
    auto lock = std::make_unique<QLockFile>(tempFolder + QStringLiteral("varkel-editor.lock"));
    lock->setStaleLockTime(0);  // only a lock whose process is gone is stale
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

void DeleteTemporaryBitmaps(const QString& tempFolder)
{
    if (tempFolder.isEmpty())
        return;
    QFile::remove(tempFolder + kFaceBitmapName);
    QFile::remove(GameFilePath(tempFolder, kTreasureBitmapName));
}

}  // namespace varkel
