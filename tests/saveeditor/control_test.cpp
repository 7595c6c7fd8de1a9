#include "saveeditor/control.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace varkel;

namespace {

constexpr int kNone = save::kNoControlledOfficer;

// The bytes at which two buffers differ.
std::set<qsizetype> changedBytes(const QByteArray& a, const QByteArray& b)
{
    std::set<qsizetype> changed;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            changed.insert(i);
    return changed;
}

qsizetype word(int officer)
{
    return save::statusBlock(officer) + save::status::kWord;
}
int statusCode(const QByteArray& save, int officer)
{
    return (le16At(save, word(officer)) >> 6) & 15;
}

class Control : public ::testing::Test {
protected:
    // Noise everywhere, an empty person map and empty player controlled.
    void SetUp() override
    {
        for (int j = 0; j < 860; ++j)
            setLe16(save, save::kPersonMapOffset + 2 * j, save::kNoPerson);
        for (int k = 0; k < save::kPlayerSlotCount; ++k)
            setLe16(save, save::playerPerson(k), save::kNoPerson);
        setLe16(save, save::kCurrentOfficerOffset, 1700);  // no officer of the tests
        controlled.fill(kNone);
    }

    // Person number 860 + entry names `officer`.
    void list(int officer, int entry) { setLe16(save, save::kPersonMapOffset + 2 * entry, officer); }
    // Officer `officer`, listed at `entry`, is controlled through player slot `slot`.
    void control(int slot, int officer, int entry)
    {
        list(officer, entry);
        setLe16(save, save::playerPerson(slot), 860 + entry);
        setBits(save, word(officer), 1, 1);
        controlled[slot] = officer;
    }
    void setStatus(int officer, int code)
    {
        setLe16(save, word(officer), (le16At(save, word(officer)) & ~(15 << 6)) | code << 6);
    }

    QByteArray save = test::RandomBytes(save::kStartupBufferSize, 11);
    ControlledSlots controlled{};
};

}  // namespace

TEST_F(Control, TakingControlPutsThePersonNumberIntoTheLowestFreeSlot)
{
    struct Row {
        const char* name;
        int entry;                // where the officer is listed
        std::vector<int> taken;   // player controlled that already hold an officer
        int slot;                 // the slot that receives it
        int low, high;            // the person number's bytes
    };
    const std::vector<Row> rows = {
        {"entry 5 gives person 865", 5, {}, 0, 97, 3},
        {"a held slot is never reused, even by officer 0", 0, {0, 1}, 2, 92, 3},
        {"a gap below a held slot is filled", 859, {1, 2, 5}, 0, 0xB7, 6},
        {"the eighth control takes the last slot", 300, {0, 1, 2, 3, 4, 5, 6}, 7, 0x88, 4},
    };
    constexpr int kOfficer = 40;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        for (std::size_t i = 0; i < row.taken.size(); ++i)
            control(row.taken[i], int(i), 600 + int(i));  // officers 0, 1, ...
        list(kOfficer, row.entry);
        const QByteArray before = save;
        const ControlledSlots controlledBefore = controlled;

        const ControlChange change = TakeControl(save, controlled, kOfficer);

        ASSERT_EQ(change.refusal, ControlRefusal::None);
        EXPECT_EQ(change.person, 860 + row.entry);
        EXPECT_EQ(change.slot, row.slot);
        EXPECT_EQ(byteAt(save, save::playerPerson(row.slot)), row.low);
        EXPECT_EQ(byteAt(save, save::playerPerson(row.slot) + 1), row.high);
        EXPECT_EQ(byteAt(save, word(kOfficer)), byteAt(before, word(kOfficer)) | 1);
        const std::set<qsizetype> allowed = {word(kOfficer), save::playerPerson(row.slot),
                                             save::playerPerson(row.slot) + 1};
        for (const qsizetype at : changedBytes(before, save))
            EXPECT_TRUE(allowed.count(at)) << "byte " << at;
        ControlledSlots expected = controlledBefore;
        expected[std::size_t(row.slot)] = kOfficer;
        EXPECT_EQ(controlled, expected);
    }
}

TEST_F(Control, RefusedChangesWriteNothing)
{
    enum Op { Take, GiveUp };
    struct Row {
        const char* name;
        Op op;
        int controlledOthers;  // officers 0.. controlled in controlled 0..
        bool listed;           // officer 50 has a person number
        bool controlled;       // officer 50 is controlled (in the next slot)
        bool current;          // officer 50 is the one stored at 1882
        ControlRefusal refusal;
    };
    const std::vector<Row> rows = {
        {"take: not in the person map", Take, 2, false, false, false, ControlRefusal::NotInPersonMap},
        {"take: a ninth officer", Take, 8, true, false, false, ControlRefusal::AllSlotsTaken},
        {"take: controlled already", Take, 2, true, true, false, ControlRefusal::AlreadyControlled},
        {"give up: the current officer among others", GiveUp, 3, true, true, true, ControlRefusal::CurrentOfficer},
        {"give up: the only controlled officer", GiveUp, 0, true, true, false, ControlRefusal::LastControlled},
        {"give up: not in the person map", GiveUp, 2, false, false, false, ControlRefusal::NotInPersonMap},
        {"give up: not controlled", GiveUp, 2, true, false, false, ControlRefusal::NotControlled},
    };
    constexpr int kOfficer = 50;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        for (int i = 0; i < row.controlledOthers; ++i)
            control(i, i, 100 + i);
        if (row.controlled)
            control(row.controlledOthers, kOfficer, 7);
        else if (row.listed)
            list(kOfficer, 7);
        if (row.current)
            setLe16(save, save::kCurrentOfficerOffset, kOfficer);
        const QByteArray before = save;
        const ControlledSlots controlledBefore = controlled;

        const ControlRefusal checked = row.op == Take ? CheckTakeControl(save, controlled, kOfficer)
                                                      : CheckGiveUpControl(save, controlled, kOfficer);
        const ControlChange change = row.op == Take ? TakeControl(save, controlled, kOfficer)
                                                    : GiveUpControl(save, controlled, kOfficer);

        EXPECT_EQ(checked, row.refusal);
        EXPECT_EQ(change.refusal, row.refusal);
        EXPECT_EQ(change.slot, -1);
        EXPECT_TRUE(save == before);
        EXPECT_EQ(controlled, controlledBefore);
    }
}

TEST_F(Control, EightOfficersCanBeControlledAndNotANinth)
{
    for (int i = 0; i < 9; ++i)
        list(200 + i, 20 + i);
    for (int i = 0; i < 8; ++i) {
        const ControlChange change = TakeControl(save, controlled, 200 + i);
        ASSERT_EQ(change.refusal, ControlRefusal::None) << i;
        EXPECT_EQ(change.slot, i);
        EXPECT_EQ(le16At(save, save::playerPerson(i)), 880 + i);
    }
    const QByteArray eight = save;
    EXPECT_EQ(TakeControl(save, controlled, 208).refusal, ControlRefusal::AllSlotsTaken);
    EXPECT_TRUE(save == eight);
    EXPECT_EQ(controlled, (ControlledSlots{200, 201, 202, 203, 204, 205, 206, 207}));
}

TEST_F(Control, GivingUpEmptiesTheOfficersSlotAndClearsItsFlag)
{
    control(0, 10, 1);
    control(1, 11, 2);
    control(4, 12, 3);
    setLe16(save, save::kCurrentOfficerOffset, 10);
    const QByteArray before = save;

    const ControlChange change = GiveUpControl(save, controlled, 11);

    ASSERT_EQ(change.refusal, ControlRefusal::None);
    EXPECT_EQ(change.slot, 1);
    EXPECT_EQ(byteAt(save, save::playerPerson(1)), 184);
    EXPECT_EQ(byteAt(save, save::playerPerson(1) + 1), 6);
    EXPECT_EQ(byteAt(save, word(11)), byteAt(before, word(11)) & 0xFE);
    EXPECT_EQ(controlled, (ControlledSlots{10, kNone, kNone, kNone, 12, kNone, kNone, kNone}));
    EXPECT_EQ(changedBytes(before, save),
              (std::set<qsizetype>{word(11), save::playerPerson(1), save::playerPerson(1) + 1}));
    // The slot it left is the lowest free one again.
    EXPECT_EQ(TakeControl(save, controlled, 11).slot, 1);
}

TEST_F(Control, ThePersonNumberIsTheFirstEntryThatNamesTheOfficer)
{
    list(33, 40);
    list(33, 12);
    list(34, 0);
    EXPECT_EQ(PersonNumberOf(save, 33), 872);
    EXPECT_EQ(PersonNumberOf(save, 34), 860);
    EXPECT_EQ(PersonNumberOf(save, 35), -1);
    EXPECT_EQ(PersonNumberOf(save, 1720), -1);  // the empty mark is no officer
    EXPECT_EQ(PersonNumberOf(save, -1), -1);
}

TEST_F(Control, ForcingAnAppearanceMakesAFreeOfficerListedOnce)
{
    struct Row {
        const char* name;
        int listedAt;     // -1: not in the map
        bool mapFull;
        int person;       // afterwards
        bool added;
        int entryWritten; // -1: the map is not written
    };
    const std::vector<Row> rows = {
        {"not listed: the first empty entry", -1, false, 863, true, 3},
        {"listed already: no second entry", 500, false, 1360, false, -1},
        {"full map: only status and location change", -1, true, -1, false, -1},
        {"full map, listed already", 77, true, 937, false, -1},
    };
    constexpr int kOfficer = 640;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        for (int j = 0; j < 3; ++j)
            list(j, j);
        list(5, 5);  // entry 4 is also empty, after entry 3
        if (row.mapFull)
            for (int j = 0; j < 860; ++j)
                list(j == row.listedAt ? kOfficer : 700 + j % 100, j);
        else if (row.listedAt >= 0)
            list(kOfficer, row.listedAt);
        setStatus(kOfficer, 9);
        const QByteArray before = save;

        const auto appearance = ForceAppearance(save, kOfficer);

        ASSERT_TRUE(appearance);
        EXPECT_EQ(appearance->person, row.person);
        EXPECT_EQ(appearance->added, row.added);
        EXPECT_EQ(statusCode(save, kOfficer), 7);
        EXPECT_EQ(byteAt(save, word(kOfficer)) & 0x3F, byteAt(before, word(kOfficer)) & 0x3F);
        EXPECT_EQ(byteAt(save, word(kOfficer) + 1) & 0xFC, byteAt(before, word(kOfficer) + 1) & 0xFC);
        EXPECT_EQ(byteAt(save, save::locationEntry(kOfficer) + 3), 0);
        std::set<qsizetype> allowed = {word(kOfficer), word(kOfficer) + 1, save::locationEntry(kOfficer) + 3};
        if (row.entryWritten >= 0) {
            const qsizetype entry = save::kPersonMapOffset + 2 * row.entryWritten;
            allowed.insert(entry);
            allowed.insert(entry + 1);
            EXPECT_EQ(le16At(save, entry), kOfficer);
        }
        for (const qsizetype at : changedBytes(before, save))
            EXPECT_TRUE(allowed.count(at)) << "byte " << at;
        EXPECT_EQ(PersonNumberOf(save, kOfficer), row.person);
    }
}

TEST_F(Control, OnlyOfficersWhoAreOutOfTheGameMayBeForcedIn)
{
    for (int code = 0; code < 16; ++code) {
        setStatus(3, code);
        EXPECT_EQ(MayForceAppearance(save, 3), code >= 8) << code;
    }
    EXPECT_FALSE(MayForceAppearance(save, 860));
    EXPECT_FALSE(ForceAppearance(save, 860));
    EXPECT_EQ(TakeControl(save, controlled, 860).refusal, ControlRefusal::NoSuchOfficer);
}
