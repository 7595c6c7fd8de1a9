// Picture banks and face bitmaps: the banks read from any main data file hold its
// bytes at their offsets (0 where the file ends), and the bitmap of any face number
// over any bank is complete: the face when the bank holds it, else blank.
//
// Input: flags (bit 0: also load the banks from a file), the face number (32 bits,
// signed), an anchor (start or end of either bank) and a signed 16-bit shift from it,
// then bytes that are the face bank and, with bit 0, sit in the file at anchor + shift.

#include "fuzz_support.h"

#include "shared/picture_banks.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace varkel::fuzz {

namespace {

enum Flags { kLoadFromFile = 1 };

constexpr qint64 kAnchors[] = {kFaceBankOffset, kFaceBankOffset + kFaceBankSize, kTreasureBankOffset,
                               kMainDataMinimumSize};
constexpr int kAnchorCount = sizeof kAnchors / sizeof kAnchors[0];

void checkBitmap(const QByteArray& faces, int face)
{
    const PictureBanks banks{faces, QByteArray()};
    int n = face;
    const QByteArray bitmap = FaceBitmapBytes(banks, n);
    const int wrapped = WrapFaceNumber(face);
    const bool inBank = wrapped >= 0 && wrapped < kFaceCount;
    FUZZ_CHECK(n == (inBank ? wrapped : face));
    FUZZ_CHECK(bitmap.size() == kSmallBitmapBytes);
    FUZZ_CHECK(bitmap.startsWith("BM"));
    FUZZ_CHECK(bitmap.mid(kBitmapHeaderBytes, kPaletteBytes) == FacePalette());
    // Bitmap rows run bottom to top.
    const qint64 base = qint64(n) * kFaceBytes;
    const bool shown = inBank && base + kFaceBytes <= faces.size();
    for (int row = 0; row < kFaceHeight; ++row) {
        const QByteArray pixels = bitmap.mid(kSmallBitmapBytes - kFaceWidth * (row + 1), kFaceWidth);
        FUZZ_CHECK(pixels == (shown ? faces.mid(base + kFaceWidth * row, kFaceWidth) : QByteArray(kFaceWidth, '\0')));
    }

    int made = face;
    FUZZ_CHECK(!MakeFaceBitmap(made, banks, TempFolder()));
    FUZZ_CHECK(made == n);
    FUZZ_CHECK(ReadFile(TempPath(kFaceBitmapName), 0, kSmallBitmapBytes) == bitmap);
}

// True when `bank`, read from [offset, offset + size) of a file that has `bytes` at
// `at` and nothing else, holds those bytes where they overlap and 0 elsewhere.
bool holds(const QByteArray& bank, qint64 offset, qint64 size, qint64 at, const QByteArray& bytes)
{
    if (bank.size() != size)
        return false;
    const qint64 from = std::clamp(at - offset, qint64(0), size);
    const qint64 to = std::clamp(at + bytes.size() - offset, from, size);
    static const QByteArray zeros(std::max(kFaceBankSize, kTreasureBankSize), '\0');
    const char* b = bank.constData();
    return std::memcmp(b, zeros.constData(), from) == 0 && std::memcmp(b + to, zeros.constData(), size - to) == 0 &&
           (to == from || std::memcmp(b + from, bytes.constData() + (offset + from - at), to - from) == 0);
}

void checkLoad(qint64 at, const QByteArray& bytes)
{
    const QString path = TempPath(QStringLiteral("g_maindy.vk"));
    {
        QFile file(path);  // sparse up to `at`
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.seek(at));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    const PictureBanks banks = PictureBanks::load(path);
    FUZZ_CHECK(holds(banks.faces, kFaceBankOffset, kFaceBankSize, at, bytes));
    FUZZ_CHECK(holds(banks.treasures, kTreasureBankOffset, kTreasureBankSize, at, bytes));
}

QByteArray header(int flags, int face, int anchor, int shift)
{
    return Byte(flags) + Int32(face) + Byte(anchor) + Int16(shift);
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    const QString mainData = demoFolder + QStringLiteral("g_maindy.vk");
    const QByteArray faces = ReadFile(mainData, kFaceBankOffset, 3 * kFaceBytes);
    const QByteArray faceBankEnd = ReadFile(mainData, kFaceBankOffset + kFaceBankSize - 200, 400);
    const QByteArray treasure = ReadFile(mainData, kTreasureBankOffset, kTreasurePictureBytes);
    const QByteArray fileEnd = ReadFile(mainData, kMainDataMinimumSize - 100, 100);
    return {header(0, 0, 0, 0) + faces,
            header(0, 2, 0, 0) + faces,
            header(0, -kFaceCount, 0, 0) + faces,      // wraps to 0
            header(0, kFaceCount + 1, 0, 0) + faces,   // wraps to 1
            header(0, 3 * kFaceCount, 0, 0) + faces,   // outside the bank: blank
            header(0, 5, 0, 0) + faces,                // a face the bank is too short for
            header(kLoadFromFile, 1, 0, 0) + faces,
            header(kLoadFromFile, 0, 0, -7) + faces.left(kFaceBytes),
            header(kLoadFromFile, 0, 1, -200) + faceBankEnd,
            header(kLoadFromFile, 0, 2, 0) + treasure,
            header(kLoadFromFile, 0, 3, -100) + fileEnd};
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    FuzzInput input(data, size);
    const int flags = input.byte();
    const int face = input.int32();
    const qint64 anchor = kAnchors[input.byte() % kAnchorCount];
    const qint64 at = std::max<qint64>(0, anchor + input.int16());
    const QByteArray bytes = input.rest();
    checkBitmap(bytes, face);
    if (flags & kLoadFromFile)
        checkLoad(at, bytes);
    return 0;
}
