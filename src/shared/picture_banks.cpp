#include "shared/picture_banks.h"

#include "shared/file_io.h"

#include <QFile>

#include <cstring>

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
    PictureBanks banks{QByteArray(kFaceBankSize, '\0'), QByteArray(kTreasureBankSize, '\0')};
    QFile file;
    if (OpenRegularFile(file, mainDataPath)) {
        readBlock(file, kFaceBankOffset, banks.faces);
        readBlock(file, kTreasureBankOffset, banks.treasures);
    }
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
    if (!file.open(QIODevice::ReadWrite) || file.write(bitmap) != bitmap.size() || !file.flush())
        return RuntimeError::fileAccess(path, file.errorString());
    return std::nullopt;
}

std::optional<RuntimeError> MakeFaceBitmap(int& n, const PictureBanks& banks, const QString& tempFolder)
{
    return WriteTempBitmap(tempFolder + kFaceBitmapName, FaceBitmapBytes(banks, n));
}

}  // namespace varkel
