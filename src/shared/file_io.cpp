#include "shared/file_io.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <filesystem>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace varkel {

namespace {

std::filesystem::path NativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace

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

bool WriteAll(FileIo& io, QIODevice& device, const char* data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 piece = std::min(kFileChunkSize, size - done);
        if (io.write(device, data + done, piece) != piece)
            return false;
        done += piece;
    }
    return true;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, RuntimeError* error, FileIo& io)
{
    return ReadFileStretch(path, 0, maxBytes, error, io);
}

std::optional<QByteArray> ReadFileStretch(const QString& path, qint64 offset, qint64 size, RuntimeError* error,
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

std::optional<RuntimeError> WriteRegularFile(const QString& path, const QByteArray& bytes, FileIo& io)
{
    QFileInfo target(path);
    target.setCaching(false);
    if (target.exists() && !target.isFile())
        return RuntimeError::fileAccess(path, QStringLiteral("not a regular file"));
    return WriteAtomically(io, path, bytes);
}

std::optional<RuntimeError> ReplacePrivateFile(const QString& path, const QByteArray& bytes, FileIo& io)
{
    // Made new, for the owner only, beside its place; never anything that was there. (Not a QTemporaryFile:
    // on Windows that keeps its file open, and an open file cannot be renamed.)
    QFile file;
    for (int attempt = 0;; ++attempt) {
        file.setFileName(path +
                         QStringLiteral(".%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            break;
        if (attempt == 9)
            return RuntimeError::fileAccess(path, file.errorString());
    }
    auto removeTemporary = qScopeGuard([&file] { file.remove(); });
    if (!WriteAll(io, file, bytes.constData(), bytes.size()) || !io.flush(file))
        return RuntimeError::fileAccess(path, file.errorString());
    file.close();
    // A rename replaces the name itself: a link in its place goes, its target stays.
#ifdef Q_OS_WIN
    // MinGW's std::filesystem::rename cannot replace a file; Windows' own call can.
    if (!MoveFileExW(NativePath(file.fileName()).c_str(), NativePath(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return RuntimeError::fileAccess(path, qt_error_string(int(GetLastError())));
#else
    std::error_code failed;
    std::filesystem::rename(NativePath(file.fileName()), NativePath(path), failed);
    if (failed)
        return RuntimeError::fileAccess(path, QString::fromStdString(failed.message()));
#endif
    removeTemporary.dismiss();
    return std::nullopt;
}

std::optional<RuntimeError> WriteAtomically(FileIo& io, const QString& path, const QByteArray& bytes, QFile* tail)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return RuntimeError::fileAccess(path, file.errorString());
    auto fail = [&](const QString& why) {
        file.cancelWriting();
        return RuntimeError::fileAccess(path, why.isEmpty() ? QStringLiteral("write failed") : why);
    };
    if (!WriteAll(io, file, bytes.constData(), bytes.size()))
        return fail(file.errorString());
    if (tail) {
        for (qint64 left = tail->size() - tail->pos(); left > 0;) {
            const auto piece = ReadUpTo(io, *tail, std::min(kFileChunkSize, left));
            if (!piece || piece->isEmpty())
                return fail(QStringLiteral("cannot read the rest of the file: %1").arg(tail->errorString()));
            if (!WriteAll(io, file, piece->constData(), piece->size()))
                return fail(file.errorString());
            left -= piece->size();
        }
    }
    if (!io.flush(file))
        return fail(file.errorString());
    // Windows does not replace a file that is still open, here for its tail.
    if (tail)
        tail->close();
    if (!io.commit(file))
        return fail(file.errorString());
    return std::nullopt;
}

}  // namespace varkel
