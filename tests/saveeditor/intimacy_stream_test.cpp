#include "saveeditor/intimacy_stream.h"
#include "shared/bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <vector>

using namespace varkel;
using namespace varkel::intimacy;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (const int v : list)
        b.append(static_cast<char>(v));
    return b;
}

// A buffer whose bytes follow no 5-bit rhythm, so a shifted or widened write shows.
QByteArray patterned(qsizetype size)
{
    QByteArray b(size, '\0');
    for (qsizetype k = 0; k < size; ++k)
        b[k] = static_cast<char>((k * 73 + 41) % 256);
    return b;
}

// Sets bit n of the buffer, counted from the top bit of byte 0.
void setBitAt(QByteArray& b, qsizetype n, int bit)
{
    setBits(b, n / 8, 0x80 >> (n % 8), bit ? 0xFF : 0);
}

// A save large enough for every player slot, zero but for `stream` at `offset`.
QByteArray saveWith(qsizetype offset, const QByteArray& stream)
{
    QByteArray save(save::playerSlot(save::kPlayerSlotCount), '\0');
    save.replace(offset, stream.size(), stream);
    return save;
}

}  // namespace

// Each slot's streams lie 972 bytes after the previous slot's.
TEST(IntimacyStream, ReadsLevelsMostSignificantBitFirst)
{
    struct Row {
        LevelStream stream;
        qsizetype at;  // where the stream's bytes are put
        QByteArray stored;
        std::vector<int> levels;  // from position 0
    };
    const QByteArray example = bytes({0x12, 0x34, 0x56, 0x78, 0x9A});
    const std::vector<Row> rows = {
        {GeneralStream(0), 145'458, example, {2, 8, 26, 5, 12, 30, 4, 26}},
        {SpecialStream(5), 151'252, example, {2, 8, 26, 5, 12, 30, 4}},
        {GeneralStream(7), 152'262, bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80}), {31, 31, 31, 31, 31, 31, 31, 31, 16}},
        {SpecialStream(0), 146'392, bytes({0x08, 0x42, 0x10, 0x84, 0x21}), {1, 1, 1, 1, 1, 1, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "stream at " << row.at);
        const QByteArray save = saveWith(row.at, row.stored);
        for (int k = 0; k < int(row.levels.size()); ++k)
            EXPECT_EQ(row.stream.read(save, k), row.levels[std::size_t(k)]) << "position " << k;
    }
    EXPECT_EQ(GeneralStream(3).count, 1494);
    EXPECT_EQ(SpecialStream(3).count, 7);
}

// Hand-worked writes across two bytes (1, 3) and at a byte boundary (8), each
// keeping the bits around it.
TEST(IntimacyStream, WritesChangeOnlyTheFiveBitsOfThePosition)
{
    struct Row {
        int position;
        int value;
        QByteArray before;
        QByteArray after;
    };
    const QByteArray example = bytes({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
    const std::vector<Row> rows = {
        {1, 31, bytes({0x12, 0x34}), bytes({0x17, 0xF4})},
        {3, 31, example, bytes({0x12, 0x35, 0xF6, 0x78, 0x9A, 0xBC})},
        {8, 1, example, bytes({0x12, 0x34, 0x56, 0x78, 0x9A, 0x0C})},
    };
    const LevelStream stream = GeneralStream(0);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "position " << row.position);
        QByteArray save = saveWith(stream.offset, row.before);
        const QByteArray expected = saveWith(stream.offset, row.after);
        ASSERT_TRUE(stream.write(save, row.position, row.value));
        EXPECT_EQ(save.mid(stream.offset, row.after.size()), row.after);
        EXPECT_TRUE(save == expected);
        EXPECT_EQ(stream.read(save, row.position), row.value);
    }
}

// Every value at every position of a full general stream, checked bit by bit
// against the rule, with bytes on both sides of the stream in the buffer.
TEST(IntimacyStream, EveryWriteChangesExactlyItsBitsAndReadsBack)
{
    constexpr qsizetype kMargin = 3;
    const LevelStream stream{kMargin, kGeneralPositions};
    const QByteArray original = patterned(kMargin + kGeneralStreamSize + kMargin);
    QByteArray save = original;
    QByteArray expected = original;
    int failures = 0;
    for (int k = 0; k < stream.count && failures < 5; ++k) {
        for (int v = 0; v < kLevelCount && failures < 5; ++v) {
            const qsizetype first = kMargin * 8 + qsizetype(k) * kLevelBits;
            for (int b = 0; b < kLevelBits; ++b)
                setBitAt(expected, first + b, v >> (kLevelBits - 1 - b) & 1);
            const bool written = stream.write(save, k, v);
            if (!written || save != expected || stream.read(save, k) != v) {
                ADD_FAILURE() << "position " << k << " value " << v;
                ++failures;
            }
            save = original;
            expected = original;
        }
    }
}

TEST(IntimacyStream, RefusesWhatCannotBeStored)
{
    struct Row {
        const char* what;
        LevelStream stream;
        qsizetype bufferSize;
        int position;
        int value;
    };
    const qsizetype full = save::playerSlot(save::kPlayerSlotCount);
    const std::vector<Row> rows = {
        {"level 32", GeneralStream(0), full, 0, 32},
        {"negative level", GeneralStream(0), full, 0, -1},
        {"past the general stream", GeneralStream(0), full, kGeneralPositions, 0},
        {"negative position", GeneralStream(1), full, -1, 0},
        {"past the seven special persons", SpecialStream(1), full, kSpecialPositions, 0},
        {"no such slot", GeneralStream(8), full, 0, 0},
        {"second byte past the buffer", GeneralStream(0), GeneralStream(0).offset + 1, 1, 0},
        {"buffer ends before the stream", SpecialStream(7), SpecialStream(7).offset, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray save = patterned(row.bufferSize);
        const QByteArray before = save;
        EXPECT_FALSE(row.stream.write(save, row.position, row.value));
        EXPECT_TRUE(save == before);
        if (row.value >= 0 && row.value < kLevelCount) {
            EXPECT_EQ(row.stream.read(save, row.position), std::nullopt);
        }
    }
}

// One level written to a set of positions changes those and no other bits.
TEST(IntimacyStream, WritesOneLevelToASetOfPositions)
{
    struct Row {
        std::vector<int> positions;
        int value;
    };
    const std::vector<Row> rows = {
        {{1, 3, 4}, 17},
        {{0, 859, kGeneralPositions - 1}, 30},
        {{}, 5},
        {{2, 2}, 0},
    };
    const LevelStream stream = GeneralStream(4);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.positions.size() << " positions");
        QByteArray save = patterned(save::playerSlot(save::kPlayerSlotCount));
        const QByteArray before = save;
        for (const int k : row.positions)
            ASSERT_TRUE(stream.write(save, k, row.value));
        for (int k = 0; k < stream.count; ++k) {
            const bool picked = std::find(row.positions.begin(), row.positions.end(), k) != row.positions.end();
            ASSERT_EQ(stream.read(save, k), picked ? row.value : stream.read(before, k)) << "position " << k;
        }
        EXPECT_TRUE(save.left(stream.offset) == before.left(stream.offset));
        const qsizetype end = stream.offset + kGeneralStreamSize;
        EXPECT_TRUE(save.mid(end) == before.mid(end));
    }
}

TEST(IntimacyStream, OfficersOfThePositions)
{
    QByteArray save(save::playerSlot(save::kPlayerSlotCount), '\0');
    for (int k = 0; k < kPersonMapSize; ++k)
        setLe16(save, save::personMapEntry(save::kFirstPersonNumber + k), save::kNoPerson);
    setLe16(save, save::personMapEntry(860), 5);
    setLe16(save, save::personMapEntry(1719), 42);
    setLe16(save, save::personMapEntry(900), 42);

    struct GeneralRow {
        int position;
        std::optional<int> officer;
    };
    const std::vector<GeneralRow> general = {
        {0, 5}, {1, save::kNoPerson}, {859, 42}, {860, std::nullopt}, {-1, std::nullopt}};
    for (const GeneralRow& row : general)
        EXPECT_EQ(GeneralPositionOfficer(save, row.position), row.officer) << "position " << row.position;

    struct FindRow {
        int rows;
        int officer;
        std::optional<int> position;
    };
    const std::vector<FindRow> finds = {{860, 42, 40},
                                        {30, 42, std::nullopt},
                                        {860, 5, 0},
                                        {860, save::kNoPerson, std::nullopt},
                                        {860, 7, std::nullopt}};
    for (const FindRow& row : finds)
        EXPECT_EQ(GeneralPositionOf(save, row.rows, row.officer), row.position) << "officer " << row.officer;

    // The list never goes past the 860 positions the map names.
    EXPECT_EQ(GeneralListRows(770), 770);
    EXPECT_EQ(GeneralListRows(860), 860);
    EXPECT_EQ(GeneralListRows(1494), 860);

    const std::vector<int> persons = {6, 74, 99, 115, 184, 364, 566};
    for (int k = 0; k < int(persons.size()); ++k) {
        EXPECT_EQ(SpecialPositionOfficer(k), persons[std::size_t(k)]);
        EXPECT_EQ(SpecialPositionOf(persons[std::size_t(k)]), k);
    }
    EXPECT_EQ(SpecialPositionOfficer(7), std::nullopt);
    EXPECT_EQ(SpecialPositionOf(7), std::nullopt);
    EXPECT_EQ(IntimacyLevelItems().size(), kLevelCount);
    EXPECT_EQ(IntimacyLevelItems().value(30), QString::fromUtf8("敬愛"));
}
