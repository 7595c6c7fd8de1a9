#pragma once

#include "shared/runtime_error.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QFile;

namespace varkel {

// Where the face and treasure picture banks lie in "g_maindy.vk".
inline constexpr qint64 kFaceBankOffset = 24'374'192;
inline constexpr qint64 kFaceBankSize = 4'331'521;  // 846 faces and one unused byte
inline constexpr qint64 kTreasureBankOffset = 60'798'612;
inline constexpr qint64 kTreasureBankSize = 1'152'000;
inline constexpr qint64 kMainDataMinimumSize = kTreasureBankOffset + kTreasureBankSize;

inline constexpr int kFaceCount = 846;
inline constexpr int kFaceWidth = 64;
inline constexpr int kFaceHeight = 80;
inline constexpr int kFaceBytes = kFaceWidth * kFaceHeight;
inline constexpr int kTreasurePictureCount = 80;
inline constexpr int kTreasurePictureSide = 120;
inline constexpr int kTreasurePictureBytes = kTreasurePictureSide * kTreasurePictureSide;

inline constexpr int kPaletteBytes = 1024;
inline constexpr int kBitmapHeaderBytes = 54;
inline constexpr int kSmallBitmapBytes = kBitmapHeaderBytes + kPaletteBytes + kFaceBytes;  // 6,198
inline constexpr int kTreasureBitmapBytes = kBitmapHeaderBytes + kPaletteBytes + kTreasurePictureBytes;  // 15,478

inline const QString kFaceBitmapName = QStringLiteral("tsmall.bmp");
inline const QString kTreasureBitmapName = QStringLiteral("tBaowu.bmp");

struct PictureBanks {
    QByteArray faces;      // kFaceBankSize bytes
    QByteArray treasures;  // kTreasureBankSize bytes
    // The open file whose read-only memory map `faces` and `treasures` view when
    // load() mapped them; null when they hold their own bytes. The views stay
    // valid while this struct or a copy of it lives; a QByteArray copied out of a
    // mapped bank alone shares the mapped bytes and must not outlive them.
    std::shared_ptr<const QFile> mapping{};

    // Maps each bank the file covers in full and views it in place, so start-up
    // copies nothing; a bank the file does not cover is read into zeroed memory,
    // and a missing file gives all 0, which draws blank pictures.
    static PictureBanks load(const QString& mainDataPath);
};

// The program's own palettes: the face palette (256 entries of blue, green, red, 0)
// and the 80 treasure palettes, one after another.
QByteArray FacePalette();
QByteArray TreasurePalettes();

// Brings -846..-1 and 846..1691 into the bank with one correction each way.
int WrapFaceNumber(int n);

// Writes the bitmap header for 64 x 80 (small) or 160 x 180 (large) pixels into
// the first 54 bytes of `bitmap`, which must be at least that long.
void FillBitmapHeader(QByteArray& bitmap, bool large);
void FillBitmapHeader(QByteArray& bitmap, int width, int height);

// An 8-bit bitmap file of `width` x `height` pixels: header, the 1,024-byte
// `palette`, then `pixels` (given top row first, stored bottom row first); all
// pixels 0 when `pixels` is null.
QByteArray IndexedBitmap(int width, int height, const char* palette, const char* pixels);

// The complete 6,198-byte bitmap of face `n`. `n` is wrapped in place; a number
// still outside the bank gives a blank face and is left as it was.
QByteArray FaceBitmapBytes(const PictureBanks& banks, int& n);

// The 15,478-byte bitmap of treasure picture `n` (0..79) drawn with its own
// palette; a number outside the bank gives a blank picture.
QByteArray TreasureBitmapBytes(const PictureBanks& banks, int n);

// Writes a bitmap over the temporary file at `path` from its first byte. A link
// or anything else but a regular file under that name is refused, never followed.
std::optional<RuntimeError> WriteTempBitmap(const QString& path, const QByteArray& bitmap);

// Builds face `n` and writes it to tempFolder + "tsmall.bmp". Returns the error
// when the file cannot be written.
std::optional<RuntimeError> MakeFaceBitmap(int& n, const PictureBanks& banks, const QString& tempFolder);

}  // namespace varkel
