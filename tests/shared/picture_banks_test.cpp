#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

int u8(const QByteArray& b, qsizetype i)
{
    return static_cast<unsigned char>(b[i]);
}

// Banks whose face n holds (n + row * 3 + column) mod 251 at each pixel, with no
// pixel 0, so every face and every row differs.
PictureBanks patternBanks()
{
    PictureBanks banks{QByteArray(kFaceBankSize, '\0'), QByteArray(kTreasureBankSize, '\0')};
    for (int n = 0; n < kFaceCount; ++n)
        for (int r = 0; r < kFaceHeight; ++r)
            for (int c = 0; c < kFaceWidth; ++c)
                banks.faces[qsizetype(n) * kFaceBytes + r * kFaceWidth + c] =
                    static_cast<char>(1 + (n + r * 3 + c) % 251);
    return banks;
}

class FaceBitmap : public ::testing::Test {
protected:
    static void SetUpTestSuite() { banks = new PictureBanks(patternBanks()); }
    static void TearDownTestSuite() { delete banks; }

    QString faceFile() const { return temp + kFaceBitmapName; }

    static PictureBanks* banks;
    QTemporaryDir dir;
    QString temp = dir.path() + QLatin1Char('/');
};

PictureBanks* FaceBitmap::banks = nullptr;

}  // namespace

TEST(BitmapHeader, SmallLayout)
{
    QByteArray b(kBitmapHeaderBytes, '\x7F');
    FillBitmapHeader(b, false);
    QByteArray expected(kBitmapHeaderBytes, '\0');
    for (auto [at, value] : {std::pair{0, 66},
                             {1, 77},
                             {2, 54},
                             {3, 24},
                             {10, 54},
                             {11, 4},
                             {14, 40},
                             {18, 64},
                             {22, 80},
                             {26, 1},
                             {28, 8}})
        expected[at] = static_cast<char>(value);
    EXPECT_EQ(b, expected);
}

TEST(BitmapHeader, LargeLayout)
{
    QByteArray b(kSmallBitmapBytes, '\x7F');
    FillBitmapHeader(b, true);
    EXPECT_EQ(u8(b, 2), 182);
    EXPECT_EQ(u8(b, 3), 116);
    EXPECT_EQ(u8(b, 18), 160);
    EXPECT_EQ(u8(b, 22), 180);
    EXPECT_EQ(u8(b, 10), 54);
    EXPECT_EQ(u8(b, 11), 4);
    for (int i : {4, 5, 6, 7, 8, 9, 12, 13, 15, 19, 23, 27, 29, 30, 53})
        EXPECT_EQ(u8(b, i), 0) << i;
    // Only the header is touched.
    EXPECT_EQ(u8(b, kBitmapHeaderBytes), 0x7F);
}

TEST(Palettes, HaveTheirSizesAndAGreenBackground)
{
    const QByteArray face = FacePalette();
    ASSERT_EQ(face.size(), 1024);
    EXPECT_EQ(face.left(4), QByteArray("\x00\xFF\x00\x00", 4));
    for (int entry = 0; entry < 256; ++entry)
        EXPECT_EQ(face[entry * 4 + 3], '\0') << entry;
    EXPECT_EQ(TreasurePalettes().size(), 81920);
}

TEST(PictureBanks, MissingFileGivesBlankBanks)
{
    const PictureBanks banks = PictureBanks::load(QStringLiteral("/nonexistent/g_maindy.vk"));
    EXPECT_EQ(banks.faces, QByteArray(kFaceBankSize, '\0'));
    EXPECT_EQ(banks.treasures, QByteArray(kTreasureBankSize, '\0'));
}

TEST(PictureBanks, ReadsBothBanksAndZeroFillsAShortFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("g_maindy.vk");
    {
        // Ends 100 bytes into the face bank.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(kFaceBankOffset));
        file.seek(kFaceBankOffset - 1);
        file.write(QByteArray(101, '\x09'));
    }
    PictureBanks banks = PictureBanks::load(path);
    ASSERT_EQ(banks.faces.size(), kFaceBankSize);
    EXPECT_EQ(banks.faces.left(100), QByteArray(100, '\x09'));
    EXPECT_EQ(banks.faces.mid(100), QByteArray(kFaceBankSize - 100, '\0'));
    EXPECT_EQ(banks.treasures, QByteArray(kTreasureBankSize, '\0'));

    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(kMainDataMinimumSize));
        file.seek(kFaceBankOffset + kFaceBankSize - 1);
        file.write("\x05");
        file.seek(kTreasureBankOffset);
        file.write("\x06");
        file.seek(kTreasureBankOffset + kTreasureBankSize - 1);
        file.write("\x07");
    }
    banks = PictureBanks::load(path);
    EXPECT_EQ(u8(banks.faces, kFaceBankSize - 1), 5);
    EXPECT_EQ(u8(banks.treasures, 0), 6);
    EXPECT_EQ(u8(banks.treasures, kTreasureBankSize - 1), 7);
}

namespace {

// A main data file of `size` bytes whose banks hold a pattern with no 0 except the
// last byte of each bank, so a file one byte short of a bank's end still holds
// all of that bank's pictures.
void writeMainData(const QString& path, qint64 size)
{
    QByteArray faces(kFaceBankSize, '\0');
    for (qsizetype i = 0; i + 1 < faces.size(); ++i)
        faces[i] = static_cast<char>(1 + (i * 7 + i / kFaceBytes) % 251);
    QByteArray treasures(kTreasureBankSize, '\0');
    for (qsizetype i = 0; i + 1 < treasures.size(); ++i)
        treasures[i] = static_cast<char>(1 + (i * 5 + i / kTreasurePictureBytes) % 251);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_TRUE(file.resize(kMainDataMinimumSize));
    ASSERT_TRUE(file.seek(kFaceBankOffset));
    ASSERT_EQ(file.write(faces), faces.size());
    ASSERT_TRUE(file.seek(kTreasureBankOffset));
    ASSERT_EQ(file.write(treasures), treasures.size());
    ASSERT_TRUE(file.resize(size));
}

}  // namespace

TEST(PictureBanks, MappedAndShortFilesGiveTheSamePictures)
{
    QTemporaryDir dir;
    const QString whole = dir.filePath("whole.vk");
    const QString noTreasureEnd = dir.filePath("no_treasure_end.vk");
    const QString noFaceEnd = dir.filePath("no_face_end.vk");
    writeMainData(whole, kMainDataMinimumSize);
    writeMainData(noTreasureEnd, kMainDataMinimumSize - 1);
    writeMainData(noFaceEnd, kFaceBankOffset + kFaceBankSize - 1);

    const PictureBanks mapped = PictureBanks::load(whole);
    const PictureBanks treasuresRead = PictureBanks::load(noTreasureEnd);  // faces mapped, treasures read
    const PictureBanks read = PictureBanks::load(noFaceEnd);               // nothing mapped
    EXPECT_NE(mapped.mapping, nullptr);
    EXPECT_NE(treasuresRead.mapping, nullptr);
    EXPECT_EQ(read.mapping, nullptr);
    for (const PictureBanks* banks : {&mapped, &treasuresRead, &read}) {
        EXPECT_EQ(banks->faces.size(), kFaceBankSize);
        EXPECT_EQ(banks->treasures.size(), kTreasureBankSize);
    }
    EXPECT_EQ(mapped.faces, read.faces);
    EXPECT_EQ(mapped.treasures, treasuresRead.treasures);
    EXPECT_EQ(read.treasures, QByteArray(kTreasureBankSize, '\0'));

    for (int n = 0; n < kFaceCount; ++n) {
        int a = n;
        int b = n;
        const QByteArray face = FaceBitmapBytes(mapped, a);
        ASSERT_NE(face.mid(kBitmapHeaderBytes + kPaletteBytes), QByteArray(kFaceBytes, '\0')) << n;
        ASSERT_EQ(face, FaceBitmapBytes(read, b)) << n;
    }
    for (int n = 0; n < kTreasurePictureCount; ++n)
        ASSERT_EQ(TreasureBitmapBytes(mapped, n), TreasureBitmapBytes(treasuresRead, n)) << n;
}

TEST(PictureBanks, ACopyKeepsTheMappedBanksReadable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("g_maindy.vk");
    writeMainData(path, kMainDataMinimumSize);
    auto loaded = std::make_unique<PictureBanks>(PictureBanks::load(path));
    ASSERT_NE(loaded->mapping, nullptr);
    const PictureBanks copy = *loaded;
    int n = 845;
    const QByteArray expected = FaceBitmapBytes(*loaded, n);
    loaded.reset();
    EXPECT_EQ(FaceBitmapBytes(copy, n), expected);
    EXPECT_EQ(u8(copy.treasures, kTreasureBankSize - 2), 1 + ((kTreasureBankSize - 2) * 5 + 79) % 251);
}

TEST(WrapFaceNumber, CorrectsOnceEachWay)
{
    EXPECT_EQ(WrapFaceNumber(-1), 845);
    EXPECT_EQ(WrapFaceNumber(-846), 0);
    EXPECT_EQ(WrapFaceNumber(0), 0);
    EXPECT_EQ(WrapFaceNumber(845), 845);
    EXPECT_EQ(WrapFaceNumber(846), 0);
    EXPECT_EQ(WrapFaceNumber(1691), 845);
    EXPECT_EQ(WrapFaceNumber(1692), 846);
    EXPECT_EQ(WrapFaceNumber(-847), -1);
}

TEST_F(FaceBitmap, WritesTheCompleteBitmapOfFaceZero)
{
    int n = 0;
    ASSERT_FALSE(MakeFaceBitmap(n, *banks, temp).has_value());
    const QByteArray file = test::FileBytes(faceFile());
    ASSERT_EQ(file.size(), 6198);
    QByteArray header = file.left(kBitmapHeaderBytes);
    QByteArray expectedHeader(kBitmapHeaderBytes, '\0');
    FillBitmapHeader(expectedHeader, false);
    EXPECT_EQ(header, expectedHeader);
    EXPECT_EQ(file.mid(54, 1024), FacePalette());
    EXPECT_EQ(u8(file, 6134), u8(banks->faces, 0));
}

TEST_F(FaceBitmap, StoresRowsBottomUp)
{
    int n = 300;
    const QByteArray bitmap = FaceBitmapBytes(*banks, n);
    const QByteArray face = banks->faces.mid(300 * kFaceBytes, kFaceBytes);
    for (int r = 0; r < kFaceHeight; ++r)
        ASSERT_EQ(bitmap.mid(6134 - 64 * r, 64), face.mid(64 * r, 64)) << "row " << r;
    // The last face row is the first bitmap row.
    EXPECT_EQ(bitmap.mid(54 + 1024, 64), face.right(64));
}

TEST_F(FaceBitmap, WrapsTheNumberInPlace)
{
    for (auto [asked, shown] : {std::pair{-1, 845}, {846, 0}, {845, 845}, {1000, 154}}) {
        int n = asked;
        ASSERT_FALSE(MakeFaceBitmap(n, *banks, temp).has_value());
        EXPECT_EQ(n, shown);
        int same = shown;
        EXPECT_EQ(test::FileBytes(faceFile()), FaceBitmapBytes(*banks, same)) << asked;
    }
}

TEST_F(FaceBitmap, NumberOutsideTheBankGivesABlankFace)
{
    for (int asked : {-847, 1692, 5000}) {
        int n = asked;
        const QByteArray bitmap = FaceBitmapBytes(*banks, n);
        EXPECT_EQ(n, asked);  // kept, so a record holding it is stored back unchanged
        ASSERT_EQ(bitmap.size(), kSmallBitmapBytes);
        EXPECT_EQ(bitmap.left(2), QByteArray("BM"));
        EXPECT_EQ(bitmap.mid(54, 1024), FacePalette());
        EXPECT_EQ(bitmap.mid(1078), QByteArray(kFaceBytes, '\0')) << asked;
    }
}

TEST_F(FaceBitmap, ABankTooShortForTheFaceGivesABlankFace)
{
    PictureBanks empty;
    int n = 5;
    EXPECT_EQ(FaceBitmapBytes(empty, n).mid(1078), QByteArray(kFaceBytes, '\0'));
}

TEST_F(FaceBitmap, TheSecondFaceReplacesTheFirst)
{
    int first = 1;
    int second = 2;
    ASSERT_FALSE(MakeFaceBitmap(first, *banks, temp).has_value());
    ASSERT_FALSE(MakeFaceBitmap(second, *banks, temp).has_value());
    int expected = 2;
    EXPECT_EQ(test::FileBytes(faceFile()), FaceBitmapBytes(*banks, expected));
}

TEST_F(FaceBitmap, OverwritesTheStartOfALongerFileWithoutTruncating)
{
    ASSERT_TRUE(test::WriteFileBytes(faceFile(), QByteArray(7000, '\x11')));
    int n = 3;
    ASSERT_FALSE(MakeFaceBitmap(n, *banks, temp).has_value());
    const QByteArray file = test::FileBytes(faceFile());
    ASSERT_EQ(file.size(), 7000);
    EXPECT_EQ(file.left(kSmallBitmapBytes), FaceBitmapBytes(*banks, n));
}

#ifndef Q_OS_WIN
// What another user planted under the bitmap's name is refused, not written
// through: a link's target keeps its bytes, a link to nothing makes no file, and
// nothing blocks.
TEST_F(FaceBitmap, IsNeverWrittenThroughWhatStandsInItsPlace)
{
    const QString target = temp + "theirs.txt";
    struct Row {
        const char* what;
        std::function<void()> plant;
        QByteArray targetAfter;  // empty: no target file
    };
    const std::vector<Row> rows = {
        {"a link to another's file",
         [&] {
             ASSERT_TRUE(test::WriteFileBytes(target, "their bytes"));
             ASSERT_TRUE(QFile::link(target, faceFile()));
         },
         "their bytes"},
        {"a link to nothing", [&] { ASSERT_TRUE(QFile::link(target, faceFile())); }, {}},
        {"a pipe", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(faceFile()).constData(), 0600), 0); }, {}},
        {"a folder", [&] { ASSERT_TRUE(QDir().mkdir(faceFile())); }, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(target);
        QFile::remove(faceFile());
        QDir().rmdir(faceFile());
        row.plant();
        int n = 0;
        const auto error = MakeFaceBitmap(n, *banks, temp);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number, 75);
        EXPECT_EQ(QFile::exists(target), !row.targetAfter.isEmpty());
        EXPECT_EQ(test::FileBytes(target), row.targetAfter);
    }
}
#endif

TEST_F(FaceBitmap, AnUnwritableFolderIsReported)
{
    int n = 0;
    const auto error = MakeFaceBitmap(n, *banks, temp + "missing/");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 75);
    EXPECT_TRUE(error->message().startsWith("75-"));
    EXPECT_TRUE(error->description().contains("tsmall.bmp"));
}
