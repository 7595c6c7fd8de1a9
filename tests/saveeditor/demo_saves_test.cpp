// What the user leaves as it was keeps its bytes: a decode and an encode of every
// officer of every demo save changes nothing, and a change of one field changes
// only that field's bytes. And the demo holds the treasure values the tools are
// tested on.
#include "demo_folder/demo_folder.h"
#include "saveeditor/officer_fields.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_record.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

using namespace varkel;

namespace {

class DemoSaves : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const test::TempGameFolder folder;
        saves = new std::vector<QByteArray>;
        for (int k = 0; k < save::kSlotCount; ++k) {
            SaveGame game;
            FileStore store;
            ASSERT_EQ(game.openWhole(store, SaveGame::slotPath(folder.path(), k), save::kSlotMinimumSize),
                      SaveGame::Refusal::None);
            saves->push_back(game.bytes);
        }
        scenario = new QByteArray(test::FileBytes(folder.file(QStringLiteral("d_sce.vk"))));
        messages = new QByteArray(test::FileBytes(folder.file(QStringLiteral("m_msg.vk"))));
    }
    static void TearDownTestSuite()
    {
        delete saves;
        delete scenario;
        delete messages;
    }

    static std::vector<QByteArray>* saves;
    static QByteArray* scenario;
    static QByteArray* messages;
};

std::vector<QByteArray>* DemoSaves::saves = nullptr;
QByteArray* DemoSaves::scenario = nullptr;
QByteArray* DemoSaves::messages = nullptr;

// Bytes of officer n a field is stored in: (block offset, first byte, count).
struct Bytes {
    enum Block { Person, Status, File } block;
    int from;
    int count;
};

qsizetype start(const Bytes& b, int n)
{
    switch (b.block) {
    case Bytes::Person:
        return save::personBlock(n) + b.from;
    case Bytes::Status:
        return save::statusBlock(n) + b.from;
    case Bytes::File:
        break;
    }
    return b.from;
}

// A value of `field` other than `now`, as a user would choose it.
FieldValue changed(const RecordField<OfficerRecord>& field, const FieldValue& now)
{
    FieldValue v = now;
    switch (field.kind) {
    case FieldKind::Number: {
        const int top = std::min(field.upper.value_or(field.storableMax), field.storableMax);
        v.number = now.number < top ? now.number + 1 : now.number - 1;
        if (field.lower && v.number < *field.lower)
            v.number = *field.lower + 1;
        break;
    }
    case FieldKind::Name:
        v.text = now.text == QStringLiteral("甲") ? QStringLiteral("乙") : QStringLiteral("甲");
        break;
    case FieldKind::Choice:
        v.number = (now.number + 1) % int(field.items.size());
        break;
    case FieldKind::Flag:
        v.number = 1 - now.number;
        break;
    case FieldKind::Skills: {
        // Skill 10 is bit 5 of byte 58.
        const auto held = std::find(v.list.begin(), v.list.end(), 10);
        if (held == v.list.end())
            v.list.push_back(10);
        else
            v.list.erase(held);
        break;
    }
    case FieldKind::Tactics:
        v.list[3] = now.list[3] == 6 ? 1 : 6;  // tactic 3 is the high nibble of byte 61
        break;
    }
    return v;
}

}  // namespace

TEST_F(DemoSaves, DecodeThenEncodeOfEveryOfficerKeepsEveryByte)
{
    for (int k = 0; k < save::kSlotCount; ++k) {
        QByteArray bytes = (*saves)[std::size_t(k)];
        const QByteArray& original = (*saves)[std::size_t(k)];
        const int count = SaveTables::countOfficers(original);
        for (int n = 0; n < count; ++n)
            EncodeOfficer(bytes, n, DecodeOfficer(bytes, n));
        ASSERT_EQ(bytes.size(), original.size());
        for (qsizetype i = 0; i < original.size(); ++i)
            ASSERT_EQ(bytes[i], original[i]) << "slot " << k << " byte " << i;
    }
}

TEST_F(DemoSaves, AChangeOfOneFieldChangesOnlyItsBytes)
{
    // Read-only fields are not stored at all.
    const std::map<QString, std::vector<Bytes>> owned = {
        {"surname", {{Bytes::Person, 0, 5}}},
        {"given_name", {{Bytes::Person, 5, 5}}},
        {"courtesy_name", {{Bytes::Person, 10, 5}}},
        {"title", {{Bytes::Person, 15, 11}}},
        {"full_name", {{Bytes::Person, 26, 9}}},  // the window and the command line derive it
        {"bravery", {{Bytes::Person, 54, 1}}},
        {"calmness", {{Bytes::Person, 54, 1}}},
        {"duty", {{Bytes::Person, 55, 1}}},
        {"ambition", {{Bytes::Person, 55, 1}}},
        {"action", {{Bytes::Status, 11, 1}}},
        {"related_officer", {{Bytes::Person, 44, 2}}},
        {"family", {{Bytes::Person, 42, 2}}},
        {"compatibility", {{Bytes::Person, 41, 1}}},
        {"birth_year", {{Bytes::Person, 36, 1}}},
        {"lifespan", {{Bytes::Status, 51, 1}}},
        {"loyalty", {{Bytes::Status, 10, 1}}},
        {"game_year", {{Bytes::File, int(save::kGameYearOffset), 1}}},
        {"game_month", {{Bytes::File, int(save::kGameMonthOffset), 1}}},
        {"fame", {{Bytes::Status, 38, 2}}},
        {"infamy", {{Bytes::Status, 40, 2}}},
        {"merit", {{Bytes::Status, 34, 2}}},
        {"might", {{Bytes::Person, 37, 1}, {Bytes::Status, 2, 1}}},
        {"intellect", {{Bytes::Person, 38, 1}, {Bytes::Status, 3, 1}}},
        {"politics", {{Bytes::Person, 39, 1}, {Bytes::Status, 4, 1}}},
        {"charisma", {{Bytes::Person, 40, 1}, {Bytes::Status, 5, 1}}},
        {"money", {{Bytes::Status, 80, 2}}},
        {"years_of_service", {{Bytes::Status, 1, 1}}},
        {"face", {{Bytes::Person, 48, 2}}},
        {"female", {{Bytes::Person, 52, 1}}},
        {"tactic_direct", {{Bytes::Person, 52, 1}}},
        {"tactic_shooting", {{Bytes::Person, 52, 1}}},
        {"tactic_surprise", {{Bytes::Person, 53, 1}}},
        {"tactic_scheme", {{Bytes::Person, 53, 1}}},
        {"force", {}},
        {"status", {}},
        {"city", {}},
        {"controlled", {}},
        {"rank", {{Bytes::Status, 50, 1}}},
        {"health", {{Bytes::Status, 51, 1}}},
        {"skills", {{Bytes::Status, 58, 1}}},
        {"tactics", {{Bytes::Status, 61, 1}}},
    };
    int fields = 0;
    for (const auto& field : OfficerFields()) {
        if (!field.set)
            continue;  // the age is worked out, never stored
        ++fields;
        ASSERT_TRUE(owned.count(field.key)) << field.key.toStdString() << " has no row";
        const std::vector<Bytes>& bytes = owned.at(field.key);
        for (int k = 0; k < save::kSlotCount; ++k) {
            const QByteArray& original = (*saves)[std::size_t(k)];
            const int count = SaveTables::countOfficers(original);
            for (int n = k; n < count; n += 17) {
                OfficerRecord r = DecodeOfficer(original, n);
                field.set(r, changed(field, field.get(r)));
                QByteArray edited = original;
                EncodeOfficer(edited, n, r);
                if (!bytes.empty() && !field.readOnly) {
                    ASSERT_NE(edited, original) << field.key.toStdString() << " slot " << k << " officer " << n;
                }
                // Put the field's own bytes back: the rest must be as it was.
                for (const Bytes& b : bytes)
                    edited.replace(start(b, n), b.count, original.mid(start(b, n), b.count));
                ASSERT_TRUE(edited == original) << field.key.toStdString() << " slot " << k << " officer " << n;
            }
        }
    }
    EXPECT_EQ(fields, int(owned.size()));
}

// Owners from officer 800 on where a save has them, and one owner beyond the
// officer name table; every other owner is a counted officer or 1720.
TEST_F(DemoSaves, TreasureOwnersCoverTheOfficerTable)
{
    struct Row {
        int slot;
        int officers;
        bool ownersFrom800;
    };
    const std::vector<Row> rows = {
        {0, 780, false}, {1, 760, false},
        {2, 790, false}, {demo::kDemoSlotWith860Officers, 860, true},
        {4, 770, false}, {demo::kDemoNewestSlot, 800, false},
        {6, 775, false}, {7, 820, true},
        {8, 765, false},
    };
    ASSERT_EQ(rows.size(), saves->size());
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "slot " << row.slot);
        const QByteArray& save = (*saves)[std::size_t(row.slot)];
        ASSERT_EQ(SaveTables::countOfficers(save), row.officers);
        int from800 = 0;
        for (int t = 0; t < treasure::kCount; ++t) {
            const int owner = DecodeTreasure(*scenario, &save, t).owner;
            if (t == demo::kDemoTreasureWithOddOwner) {
                EXPECT_EQ(owner, demo::kDemoOddOwner);
                continue;
            }
            EXPECT_TRUE(owner < row.officers || owner == save::kNoPerson) << "treasure " << t << " owner " << owner;
            from800 += owner >= demo::kDemoHighOwnerFrom && owner < row.officers ? 1 : 0;
        }
        EXPECT_EQ(from800 > 0, row.ownersFrom800) << from800;
    }
}

TEST_F(DemoSaves, TreasureSkillBytesInAndOutsideTheList)
{
    struct Row {
        int treasure;
        int skillByte;
        int shownIndex;
    };
    const std::vector<Row> rows = {
        {demo::kDemoTreasureWithOddSkill, demo::kDemoOddSkill, demo::kDemoOddSkill},  // outside the list: raw
        {200, 26, treasure::kNoSkillItem},  // reads as none
    };
    for (const Row& row : rows) {
        const TreasureRecord r = DecodeTreasure(*scenario, nullptr, row.treasure);
        EXPECT_EQ(r.skill, row.skillByte) << row.treasure;
        EXPECT_EQ(TreasureField(QStringLiteral("skill")).get(r).number, row.shownIndex) << row.treasure;
    }
    int none = 0, outside = 0;
    for (int t = 0; t < treasure::kCount; ++t) {
        const int skill = DecodeTreasure(*scenario, nullptr, t).skill;
        none += skill == treasure::kNoSkillByte ? 1 : 0;
        outside += skill > treasure::kNoSkillItem && skill != treasure::kNoSkillByte ? 1 : 0;
    }
    EXPECT_GT(none, 100);
    EXPECT_EQ(outside, 1);
}

// The note stretch has a lone 0 byte at an even position inside the notes, and
// every picture still has its note.
TEST_F(DemoSaves, EveryPictureHasItsNoteAcrossALoneZero)
{
    ASSERT_EQ(messages->size(), 655'360);
    const QByteArray stretch = messages->mid(treasure::kNotesOffset, treasure::kNotesSize);
    std::vector<qsizetype> loneZeros;
    int ends = 0;
    for (qsizetype p = 0; p + 1 < stretch.size() && ends < 80;) {
        if (byteAt(stretch, p) == 0) {
            loneZeros.push_back(p++);
            continue;
        }
        ends += (byteAt(stretch, p) << 8 | byteAt(stretch, p + 1)) == treasure::kNoteEnd ? 1 : 0;
        p += 2;
    }
    EXPECT_EQ(ends, 80);
    ASSERT_EQ(loneZeros.size(), 1u);
    EXPECT_EQ(loneZeros[0] % 2, 0);
    const QStringList notes = DecodeTreasureNotes(stretch);
    int withLineFeed = 0;
    for (int n = 0; n < 80; ++n) {
        EXPECT_GT(notes[n].size(), 8) << n;
        EXPECT_FALSE(notes[n].contains(QChar(0xFFFD))) << n;
        withLineFeed += notes[n].contains(QLatin1Char('\n')) ? 1 : 0;
    }
    EXPECT_GT(withLineFeed, 40);
}
