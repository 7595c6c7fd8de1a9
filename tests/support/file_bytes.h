#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <random>

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

// `size` bytes from a generator seeded with `seed`: the same bytes for the same seed.
inline QByteArray RandomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// `line` over and over, cut to `size` bytes.
inline QByteArray Repeated(const QByteArray& line, qsizetype size)
{
    return line.repeated(size / line.size() + 1).left(size);
}

}  // namespace varkel::test
