#include "demo_folder/demo_game_files.h"
#include "person/member_record.h"
#include "shared/bytes.h"
#include "shared/number_fields.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <vector>

using namespace varkel;

namespace {

// The record sits between two others, so a write outside it shows.
constexpr qsizetype R = 148;

QByteArray zeroRecords()
{
    return QByteArray(3 * member::kRecordSize, '\0');
}

// The bytes outside the record, and those inside that no field owns.
void expectUnownedBytesKept(const QByteArray& b, const QByteArray& original)
{
    for (qsizetype i = 0; i < b.size(); ++i) {
        const qsizetype at = i - R;
        const bool owned = (at >= 0 && at < 35) || (at >= 36 && at < 46) || at == 48 || at == 49 ||
                           (at >= 52 && at <= 57) || at == 59 || (at >= 62 && at <= 65) || at == 111 ||
                           (at >= 116 && at <= 127);
        if (!owned) {
            ASSERT_EQ(byteAt(b, i), byteAt(original, i)) << "byte " << at;
        }
    }
}

}  // namespace

TEST(MemberRecord, GrowthTendencyIsStoredInItsPlainFormOnlyWhenChanged)
{
    struct Row {
        const char* what;
        int b53, b54, b59;
        int growth;
        int want53, want54, want59;
    };
    // Bytes 53, 54 and 59 also hold other fields, whose bits stay as they are.
    const std::vector<Row> rows = {
        {"0 -> 5", 0x5F, 0xE4, 0xA4, 5, 0xDF, 0xE6, 0xA4},
        {"1 -> 8: bit 7 of 53 cleared, 54 kept", 0xDF, 0xE4, 0xA4, 8, 0x5F, 0xE4, 0xA6},
        {"7 -> 8 with bit 0 of 59 set: the mark is exactly 2", 0xD0, 0x03, 0xA5, 8, 0x50, 0x03, 0xA6},
        {"8 -> 5", 0x50, 0x01, 0xA6, 5, 0xD0, 0x02, 0xA4},
        {"8 -> 0", 0xD0, 0x03, 0x06, 0, 0x50, 0x00, 0x04},
        {"a lost mark (59 bits 3) reads 3 -> 4: bit 1 cleared, bit 0 kept", 0x80, 0x01, 0x03, 4, 0x00, 0x02, 0x01},
        {"8 left as it was keeps bit 7 of 53", 0xD0, 0x03, 0xA6, 8, 0xD0, 0x03, 0xA6},
        {"3 with a lost mark left as it was", 0x80, 0x01, 0x03, 3, 0x80, 0x01, 0x03},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray b = zeroRecords();
        setByte(b, R + 53, row.b53);
        setByte(b, R + 54, row.b54);
        setByte(b, R + 59, row.b59);
        MemberRecord m = DecodeMemberRecord(b, R);
        m.growthTendency = row.growth;
        EncodeMemberRecord(b, R, m);
        EXPECT_EQ(byteAt(b, R + 53), row.want53);
        EXPECT_EQ(byteAt(b, R + 54), row.want54);
        EXPECT_EQ(byteAt(b, R + 59), row.want59);
        EXPECT_EQ(DecodeMemberRecord(b, R).growthTendency, row.growth);
    }
}

TEST(MemberRecord, TendenciesReadFromTheirBits)
{
    struct Row {
        int b53, b54, b59;
        int growth, strategic, character, personality, aspiration;
    };
    const std::vector<Row> rows = {
        {0x00, 0x00, 0x00, 0, 0, 0, 0, 0}, {0xEC, 0x02, 0x00, 5, 6, 3, 0, 0},  // growth 2 * 2 + 1; strategic from g - 8
        {0x70, 0x03, 0x02, 8, 7, 0, 0, 0},  // strategic 7 lies outside the list: kept raw
        {0x04, 0x01, 0x9C, 2, 0, 1, 4, 4},  // bit 4 makes the personality 4 whatever bits 3-2 hold
        {0x00, 0x00, 0xEB, 0, 0, 0, 2, 7},  // bits 1-0 = 3 is no mark; aspiration 7 raw
    };
    for (const Row& row : rows) {
        QByteArray b = zeroRecords();
        setByte(b, R + 53, row.b53);
        setByte(b, R + 54, row.b54);
        setByte(b, R + 59, row.b59);
        const MemberRecord m = DecodeMemberRecord(b, R);
        SCOPED_TRACE(testing::Message() << std::hex << row.b53 << " " << row.b54 << " " << row.b59);
        EXPECT_EQ(m.growthTendency, row.growth);
        EXPECT_EQ(m.strategicTendency, row.strategic);
        EXPECT_EQ(m.characterTendency, row.character);
        EXPECT_EQ(m.personality, row.personality);
        EXPECT_EQ(m.aspiration, row.aspiration);
    }
}

TEST(MemberRecord, PersonalityIsStoredInItsPlainFormOnlyWhenChanged)
{
    struct Row {
        int b59;
        int personality;
        int want59;
    };
    const std::vector<Row> rows = {
        {0xA0, 4, 0xB0},  // bit 4, bits 3-2 clear
        {0xAD, 4, 0xB1},  // 3 -> 4, bit 0 kept
        {0xB0, 2, 0xA8}, {0xBC, 4, 0xBC},  // reads 4 and stays 4: its bits 3-2 stay too
        {0xBC, 1, 0xA4}, {0x0A, 3, 0x0E},  // with the "提督" mark, which stays
        {0x0A, 0, 0x02},
    };
    for (const Row& row : rows) {
        QByteArray b = zeroRecords();
        setByte(b, R + 59, row.b59);
        const int growth = DecodeMemberRecord(b, R).growthTendency;
        MemberRecord m = DecodeMemberRecord(b, R);
        m.personality = row.personality;
        EncodeMemberRecord(b, R, m);
        EXPECT_EQ(byteAt(b, R + 59), row.want59) << std::hex << row.b59 << " -> " << row.personality;
        EXPECT_EQ(DecodeMemberRecord(b, R).personality, row.personality);
        EXPECT_EQ(DecodeMemberRecord(b, R).growthTendency, growth);
    }
}

TEST(MemberRecord, LifespanHalvesShareByte111WithKeptBits)
{
    struct Row {
        int b111;
        int halves;  // as stored back
        int want111;
        const char* shown;
    };
    const std::vector<Row> rows = {
        {0xF3, 15, 0xF3, "7.5"}, {0xF3, 14, 0xE3, "7.5"}, {0x5A, 6, 0x6A, "2.5"},
        {0x4C, 4, 0x4C, "2"},    {0x0F, 0, 0x0F, "0"},    {0x1F, 1, 0x1F, "0.5"},
    };
    FieldSpec inHalves;
    inHalves.halves = true;
    for (const Row& row : rows) {
        QByteArray b = zeroRecords();
        setByte(b, R + 111, row.b111);
        MemberRecord m = DecodeMemberRecord(b, R);
        EXPECT_EQ(NumberText(inHalves, m.lifespanHalves), QString::fromLatin1(row.shown));
        m.lifespanHalves = row.halves;
        EncodeMemberRecord(b, R, m);
        EXPECT_EQ(byteAt(b, R + 111), row.want111) << std::hex << row.b111;
    }
}

TEST(MemberRecord, EncodingKeepsEveryBitNoFieldOwns)
{
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const QByteArray original = test::RandomBytes(3 * member::kRecordSize, seed);
        QByteArray b = original;
        // Every owned field to zero, growth to one that is no "提督".
        MemberRecord m;
        m.person.birthYear = 100;
        m.growthTendency = 3;
        EncodeMemberRecord(b, R, m);
        expectUnownedBytesKept(b, original);
        EXPECT_EQ(byteAt(b, R + 52), byteAt(original, R + 52) & 0x1F);
        EXPECT_EQ(byteAt(b, R + 59) & 0x01, byteAt(original, R + 59) & 0x01);
        EXPECT_EQ(byteAt(b, R + 111), byteAt(original, R + 111) & 0x0F);
        EXPECT_EQ(byteAt(b, R + 116), byteAt(original, R + 116) & 0x3F);
        EXPECT_EQ(DecodeMemberRecord(b, R).growthTendency, 3);
    }
}

TEST(MemberRecord, AbilitiesComeFromTheStatusPartAndAChangedOneIsCopied)
{
    struct Row {
        std::array<int, 4> first;  // +37..40
        std::array<int, 4> second;  // +62..65
        std::array<int, 4> written;
        std::array<int, 4> copy;  // +37..40 after the write: a changed ability's copy follows it
    };
    const std::vector<Row> rows = {
        {{1, 2, 3, 4}, {90, 80, 70, 60}, {90, 80, 70, 60}, {1, 2, 3, 4}},
        {{9, 9, 9, 9}, {10, 20, 30, 40}, {255, 0, 30, 41}, {255, 0, 9, 41}},
        {{9, 9, 9, 9}, {10, 20, 30, 40}, {9, 20, 30, 40}, {9, 9, 9, 9}},
    };
    for (const Row& row : rows) {
        QByteArray b = zeroRecords();
        for (int i = 0; i < 4; ++i) {
            setByte(b, R + 37 + i, row.first[std::size_t(i)]);
            setByte(b, R + 62 + i, row.second[std::size_t(i)]);
        }
        MemberRecord m = DecodeMemberRecord(b, R);
        EXPECT_EQ(m.person.abilities, row.second);
        m.person.abilities = row.written;
        EncodeMemberRecord(b, R, m);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(byteAt(b, R + 62 + i), row.written[std::size_t(i)]) << i;
            EXPECT_EQ(byteAt(b, R + 37 + i), row.copy[std::size_t(i)]) << i;
        }
    }
}

TEST(MemberRecord, SkillsAndTacticsLieInTheStatusPart)
{
    struct Row {
        int skill;  // or -1
        int tactic;
        int nibble;
        qsizetype at;  // the byte that changes
        int want;
    };
    const std::vector<Row> rows = {
        {0, -1, 0, 119, 0x80},  {7, -1, 0, 119, 0x01}, {8, -1, 0, 118, 0x80},  {25, -1, 0, 116, 0x40},
        {-1, 0, 13, 120, 0x0D}, {-1, 1, 8, 120, 0x80}, {-1, 13, 9, 126, 0x90}, {-1, 14, 13, 127, 0x0D},
    };
    for (const Row& row : rows) {
        QByteArray b = zeroRecords();
        MemberRecord m = DecodeMemberRecord(b, R);
        if (row.skill >= 0)
            SetSkill(m.skills, row.skill, true);
        else
            m.tactics[std::size_t(row.tactic)] = row.nibble;
        EncodeMemberRecord(b, R, m);
        QByteArray want = zeroRecords();
        setByte(want, R + row.at, row.want);
        EXPECT_EQ(b, want) << row.skill << " " << row.tactic;
        const MemberRecord back = DecodeMemberRecord(b, R);
        if (row.skill >= 0) {
            EXPECT_TRUE(HasSkill(back.skills, row.skill));
        } else {
            EXPECT_EQ(back.tactics[std::size_t(row.tactic)], row.nibble);
        }
    }
}

TEST(MemberRecord, DecodeThenEncodeKeepsEveryByteOfTheDemoSystemSave)
{
    const QByteArray original = demo::MakeSystemSave();
    QByteArray b = original;
    for (int i = 0; i < 100; ++i)
        EncodeMemberRecord(b, 24 + member::kRecordSize * i, DecodeMemberRecord(b, 24 + member::kRecordSize * i));
    ASSERT_EQ(b.size(), original.size());
    for (qsizetype i = 0; i < b.size(); ++i)
        ASSERT_EQ(byteAt(b, i), byteAt(original, i)) << "byte " << i;
}

TEST(MemberRecord, AShortBufferIsReadAsZerosAndNeverGrows)
{
    QByteArray b(100, '\x11');
    const MemberRecord m = DecodeMemberRecord(b, 24);
    EXPECT_EQ(m.tactics[14], 0);
    EncodeMemberRecord(b, 24, m);
    EXPECT_EQ(b.size(), 100);
}
