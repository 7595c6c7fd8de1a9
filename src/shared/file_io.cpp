#include "shared/file_io.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace varkel {

FileIo& FileIo::direct()
{
    static FileIo io;
    return io;
}

QString ComparablePath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool SameFilePath(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif
    return ComparablePath(a).compare(ComparablePath(b), kPathCase) == 0;
}

bool OpenRegularFile(QFile& file, const QString& path, RuntimeError* error, Links links)
{
    auto fail = [&](const RuntimeError& e) {
        if (error)
            *error = e;
        return false;
    };
#ifdef Q_OS_WIN
    if (const QFileInfo info(path); !info.isFile() || (links == Links::Refuse && info.isSymbolicLink()))
        return fail(RuntimeError::fileNotFound(path));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(RuntimeError::fileAccess(path, file.errorString()));
    return true;
#else
    // Opened without blocking, so a pipe with no writer returns at once; only then
    // do we know what the name stands for.
    const int noFollow = links == Links::Refuse ? O_NOFOLLOW : 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow);
    if (fd < 0) {
        const int why = errno;
        if (why == ENOENT || why == ENOTDIR || why == ELOOP || why == ENXIO)
            return fail(RuntimeError::fileNotFound(path));
        return fail(RuntimeError::fileAccess(path, QString::fromLocal8Bit(std::strerror(why))));
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(RuntimeError::fileNotFound(path));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(RuntimeError::fileAccess(path, file.errorString()));
    }
    return true;
#endif
}

std::optional<QString> MakePrivateFolder(const QString& folder, [[maybe_unused]] OpenFolder open)
{
    const QFileInfo info(folder);
    if (!QDir().mkpath(info.absolutePath()))
        return QStringLiteral("cannot make the folder above it");
#ifdef Q_OS_WIN
    if (!info.exists() && !QDir().mkdir(folder))
        return QStringLiteral("cannot make the folder");
    const QFileInfo made(folder);
    if (made.isSymLink() || made.isJunction() || !made.isDir())
        return QStringLiteral("is a link or no folder");
    return std::nullopt;
#else
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) == 0)
        open = OpenFolder::Close;  // made here: an odd umask may have taken the owner's rights
    else if (errno != EEXIST)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat st{};
    if (::lstat(native.constData(), &st) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("is a link or no folder");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("belongs to another user");
    if ((st.st_mode & 0777) != 0700 && (open == OpenFolder::Refuse || ::chmod(native.constData(), 0700) != 0))
        return QStringLiteral("is open to others");
    return std::nullopt;
#endif
}

bool RemoveLockLeftBehind(const QLockFile& lock)
{
#ifdef Q_OS_WIN
    return QFile::remove(lock.fileName());
#else
    Q_UNUSED(lock);
    return false;
#endif
}

std::optional<QByteArray> ReadUpTo(FileIo& io, QIODevice& device, qint64 count)
{
    QByteArray bytes;
    bytes.reserve(count);  // growing piece by piece would copy what was read
    while (bytes.size() < count) {
        const qsizetype had = bytes.size();
        const qint64 piece = std::min(kFileChunkSize, count - had);
        bytes.resize(had + piece);
        const qint64 got = io.read(device, bytes.data() + had, piece);
        if (got < 0)
            return std::nullopt;
        bytes.resize(had + got);
        if (got == 0)
            break;
    }
    return bytes;
}

}  // namespace varkel
