#include "shared/name_field.h"

#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

// Big5 codes of the characters the tests use.
const QByteArray kZhang("\xB1\x69", 2);  // 張
const QByteArray kFei("\xAD\xB8", 2);    // 飛
const QByteArray kGuan("\xC3\xF6", 2);   // 關
const QByteArray kYu("\xA6\xD0", 2);     // 羽
const QByteArray kLiu("\xBC\x42", 2);    // 劉
const QByteArray kIdeographicSpace("\xA1\x40", 2);

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// A buffer of `size` bytes filled with `fill`, with `field` written at `at`.
QByteArray bufferWith(const QByteArray& field, qsizetype at = 0, qsizetype size = 32, char fill = '\x55')
{
    QByteArray b(size, fill);
    b.replace(at, field.size(), field);
    return b;
}

}  // namespace

TEST(ReadNameField, DecodesBig5SlotsUpToTheTerminator)
{
    const QByteArray buffer = bufferWith(kZhang + kFei + QByteArray(1, '\0') + kGuan, 3);
    EXPECT_EQ(ReadNameField(buffer, 3, 8), QStringLiteral("張飛"));
}

TEST(ReadNameField, FirstByteZeroGivesAnEmptyName)
{
    EXPECT_EQ(ReadNameField(bufferWith(QByteArray(1, '\0') + kZhang), 0, 8), QString());
    EXPECT_EQ(ReadNameField(QByteArray(10, '\0'), 0, 8), QString());
}

TEST(ReadNameField, OnlyLeadBytesEndTheName)
{
    // A0 00 is no character, but a zero trail byte does not end the name.
    const QString name = ReadNameField(bufferWith(kZhang + bytes({0xA4, 0x00}) + kFei + QByteArray(1, '\0')), 0, 8);
    ASSERT_EQ(name.size(), 3);
    EXPECT_EQ(name[0], QChar(0x5F35));
    EXPECT_EQ(name[2], QChar(0x98DB));
}

TEST(ReadNameField, LastOffsetLimitsTheSlotsRead)
{
    const QByteArray six = kZhang + kFei + kGuan + kYu + kLiu + kZhang;
    EXPECT_EQ(ReadNameField(bufferWith(six), 0, 8), QStringLiteral("張飛關羽劉"));
    EXPECT_EQ(ReadNameField(bufferWith(six), 0, 4), QStringLiteral("張飛關"));
    EXPECT_EQ(ReadNameField(bufferWith(kZhang + kFei + kGuan + kYu + QByteArray(1, '\0')), 0, 8),
              QStringLiteral("張飛關羽"));
}

TEST(ReadNameField, NeverReadsBeyondStartPlusLastOffsetPlusOne)
{
    // Five characters fill bytes 0..9 exactly; the buffer ends there.
    const QByteArray exact = kZhang + kFei + kGuan + kYu + kLiu;
    EXPECT_EQ(ReadNameField(exact, 0, 8), QStringLiteral("張飛關羽劉"));
    // Whatever follows byte start + 9 is not part of the name.
    EXPECT_EQ(ReadNameField(exact + kZhang, 0, 8), ReadNameField(exact + kFei, 0, 8));
}

TEST(ReadNameField, StopsAtTheEndOfTheBuffer)
{
    const QByteArray buffer = bytes({0, 0}) + kZhang + kFei;
    EXPECT_EQ(ReadNameField(buffer, 2, 8), QStringLiteral("張飛"));
    // A lead byte in the last byte of the buffer: its trail is missing, not read.
    const QString cut = ReadNameField(buffer + bytes({0xB1}), 2, 8);
    EXPECT_EQ(cut.left(2), QStringLiteral("張飛"));
    EXPECT_EQ(cut.size(), 3);
    EXPECT_EQ(ReadNameField(buffer, buffer.size(), 8), QString());
    EXPECT_EQ(ReadNameField(buffer, buffer.size() + 100, 8), QString());
    EXPECT_EQ(ReadNameField(buffer, -4, 8), QString());
    EXPECT_EQ(ReadNameField(QByteArray(), 0, 8), QString());
}

TEST(ReadNameField, RemovesTrailingAsciiSpacesOnly)
{
    EXPECT_EQ(ReadNameField(bufferWith(kZhang + "  " + QByteArray(1, '\0')), 0, 8), QStringLiteral("張"));
    EXPECT_EQ(ReadNameField(bufferWith(kZhang + kIdeographicSpace + QByteArray(1, '\0')), 0, 8),
              QStringLiteral("張　"));
    EXPECT_EQ(ReadNameField(bufferWith("  " + kZhang + QByteArray(1, '\0')), 0, 8), QStringLiteral("  張"));
    EXPECT_EQ(ReadNameField(bufferWith(kIdeographicSpace + kZhang + QByteArray(1, '\0')), 0, 8),
              QStringLiteral("　張"));
}

TEST(ReadNameField, DuplicateCodesDecodeToTheSameCharacter)
{
    EXPECT_EQ(ReadNameField(bytes({0xA2, 0xCC, 0}), 0, 8), QStringLiteral("十"));
    EXPECT_EQ(ReadNameField(bytes({0xA4, 0x51, 0}), 0, 8), QStringLiteral("十"));
}

TEST(ReadNameField, UnmappedCodesGiveTheReplacementCharacter)
{
    EXPECT_EQ(ReadNameField(bytes({0xFF, 0xFF, 0}), 0, 8), QString(QChar(0xFFFD)));
}

TEST(WriteNameField, WritesCodesAndOneTerminator)
{
    QByteArray buffer(16, '\x77');
    WriteNameField(buffer, 2, QStringLiteral("張飛"));
    EXPECT_EQ(buffer, QByteArray(2, '\x77') + kZhang + kFei + QByteArray(1, '\0') + QByteArray(9, '\x77'));
}

TEST(WriteNameField, RoundTripsThroughReadNameField)
{
    for (const QString& name :
         {QStringLiteral("關羽"), QStringLiteral("劉備張飛關"), QStringLiteral("　張"), QStringLiteral("十")}) {
        QByteArray buffer(11, '\x33');
        WriteNameField(buffer, 0, name);
        EXPECT_EQ(ReadNameField(buffer, 0, 8), name);
    }
}

TEST(WriteNameField, EmptyTextWritesOnlyTheTerminator)
{
    QByteArray buffer = bufferWith(kZhang + kFei, 0, 8);
    WriteNameField(buffer, 0, QString());
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer.mid(1, 3), kZhang.mid(1) + kFei);
    EXPECT_EQ(ReadNameField(buffer, 0, 8), QString());
}

TEST(WriteNameField, SingleByteCharactersLeaveTheirSlotUntouched)
{
    QByteArray buffer = bufferWith(kGuan + kYu + kLiu + QByteArray(1, '\0'), 0, 12, '\x11');
    WriteNameField(buffer, 0, QStringLiteral("張A飛"));
    EXPECT_EQ(buffer.left(6), kZhang + kYu + kFei);
    EXPECT_EQ(buffer[6], '\0');
    EXPECT_EQ(buffer.mid(7), QByteArray(5, '\x11'));
}

TEST(WriteNameField, DropsBytesBeyondTheBuffer)
{
    QByteArray buffer(3, '\x44');
    WriteNameField(buffer, 0, QStringLiteral("張飛"));
    EXPECT_EQ(buffer, kZhang + QByteArray(1, static_cast<char>(0xAD)));
    QByteArray empty;
    WriteNameField(empty, 5, QStringLiteral("張"));
    EXPECT_TRUE(empty.isEmpty());
}

TEST(WriteNameFieldIfChanged, KeepsTheBytesOfAnUntouchedName)
{
    // A2 CC is the duplicate of A4 51; written fresh, 十 would become A4 51.
    const QByteArray original = bytes({0xA2, 0xCC, 0}) + kZhang + QByteArray(5, '\0');
    QByteArray buffer = original;
    WriteNameFieldIfChanged(buffer, 0, 8, ReadNameField(buffer, 0, 8));
    EXPECT_EQ(buffer, original);

    WriteNameField(buffer, 0, QStringLiteral("十"));
    EXPECT_EQ(buffer.left(3), bytes({0xA4, 0x51, 0}));
}

TEST(WriteNameFieldIfChanged, KeepsDamagedCodesAndTrailingSpaceSlots)
{
    const QByteArray damaged = bytes({0xFF, 0xFF}) + kZhang + bytes({0});
    QByteArray buffer = damaged;
    WriteNameFieldIfChanged(buffer, 0, 8, ReadNameField(buffer, 0, 8));
    EXPECT_EQ(buffer, damaged);

    const QByteArray spaced = kZhang + "  " + bytes({0});
    buffer = spaced;
    WriteNameFieldIfChanged(buffer, 0, 8, QStringLiteral("張"));
    EXPECT_EQ(buffer, spaced);
}

TEST(WriteNameFieldIfChanged, WritesAChangedName)
{
    QByteArray buffer = kZhang + kFei + QByteArray(7, '\0');
    WriteNameFieldIfChanged(buffer, 0, 8, QStringLiteral("關"));
    EXPECT_EQ(buffer.left(3), kGuan + QByteArray(1, '\0'));
    EXPECT_EQ(ReadNameField(buffer, 0, 8), QStringLiteral("關"));
}

TEST(PadRight, FillsToTheWidthWithIdeographicSpaces)
{
    const QChar space(0x3000);
    EXPECT_EQ(PadRight(QStringLiteral("張"), 8), QStringLiteral("張") + QString(3, space));
    EXPECT_EQ(PadRight(QStringLiteral("張飛"), 8), QStringLiteral("張飛") + QString(2, space));
    EXPECT_EQ(PadRight(QStringLiteral("張飛關"), 8), QStringLiteral("張飛關") + QString(1, space));
    EXPECT_EQ(PadRight(QStringLiteral("張飛關羽"), 8), QStringLiteral("張飛關羽"));
    EXPECT_EQ(PadRight(QString(), 8), QString(4, space));
    // An odd width rounds up.
    EXPECT_EQ(PadRight(QStringLiteral("張"), 5), QStringLiteral("張") + QString(2, space));
}

TEST(PadRight, LeavesLongerTextUnchanged)
{
    EXPECT_EQ(PadRight(QStringLiteral("張飛關羽劉"), 8), QStringLiteral("張飛關羽劉"));
    EXPECT_EQ(PadRight(QStringLiteral("張飛"), 0), QStringLiteral("張飛"));
}

TEST(TacticLevelNibble, MapsToListIndexAndBack)
{
    for (int n = 0; n <= 7; ++n)
        EXPECT_EQ(NibbleToListIndex(n), 0) << n;
    EXPECT_EQ(NibbleToListIndex(8), 1);
    EXPECT_EQ(NibbleToListIndex(13), 6);
    EXPECT_EQ(ListIndexToNibble(0), 0);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(ListIndexToNibble(i), i + 7);
        EXPECT_EQ(NibbleToListIndex(ListIndexToNibble(i)), i);
    }
}

TEST(NumberedItems, FormatAndParse)
{
    EXPECT_EQ(FormatNumber(7, 3), QStringLiteral("007"));
    EXPECT_EQ(FormatNumber(845, 3), QStringLiteral("845"));
    EXPECT_EQ(FormatNumber(1720, 3), QStringLiteral("1720"));
    EXPECT_EQ(FormatNumber(5, 2), QStringLiteral("05"));
    EXPECT_EQ(FormatNumber(0, 2), QStringLiteral("00"));

    const QString item = NumberedItem(12, 3, QStringLiteral("張飛"));
    EXPECT_EQ(item, QStringLiteral("012:張飛"));
    EXPECT_EQ(ItemNumber(item), 12);
    EXPECT_EQ(ItemName(item), QStringLiteral("張飛"));
    EXPECT_EQ(ItemNumber(QStringLiteral("1720:")), 1720);
    EXPECT_EQ(ItemName(QStringLiteral("03:a:b")), QStringLiteral("a:b"));
    EXPECT_EQ(ItemNumber(QStringLiteral("張飛")), -1);
    EXPECT_EQ(ItemNumber(QStringLiteral(":張飛")), -1);
    EXPECT_EQ(ItemNumber(QStringLiteral("x1:張飛")), -1);
    EXPECT_EQ(ItemName(QStringLiteral("張飛")), QString());
}
