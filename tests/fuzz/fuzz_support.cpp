#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace varkel::fuzz {

void Fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

void CheckBytes(const QByteArray& actual, const QByteArray& expected, const QByteArray& mayDiffer, const char* what,
                const char* file, int line)
{
    if (actual.size() != expected.size()) {
        std::fprintf(stderr, "%s: %lld bytes, expected %lld\n", what, qlonglong(actual.size()),
                     qlonglong(expected.size()));
        Fail("same size", file, line);
    }
    // Differences are few: equal blocks are passed over with one memcmp each, as a
    // byte loop over a whole save would run the fuzzer's comparison hooks on every byte.
    constexpr qsizetype kBlock = 4096;
    const char* a = actual.constData();
    const char* e = expected.constData();
    for (qsizetype block = 0; block < actual.size(); block += kBlock) {
        const qsizetype end = std::min(block + kBlock, actual.size());
        if (std::memcmp(a + block, e + block, std::size_t(end - block)) == 0)
            continue;
        for (qsizetype i = block; i < end; ++i) {
            const int ignored = i < mayDiffer.size() ? static_cast<unsigned char>(mayDiffer[i]) : 0;
            if (((a[i] ^ e[i]) & ~ignored & 0xFF) != 0) {
                std::fprintf(stderr, "%s: byte %lld is %02X, expected %02X\n", what, qlonglong(i),
                             static_cast<unsigned char>(a[i]), static_cast<unsigned char>(e[i]));
                Fail("same bytes", file, line);
            }
        }
    }
}

int FuzzInput::byte()
{
    return at_ < bytes_.size() ? static_cast<unsigned char>(bytes_[at_++]) : 0;
}

int FuzzInput::int16()
{
    const int low = byte();
    return static_cast<std::int16_t>(low | byte() << 8);
}

int FuzzInput::int32()
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(byte()) << (8 * i);
    return static_cast<std::int32_t>(value);
}

QByteArray FuzzInput::take(qsizetype count)
{
    const qsizetype n = qBound(qsizetype(0), count, bytes_.size() - at_);
    const QByteArray piece(bytes_.constData() + at_, n);
    at_ += n;
    return piece;
}

QByteArray FuzzInput::rest()
{
    return take(bytes_.size() - at_);
}

QString FuzzInput::restAsUtf16()
{
    const QByteArray units = rest();
    QString text;
    for (qsizetype i = 0; i + 1 < units.size(); i += 2)
        text += QChar(char16_t(static_cast<unsigned char>(units[i]) | static_cast<unsigned char>(units[i + 1]) << 8));
    return text;
}

QByteArray Byte(int value)
{
    return QByteArray(1, static_cast<char>(value));
}

QByteArray Int16(int value)
{
    return Byte(value) + Byte(value >> 8);
}

QByteArray Int32(int value)
{
    return Int16(value) + Int16(value >> 16);
}

QByteArray Utf16(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text)
        bytes += Int16(c.unicode());
    return bytes;
}

QString TempFolder()
{
    // In memory where the system has such a folder: targets write files on every run,
    // and writes through QSaveFile wait for the disk.
    static const QString parent = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                     : QDir::tempPath();
    static const QTemporaryDir dir(parent + QStringLiteral("/varkel-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    return dir.path() + QLatin1Char('/');
}

QString TempPath(const QString& name)
{
    return TempFolder() + name;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray ReadFile(const QString& path, qint64 offset, qint64 length)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return length < 0 ? file.readAll() : file.read(length);
}

QByteArray Patterned(qsizetype size, int seed)
{
    QByteArray b(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        b[i] = static_cast<char>((i * 131 + seed) % 251);
    return b;
}

QByteArray Reversed(QByteArray bytes)
{
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

}  // namespace varkel::fuzz
