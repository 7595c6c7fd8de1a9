#pragma once

#include "shared/runtime_error.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

#include <optional>

namespace varkel {

// Whether opening a path goes through a link at its end.
enum class Links { Follow, Refuse };

// Opens `path` for reading when it is a regular file, links followed unless
// refused (a link is then reported as a missing file). Anything else (a pipe, a
// device, a folder, a dangling link) is reported as a missing file and is never
// opened in a way that could block.
bool OpenRegularFile(QFile& file, const QString& path, RuntimeError* error = nullptr, Links links = Links::Follow);

// The form two paths of the same file share: links resolved where the file
// exists, otherwise the cleaned absolute path.
QString ComparablePath(const QString& path);
// Whether `a` and `b` name the same file, as the file system compares names:
// through links, and without regard to case on Windows.
bool SameFilePath(const QString& a, const QString& b);

// What becomes of a folder of the user's found open to others: closed (mode
// 0700), or refused where whoever could enter it may have left a link inside.
enum class OpenFolder { Close, Refuse };

// Makes `folder` when it is missing (the folders above it too) and keeps it
// private: a real folder, no link, owned by this user, only the user may enter.
// Null when it is so; otherwise why it cannot be used.
std::optional<QString> MakePrivateFolder(const QString& folder, OpenFolder open = OpenFolder::Close);

// Removes the lock file of `lock` when the program that made it is gone although QLockFile cannot tell: on
// Windows a lock file is held open by its owner until it unlocks, so one that can be removed was left by a
// program that ended, even where its process id now belongs to another program (Wine reuses ids soon).
// Elsewhere QLockFile's own check stands and nothing is removed. True when a lock file was removed.
bool RemoveLockLeftBehind(const QLockFile& lock);

class FileIo;

// Files are read and written in pieces of this size.
inline constexpr qint64 kFileChunkSize = 64 * 1024;

// Up to `count` bytes from the device's position: fewer only at its end. The
// buffer grows with the bytes that arrive, never by `count` alone. Null when a
// read fails.
std::optional<QByteArray> ReadUpTo(FileIo& io, QIODevice& device, qint64 count);

// The operations the file store performs on files it has opened. The program
// passes them straight through; tests put a subclass in place that fails any one
// of them at a chosen call or byte, to prove that a failure never damages a file.
class FileIo {
public:
    virtual ~FileIo() = default;

    virtual qint64 read(QIODevice& device, char* data, qint64 maxSize) { return device.read(data, maxSize); }
    virtual qint64 write(QIODevice& device, const char* data, qint64 size) { return device.write(data, size); }
    virtual bool flush(QFileDevice& device) { return device.flush(); }
    // Flushes the temporary file of `file` and renames it over its target.
    virtual bool commit(QSaveFile& file) { return file.commit(); }

    // The pass-through operations.
    static FileIo& direct();
};

// Writes all `size` bytes at `data` to the device, in pieces; false when a write fails.
bool WriteAll(FileIo& io, QIODevice& device, const char* data, qint64 size);

// Up to `maxBytes` from the start of the regular file at `path`: all of a shorter
// file. A read that stops before the file's own length is an error, never
// zero-filled data. For files nobody needs to remember (settings, pictures).
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, RuntimeError* error = nullptr,
                                          FileIo& io = FileIo::direct());
// Up to `size` bytes from `offset` of the file at `path`, without reading what
// comes before: fewer where the file ends sooner, none where it ends before `offset`.
std::optional<QByteArray> ReadFileStretch(const QString& path, qint64 offset, qint64 size,
                                          RuntimeError* error = nullptr, FileIo& io = FileIo::direct());

// `bytes`, then everything `tail` holds from its position, into a temporary file
// that replaces `path` only when all of it was written and flushed. A tail that
// cannot be read to its end fails the write: the file would lose data.
std::optional<RuntimeError> WriteAtomically(FileIo& io, const QString& path, const QByteArray& bytes,
                                            QFile* tail = nullptr);
// The same atomic write of exactly `bytes` over a regular file (or none), for a
// file the program keeps for itself (the settings): no backup.
std::optional<RuntimeError> WriteRegularFile(const QString& path, const QByteArray& bytes,
                                             FileIo& io = FileIo::direct());
// Puts a new file readable by its owner only in the place of `path`: a link
// there is replaced, never followed. For the program's private files.
std::optional<RuntimeError> ReplacePrivateFile(const QString& path, const QByteArray& bytes,
                                               FileIo& io = FileIo::direct());

}  // namespace varkel
