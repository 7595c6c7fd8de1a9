#include "shared/temp_folder.h"

#include "shared/file_io.h"
#include "shared/game_folder.h"
#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>
#endif

namespace varkel {

namespace {

#ifndef Q_OS_WIN
// A real folder (not a link) of this user's that nobody else may enter.
bool IsPrivateFolder(const QString& folder)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 0777) == 0700;
}

// `folder`, made here with mode 0700 or found so. One found otherwise is refused,
// not mended: whoever could enter it may have left a link or a socket inside.
QString OwnPrivateFolder(const QString& folder)
{
    return MakePrivateFolder(folder, OpenFolder::Refuse) ? QString() : WithTrailingSeparator(folder);
}
#endif

}  // namespace

QString PrivateTempFolder(const QString& runtimeFolder, const QString& tempPath)
{
#ifdef Q_OS_WIN
    // The user's own temporary folder (under %LOCALAPPDATA%) is private already; one folder per logon session,
    // so the single-instance lock and the hand-over pipe are the session's.
    Q_UNUSED(runtimeFolder);
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const QString folder = tempPath + QStringLiteral("/varkel-editor-%1").arg(session);
    if (MakePrivateFolder(folder))
        return {};
    return WithTrailingSeparator(folder);
#else
    // Cleaned, so that a trailing separator cannot make lstat follow a link.
    const QString runtime = QDir::cleanPath(runtimeFolder);
    if (QDir::isAbsolutePath(runtime) && IsPrivateFolder(runtime))
        if (QString folder = OwnPrivateFolder(runtime + QStringLiteral("/varkel-editor")); !folder.isEmpty())
            return folder;
    return OwnPrivateFolder(tempPath + QStringLiteral("/varkel-editor-%1").arg(::getuid()));
#endif
}

QString PrivateTempFolder()
{
    return PrivateTempFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
}

std::unique_ptr<QLockFile> LockSingleInstance(const QString& tempFolder)
{
    auto lock = std::make_unique<QLockFile>(tempFolder + QStringLiteral("varkel-editor.lock"));
    lock->setStaleLockTime(0);  // only a lock whose process is gone is stale
    if (!lock->tryLock(0) && !(RemoveLockLeftBehind(*lock) && lock->tryLock(0)))
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
