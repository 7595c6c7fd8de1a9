#include "saveeditor/city_record.h"
#include "shared/bytes.h"
#include "support/city_planting.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;
using namespace varkel::city;

namespace {

constexpr int kOfficers = 860;

// A save of noise with every officer away (so no city has candidates) unless placed.
class CityRecordTest : public ::testing::Test {
protected:
    CityRecordTest() : save(save::kStartupBufferSize, '\0')
    {
        for (qsizetype k = 0; k < save.size(); ++k)
            save[k] = static_cast<char>(1 + (k * 37) % 251);
        for (int n = 0; n < kOfficers; ++n) {
            place(n, 49, 9);
            setByte(save, save::locationEntry(n) + 3, 1);
        }
    }

    void place(int n, int c, int s, int f = 3) { test::PlaceOfficer(save, n, c, s, f); }
    int status(int n) const { return test::StatusCode(save, n); }
    CityRecord decoded(int c) const
    {
        return DecodeCity(save, CityHeads::build(save, kOfficers), CityOfficersOf(save, kOfficers, c), c);
    }
    std::optional<FieldProblem> store(int c, const std::function<void(CityRecord&)>& change)
    {
        CityRecord r = decoded(c);
        change(r);
        return StoreCity(save, kOfficers, c, r);
    }

    QByteArray save;
};

// Each field as the editor reads and writes it, through the field table.
TEST_F(CityRecordTest, FieldsReadAndStoreTheirBits)
{
    struct Row {
        const char* key;
        qsizetype offset;
        int stored;   // byte before
        int value;    // what the field reads
        int set;      // what is written through the field
        int written;  // byte after
    };
    const Row rows[] = {
        {"plague", kDisasters, 0xFF, 1, 0, 0xFB},
        {"harvest", kDisasters, 0xFF, 1, 0, 0x7F},
        {"snow", kDisasters, 0x03, 0, 1, 0x43},
        {"bandit_strength", kBanditStrength, 5, 100, 105, 5},
        {"bandit_strength", kBanditStrength, 0, 0, 9999, 250},  // more than 5000 is cut to 5000
        {"bandits", kBandits, 1, 1, 1, 1},                      // a stored mark stays while ticked
        {"bandits", kBandits, 0, 0, 1, kBanditsPresent},
        {"bandits", kBandits, 7, 1, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        setByte(save, record(7) + row.offset, row.stored);
        const auto& field = CityField(QString::fromLatin1(row.key));
        EXPECT_EQ(field.get(decoded(7)).number, row.value);
        const QByteArray before = save;
        ASSERT_FALSE(store(7, [&](CityRecord& r) { field.set(r, FieldValue{row.set, {}, {}}); }));
        EXPECT_EQ(byteAt(save, record(7) + row.offset), row.written);
        QByteArray expected = before;
        setByte(expected, record(7) + row.offset, row.written);
        EXPECT_TRUE(save == expected);
    }
    // All six flags of 0xFF, and none kept bits 0-1.
    setByte(save, record(8) + kDisasters, 0xFF);
    for (int k = 0; k < kDisasterCount; ++k)
        EXPECT_TRUE(decoded(8).disaster(k));
    ASSERT_FALSE(store(8, [](CityRecord& r) { r.disasterByte &= 3; }));
    EXPECT_EQ(byteAt(save, record(8) + kDisasters), 3);
    // No leader: bytes 184, 6.
    ASSERT_FALSE(store(8, [](CityRecord& r) { r.leader = kNoLeader; }));
    EXPECT_EQ(byteAt(save, record(8) + kBanditLeader), 184);
    EXPECT_EQ(byteAt(save, record(8) + kBanditLeader + 1), 6);
}

// Heads and corps as numbers: the highest-numbered head wins, officers past 999 or
// outside the 50 cities never garble an entry, corps 68 and odd corps bytes have none.
TEST_F(CityRecordTest, HeadTablesKeepCommanderAndForceAsNumbers)
{
    setByte(save, record(10) + kCorps, 12);
    setByte(save, record(11) + kCorps, 12);
    setByte(save, record(20) + kCorps, 45);
    setByte(save, record(21) + kCorps, kNoCorps);
    setByte(save, record(22) + kCorps, 70);
    place(100, 10, kRuler, 12);
    place(859, 20, kCorpsCommander, 12);
    place(300, 11, kGovernor, 12);
    place(301, 11, kGovernor, 12);
    place(400, 21, kOrdinary, 40);
    place(401, 22, kCorpsCommander, 41);
    place(402, 55, kCorpsCommander, 42);  // no such city

    const CityHeads h = CityHeads::build(save, kOfficers);
    EXPECT_EQ(h.head[10], 100);
    EXPECT_EQ(h.head[11], 301);
    EXPECT_EQ(h.head[20], 859);
    EXPECT_EQ(h.head[21], -1);
    EXPECT_EQ(h.corps[12].commander, 100);
    EXPECT_EQ(h.corps[45].commander, 859);
    EXPECT_EQ(h.corps[45].force, 12);
    EXPECT_EQ(h.corps[kNoCorps].commander, -1);
    EXPECT_EQ(h.forceOf(kNoCorps), save::kNoForce);
    EXPECT_EQ(h.forceOf(70), save::kNoForce);
    EXPECT_EQ(h.corpsOf(12), (std::vector<int>{12, 45}));
    EXPECT_EQ(decoded(20).force, 12);
    EXPECT_EQ(decoded(22).corps, 70);
}

// Replacing a head demotes the old one to an ordinary officer and gives the new one
// the old one's status; no other bit of either officer changes.
TEST_F(CityRecordTest, HeadChangeMovesTheStatusBetweenTwoOfficers)
{
    for (const int oldStatus : {kGovernor, kCorpsCommander}) {
        SCOPED_TRACE(oldStatus);
        setByte(save, record(5) + kCorps, 30);
        place(200, 5, oldStatus, 9);
        place(201, 5, kOrdinary, 9);
        place(202, 5, 3, 9);
        const QByteArray before = save;
        ASSERT_FALSE(store(5, [](CityRecord& r) { r.head = 202; }));
        EXPECT_EQ(status(200), kOrdinary);
        EXPECT_EQ(status(202), oldStatus);
        QByteArray expected = before;
        for (const int n : {200, 202}) {
            const qsizetype word = save::statusBlock(n) + 50;
            EXPECT_EQ(byteAt(save, word) & 0x3F, byteAt(before, word) & 0x3F);
            EXPECT_EQ(byteAt(save, word + 1) & 0xFC, byteAt(before, word + 1) & 0xFC);
            expected[word] = save[word];
            expected[word + 1] = save[word + 1];
        }
        EXPECT_TRUE(save == expected);
        const CityHeads h = CityHeads::build(save, kOfficers);
        EXPECT_EQ(h.head[5], 202);
        if (oldStatus == kCorpsCommander) {
            EXPECT_EQ(h.corps[30].commander, 202);
        }
    }
}

// What cannot be stored is refused with the field named and nothing written.
TEST_F(CityRecordTest, RefusedEditsWriteNothing)
{
    setByte(save, record(1) + kCorps, 2);
    setByte(save, record(2) + kCorps, 7);
    setByte(save, record(3) + kCorps, 2);
    setByte(save, record(4) + kCorps, kNoCorps);
    setByte(save, record(6) + kCorps, 8);
    place(10, 1, kRuler, 1);
    place(11, 1, kOrdinary, 1);
    place(12, 2, kCorpsCommander, 1);
    place(13, 3, kOrdinary, 1);  // candidates, no head
    place(14, 3, 3, 1);
    place(15, 4, kGovernor, 1);  // no corps holds the city
    place(16, 4, kOrdinary, 1);
    place(17, 6, kCorpsCommander, 5);  // another force
    struct Row {
        const char* what;
        int city;
        std::function<void(CityRecord&)> change;
        const char* control;
    };
    const Row rows[] = {
        {"a ruler is not replaced", 1, [](CityRecord& r) { r.head = 11; }, "Combo3"},
        {"no head to replace", 3, [](CityRecord& r) { r.head = 14; }, "Combo3"},
        {"no corps holds the city", 4, [](CityRecord& r) { r.head = 16; }, "Combo3"},
        {"the new head stays elsewhere", 2, [](CityRecord& r) { r.head = 11; }, "Combo3"},
        {"the city a corps is commanded from", 2, [](CityRecord& r) { r.corps = 2; }, "Combo2"},
        {"a corps of another force", 3, [](CityRecord& r) { r.corps = 8; }, "Combo2"},
        {"a leader who is no officer", 3, [](CityRecord& r) { r.leader = kOfficers; }, ""},
        {"strength beyond a byte", 3, [](CityRecord& r) { r.strengthByte = 256; }, "Text1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QByteArray before = save;
        const auto problem = store(row.city, row.change);
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->control, QString::fromLatin1(row.control));
        EXPECT_TRUE(save == before);
    }
    // Another corps of the same force is fine; so is an unchanged odd value.
    ASSERT_FALSE(store(3, [](CityRecord& r) { r.corps = 7; }));
    EXPECT_EQ(byteAt(save, record(3) + kCorps), 7);
    setLe16(save, record(3) + kBanditLeader, 1800);
    setByte(save, record(3) + kCorps, 70);
    ASSERT_FALSE(store(3, [](CityRecord& r) { r.disasterByte ^= 0x04; }));
    EXPECT_EQ(le16At(save, record(3) + kBanditLeader), 1800);
    EXPECT_EQ(byteAt(save, record(3) + kCorps), 70);
    // The city without a head writes no status.
    EXPECT_EQ(status(13), kOrdinary);
    EXPECT_EQ(status(14), 3);
}

}  // namespace
