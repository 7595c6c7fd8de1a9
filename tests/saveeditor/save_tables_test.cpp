#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

class SaveTablesTest : public ::testing::Test {
protected:
    QByteArray save = QByteArray(save::kStartupBufferSize, '\0');

    void name(int officer, const QString& text) { WriteNameField(save, save::personBlock(officer) + 26, text); }
    void nameAll(int first, int last)
    {
        for (int i = first; i <= last; ++i)
            name(i, QStringLiteral("武將"));
    }
    void setStatus(int officer, int status, int force)
    {
        const qsizetype s = save::statusBlock(officer);
        setLe16(save, s + 50, (le16At(save, s + 50) & ~(15 << 6)) | (status << 6));
        setByte(save, s, force);
    }
    void control(int slot, int person, int officer, bool flag)
    {
        setLe16(save, save::playerSlot(slot) + save::kPlayerPersonField, person);
        if (person >= save::kFirstPersonNumber && person <= save::kLastPersonNumber)
            setLe16(save, save::personMapEntry(person), officer);
        setBits(save, save::statusBlock(officer) + 50, 1, flag ? 1 : 0);
    }
};

}  // namespace

TEST_F(SaveTablesTest, OfficerCountStopsAtTheFirstEmptyNameFrom760AndAt860)
{
    nameAll(0, 10);  // officers below 760 count even when unnamed
    EXPECT_EQ(SaveTables::countOfficers(save), 760);
    nameAll(760, 800);
    name(802, QStringLiteral("後人"));  // after the gap: not examined
    EXPECT_EQ(SaveTables::countOfficers(save), 801);
    nameAll(760, 1023);
    EXPECT_EQ(SaveTables::countOfficers(save), 860);
    const SaveTables t = SaveTables::build(save);
    EXPECT_EQ(t.officerNames.size(), 1721);
    EXPECT_EQ(t.officerNames[859], QStringLiteral("武將"));
    EXPECT_TRUE(t.officerNames[860].isEmpty());
}

TEST_F(SaveTablesTest, ForceNamesKeepTheLaterLeaderAndTheListShowsBoth)
{
    name(3, QStringLiteral("劉備"));
    name(9, QStringLiteral("孫權"));
    name(12, QStringLiteral("曹操"));
    setStatus(3, 0, 5);
    setStatus(9, 5, 5);
    setStatus(12, 0, 70);  // outside the table: listed, not stored
    setStatus(4, 1, 6);    // not a leader
    for (int i = 0; i < 760; ++i) {
        if (i != 3 && i != 9 && i != 12)
            setStatus(i, 4, 68);
    }
    const SaveTables t = SaveTables::build(save);
    EXPECT_EQ(t.forceNames[5], QStringLiteral("孫權"));
    EXPECT_EQ(t.forceNames[68], QStringLiteral("無"));
    EXPECT_TRUE(t.forceNames[6].isEmpty());
    EXPECT_EQ(t.leaderNames, (QStringList{"劉備", "孫權", "曹操", "無"}));
    EXPECT_EQ(t.forceName(70), QStringLiteral("70"));
}

TEST_F(SaveTablesTest, ControlledSlotsNeedAPersonAMappedOfficerAndTheFlag)
{
    for (int k = 0; k < save::kPlayerSlotCount; ++k)
        setLe16(save, save::playerSlot(k) + save::kPlayerPersonField, save::kNoPerson);
    control(0, 860, 10, true);
    control(2, 1719, 20, true);
    control(3, 900, 30, false);  // flag cleared
    control(4, 12, 40, true);    // person number outside the map
    control(5, 901, 900, true);  // officer beyond the count
    const SaveTables t = SaveTables::build(save);
    EXPECT_EQ(t.controlled[0], 10);
    EXPECT_EQ(t.controlled[1], save::kNoControlledOfficer);
    EXPECT_EQ(t.controlled[2], 20);
    EXPECT_EQ(t.controlled[3], save::kNoControlledOfficer);
    EXPECT_EQ(t.controlled[4], save::kNoControlledOfficer);
    EXPECT_EQ(t.controlled[5], save::kNoControlledOfficer);
    EXPECT_EQ(t.controlledCount(), 2);
    EXPECT_TRUE(t.isControlled(20));
    EXPECT_FALSE(t.isControlled(save::kNoControlledOfficer));
}

TEST_F(SaveTablesTest, FamilyModeNeedsOneNamedFamilyMember)
{
    EXPECT_FALSE(SaveTables::build(save).hasFamily);
    WriteNameField(save, save::kFamilyRecordOffset + save::kFamilyRecordSize * 15 + save::kFamilyNameField,
                   QStringLiteral("關平"));
    EXPECT_TRUE(SaveTables::build(save).hasFamily);
}

TEST(ScenarioData, DecodesCityAndTreasureNamesFromAShortFile)
{
    QByteArray bytes(4000, '\0');
    WriteNameField(bytes, 2036 + 16 * 50, QStringLiteral("洛陽"));
    WriteNameField(bytes, 3838, QStringLiteral("青釭劍"));
    const ScenarioData s = ScenarioData::decode(bytes);
    EXPECT_EQ(s.bytes.size(), ScenarioData::kSize);
    EXPECT_EQ(s.cityNames.size(), 51);
    EXPECT_EQ(s.cityNames[50], QStringLiteral("洛陽"));
    EXPECT_EQ(s.treasureNames.size(), 255);
    EXPECT_EQ(s.treasureNames[0], QStringLiteral("青釭劍"));
}
