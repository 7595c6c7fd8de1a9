#include "shared/picture_banks.h"

#include "shared/file_io.h"

#include <QFile>

#include <cstring>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace varkel {

namespace {

// Fills `block` from `offset`; what the file does not cover (or cannot give) stays 0.
void readBlock(QFile& file, qint64 offset, QByteArray& block)
{
    if (!file.seek(offset))
        return;
    if (const auto bytes = ReadUpTo(FileIo::direct(), file, block.size()))
        std::memcpy(block.data(), bytes->constData(), bytes->size());
}

// The bank of `bankSize` bytes at `offset`: a view into the mapped file when the
// file covers all of it, else a zeroed block filled with what the file holds.
//
// A mapped page whose bytes another program cuts off (truncating this very file
// in place while we run) faults on access (SIGBUS) instead of reading 0. The game
// only reads this file, and a file written anew under the name (renamed over it)
// leaves our mapping of the old one intact, so that rare case is accepted for a
// start-up that copies nothing. The size test keeps a file already short off the
// map; on Windows a mapped file cannot be truncated at all.
QByteArray bankOf(QFile& file, qint64 fileSize, qint64 offset, qint64 bankSize, bool& mapped)
{
    if (fileSize >= offset + bankSize) {
        if (const uchar* bytes = file.map(offset, bankSize)) {
            mapped = true;
            return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), bankSize);
        }
    }
    QByteArray block(bankSize, '\0');
    readBlock(file, offset, block);
    return block;
}

QByteArray resource(const QString& path, qsizetype expectedSize)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    bytes.resize(expectedSize, '\0');
    return bytes;
}

void put16(QByteArray& b, int at, int value)
{
    b[at] = static_cast<char>(value & 0xFF);
    b[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

}  // namespace

PictureBanks PictureBanks::load(const QString& mainDataPath)
{
    auto file = std::make_shared<QFile>();
    if (!OpenRegularFile(*file, mainDataPath))
        return PictureBanks{QByteArray(kFaceBankSize, '\0'), QByteArray(kTreasureBankSize, '\0')};
    const qint64 size = file->size();
    bool mapped = false;
    PictureBanks banks;
    banks.faces = bankOf(*file, size, kFaceBankOffset, kFaceBankSize, mapped);
    banks.treasures = bankOf(*file, size, kTreasureBankOffset, kTreasureBankSize, mapped);
    if (mapped)
        banks.mapping = std::move(file);
    return banks;
}

QByteArray FacePalette()
{
    static const QByteArray palette = resource(QStringLiteral(":/palettes/face.pal"), kPaletteBytes);
    return palette;
}

QByteArray TreasurePalettes()
{
    static const QByteArray palettes =
        resource(QStringLiteral(":/palettes/treasures.pal"), kPaletteBytes * kTreasurePictureCount);
    return palettes;
}

int WrapFaceNumber(int n)
{
    if (n < 0)
        n += kFaceCount;
    if (n > kFaceCount - 1)
        n -= kFaceCount;
    return n;
}

void FillBitmapHeader(QByteArray& bitmap, bool large)
{
    FillBitmapHeader(bitmap, large ? 160 : kFaceWidth, large ? 180 : kFaceHeight);
}

void FillBitmapHeader(QByteArray& bitmap, int width, int height)
{
    Q_ASSERT(bitmap.size() >= kBitmapHeaderBytes);
    std::memset(bitmap.data(), 0, kBitmapHeaderBytes);
    const int fileSize = kBitmapHeaderBytes + kPaletteBytes + width * height;
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    put16(bitmap, 2, fileSize & 0xFFFF);  // only the low 16 bits, as the game's tools write it
    put16(bitmap, 10, kBitmapHeaderBytes + kPaletteBytes);
    bitmap[14] = 40;
    bitmap[18] = static_cast<char>(width);
    bitmap[22] = static_cast<char>(height);
    bitmap[26] = 1;
    bitmap[28] = 8;
}

QByteArray IndexedBitmap(int width, int height, const char* palette, const char* pixels)
{
    QByteArray bitmap(kBitmapHeaderBytes + kPaletteBytes + width * height, '\0');
    FillBitmapHeader(bitmap, width, height);
    std::memcpy(bitmap.data() + kBitmapHeaderBytes, palette, kPaletteBytes);
    if (pixels) {
        // Pictures are stored top row first; bitmap rows bottom row first.
        const qsizetype lastRow = bitmap.size() - width;
        for (int r = 0; r < height; ++r)
            std::memcpy(bitmap.data() + lastRow - qsizetype(width) * r, pixels + qsizetype(width) * r, width);
    }
    return bitmap;
}

QByteArray FaceBitmapBytes(const PictureBanks& banks, int& n)
{
    // A number still outside the bank after one correction is damaged data: it
    // shows blank and stays as stored, so saving the record does not change it.
    if (const int wrapped = WrapFaceNumber(n); wrapped >= 0 && wrapped < kFaceCount)
        n = wrapped;
    const qint64 base = qint64(n) * kFaceBytes;
    const bool inBank = n >= 0 && n < kFaceCount && base + kFaceBytes <= banks.faces.size();
    return IndexedBitmap(kFaceWidth, kFaceHeight, FacePalette().constData(),
                         inBank ? banks.faces.constData() + base : nullptr);
}

QByteArray TreasureBitmapBytes(const PictureBanks& banks, int n)
{
    const qint64 base = qint64(n) * kTreasurePictureBytes;
    const bool inBank = n >= 0 && n < kTreasurePictureCount && base + kTreasurePictureBytes <= banks.treasures.size();
    const int palette = inBank ? n : 0;
    return IndexedBitmap(kTreasurePictureSide, kTreasurePictureSide,
                         TreasurePalettes().constData() + qsizetype(kPaletteBytes) * palette,
                         inBank ? banks.treasures.constData() + base : nullptr);
}

std::optional<RuntimeError> WriteTempBitmap(const QString& path, const QByteArray& bitmap)
{
    QFile file(path);
    // Opened without truncation: the file is never shorter than the bitmap.
#ifdef Q_OS_WIN
    if (!file.open(QIODevice::ReadWrite))
        return RuntimeError::fileAccess(path, file.errorString());
#else
    // Never through a link, and only into a regular file (a pipe would block the
    // open without O_NONBLOCK): what stands under the name is written, nothing else.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return RuntimeError::fileAccess(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return RuntimeError::fileAccess(path, QStringLiteral("not a regular file"));
    }
    if (!file.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return RuntimeError::fileAccess(path, file.errorString());
    }
#endif
    if (file.write(bitmap) != bitmap.size() || !file.flush())
        return RuntimeError::fileAccess(path, file.errorString());
    return std::nullopt;
}

std::optional<RuntimeError> MakeFaceBitmap(int& n, const PictureBanks& banks, const QString& tempFolder)
{
    return WriteTempBitmap(tempFolder + kFaceBitmapName, FaceBitmapBytes(banks, n));
}

}  // namespace varkel
