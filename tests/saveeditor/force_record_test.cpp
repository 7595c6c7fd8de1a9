#include "saveeditor/force_record.h"
#include "shared/big5.h"
#include "shared/bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;
using namespace varkel::force;

namespace {

constexpr int kS = 11;

class ForceRecordTest : public ::testing::Test {
protected:
    ForceRecordTest() : save(save::kStartupBufferSize, '\0')
    {
        for (qsizetype k = 0; k < save.size(); ++k)
            save[k] = static_cast<char>(1 + (k * 37) % 251);
    }
    // Stores one change made through the field `key`; checks no byte outside `bytes` moved.
    void storeField(const char* key, const FieldValue& value, std::initializer_list<qsizetype> bytes)
    {
        const QByteArray before = save;
        ForceRecord r = DecodeForce(save, kS);
        ForceField(QString::fromLatin1(key)).set(r, value);
        EncodeForce(save, kS, r);
        QByteArray expected = before;
        for (const qsizetype b : bytes)
            expected[record(kS) + b] = save[record(kS) + b];
        EXPECT_TRUE(save == expected) << key;
    }
    int at(qsizetype b) const { return byteAt(save, record(kS) + b); }

    QByteArray save;
};

TEST_F(ForceRecordTest, BitFieldsReadAndStoreOnlyTheirBits)
{
    struct Row {
        const char* key;
        qsizetype offset;
        int stored;
        int value;
        int set;
        int written;
    };
    const Row rows[] = {
        {"technology", kTechnology, 0xE5, 8, 1, 0x05},
        {"rank", kRank, 0x83, 0, 5, 0x97},
        {"rank", kRank, 0xFF, 31, 0, 0x83},
        {"light_infantry", kTroops, 0xFF, 1, 0, 0xFE},
        {"repeating_crossbows", kTroops, 0x00, 0, 1, 0x80},
        {"elephants", kMachines, 0xC1, 1, 0, 0xC0},
        {"battering_ram", kMachines, 0x00, 0, 1, 0x02},
        {"tower_ship", kMachines, 0xC0, 0, 1, 0xE0},  // bits 6-7 are neither read as a machine nor lost
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        setByte(save, record(kS) + row.offset, row.stored);
        EXPECT_EQ(ForceField(QString::fromLatin1(row.key)).get(DecodeForce(save, kS)).number, row.value);
        storeField(row.key, FieldValue{row.set, {}, {}}, {row.offset});
        EXPECT_EQ(at(row.offset), row.written);
    }
    // 0x3F / 0xFF: every troop type and machine, written back as they were.
    setByte(save, record(kS) + kMachines, 0x3F);
    setByte(save, record(kS) + kTroops, 0xFF);
    const ForceRecord all = DecodeForce(save, kS);
    for (int k = 0; k < kTroopTypeCount; ++k)
        EXPECT_TRUE(all.troop(k)) << k;
    for (int k = 0; k < kMachineCount; ++k)
        EXPECT_TRUE(all.machine(k)) << k;
    const QByteArray before = save;
    EncodeForce(save, kS, all);
    EXPECT_TRUE(save == before);
}

// A full name ends at byte 14; a short one writes its 0 and leaves the rest; an
// unchanged name keeps its bytes even where they decode alike.
TEST_F(ForceRecordTest, StateNamesEndWhereTheyShould)
{
    const QString seven = QStringLiteral("大漢國天下一統");
    storeField("name", FieldValue{0, seven, {}}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    EXPECT_EQ(at(14), 0);
    EXPECT_EQ(DecodeForce(save, kS).name, seven);
    // A longer name from any caller stops at seven characters and its 0.
    storeField("name", FieldValue{0, QStringLiteral("天下一統大漢國家"), {}},
               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    EXPECT_EQ(at(14), 0);

    for (qsizetype b = 0; b < 15; ++b)
        setByte(save, record(kS) + b, 0xA4);
    storeField("name", FieldValue{0, QStringLiteral("吳國公"), {}}, {0, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(at(6), 0);
    EXPECT_EQ(at(7), 0xA4);
    EXPECT_EQ(DecodeForce(save, kS).name, QStringLiteral("吳國公"));

    // A2 CC and A4 51 both read as 十.
    setByte(save, record(kS), 0xA2);
    setByte(save, record(kS) + 1, 0xCC);
    const QByteArray before = save;
    EncodeForce(save, kS, DecodeForce(save, kS));
    EXPECT_TRUE(save == before);
}

}  // namespace
