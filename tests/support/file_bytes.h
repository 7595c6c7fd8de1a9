#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace varkel::test {

// The whole file, or nothing when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file with `bytes`; false when that fails.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace varkel::test
