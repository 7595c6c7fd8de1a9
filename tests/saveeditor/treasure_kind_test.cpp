// The treasures as the command line edits them: on a saved game the owner goes to
// the save and the attributes to the scenario bytes, on the scenario file there is
// no owner, and a refused edit leaves both buffers as they were.
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_kind.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace varkel;
using namespace varkel::treasure;

namespace {

class TreasureKindTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const test::TempGameFolder folder;
        scenario = new QByteArray(test::FileBytes(folder.file(QStringLiteral("d_sce.vk"))));
        save = new QByteArray(test::FileBytes(folder.file(QStringLiteral("svd_05.sav"))));
        const QByteArray messages = test::FileBytes(folder.file(QStringLiteral("m_msg.vk")));
        notes = new QStringList(DecodeTreasureNotes(messages.mid(kNotesOffset, kNotesSize)));
    }
    static void TearDownTestSuite()
    {
        delete scenario;
        delete save;
        delete notes;
    }

    static QByteArray* scenario;
    static QByteArray* save;
    static QStringList* notes;
};

QByteArray* TreasureKindTest::scenario = nullptr;
QByteArray* TreasureKindTest::save = nullptr;
QStringList* TreasureKindTest::notes = nullptr;

using Values = std::vector<std::pair<QString, QString>>;

// What a record shows under `key`: a field's value or a named text.
QString shown(const RecordKind& kind, int n, const QString& key)
{
    const auto values = kind.read(n);
    for (std::size_t i = 0; i < kind.fields().size(); ++i)
        if (kind.fields()[i]->key == key)
            return values[i].absent ? QStringLiteral("(absent)") : FieldValueText(*kind.fields()[i], values[i]);
    for (const auto& [name, text] : kind.namedTexts(n))
        if (name == key)
            return text;
    return QStringLiteral("(none)");
}

}  // namespace

TEST_F(TreasureKindTest, ReadsOwnerFromTheSaveAndAttributesFromTheScenario)
{
    QByteArray s = *scenario, g = *save;
    TreasureKind ofSave(&s, *notes);
    ofSave.load(g);
    QByteArray alone = *scenario;
    TreasureKind ofScenario(nullptr, *notes);
    ofScenario.load(alone);
    TreasureKind withoutNotes;
    withoutNotes.load(alone);

    const int t = 3;
    const TreasureRecord r = DecodeTreasure(*scenario, save, t);
    ASSERT_EQ(r.owner, treasure::kLastOwner);
    struct Row {
        const RecordKind* kind;
        const char* key;
        QString expected;
    };
    const std::vector<Row> rows = {
        {&ofSave, "name", r.name},
        {&ofSave, "owner", QString::number(r.owner)},
        {&ofSave, "owner_text", QStringLiteral("無")},  // 1720: nobody owns it
        {&ofSave, "note", (*notes)[r.picture]},
        {&ofSave, "price", QString::number(100 * r.priceHundreds)},
        {&ofScenario, "name", r.name},
        {&ofScenario, "owner", QStringLiteral("(absent)")},
        {&ofScenario, "owner_text", QStringLiteral("(none)")},
        {&ofScenario, "note", (*notes)[r.picture]},
        {&withoutNotes, "note", QStringLiteral("(none)")},
    };
    for (const Row& row : rows)
        EXPECT_EQ(shown(*row.kind, t, QString::fromLatin1(row.key)), row.expected) << row.key;
    EXPECT_EQ(ofSave.recordName(t), r.name);
    EXPECT_EQ(shown(ofSave, demo::kDemoTreasureWithOddOwner, QStringLiteral("owner_text")), QStringLiteral("1800"));
    EXPECT_EQ(shown(ofSave, 0, QStringLiteral("owner_text")),
              SaveTables::build(*save).officerNames[DecodeTreasure(*scenario, save, 0).owner]);
    EXPECT_EQ(ofSave.namedTextKeys(), (QStringList{QStringLiteral("owner_text"), QStringLiteral("note")}));
    EXPECT_EQ(ofScenario.namedTextKeys(), QStringList{QStringLiteral("note")});
}

TEST_F(TreasureKindTest, EditsGoToTheFileThatStoresTheField)
{
    const int t = 3;
    const qsizetype r = record(t);
    struct Row {
        const char* what;
        bool onSave;
        Values values;
        bool refused;
        bool saveChanges, scenarioChanges;
    };
    const std::vector<Row> rows = {
        {"owner", true, {{"owner", "12"}}, false, true, false},
        {"officer 0 as the owner", true, {{"owner", "0"}}, false, true, false},
        {"price", true, {{"price", "1250"}}, false, false, true},
        {"both", true, {{"owner", "12"}, {"name", "甲乙"}}, false, true, true},
        {"points of 100 keep the byte", true, {{"points", "100"}}, false, false, false},
        {"owner above the table", true, {{"owner", "1721"}}, true, false, false},
        {"empty name", true, {{"name", ""}}, true, false, false},
        // Stored first, then the note no longer agrees with the new picture.
        {"note of another picture", true, {{"picture", "7"}, {"owner", "12"}, {"note", "x"}}, true, false, false},
        {"owner on the scenario", false, {{"owner", "12"}}, true, false, false},
        {"owner text on the scenario", false, {{"owner_text", "x"}}, true, false, false},
        {"picture on the scenario", false, {{"picture", "7"}}, false, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray s = *scenario, g = *save;
        TreasureKind kind(row.onSave ? &s : nullptr, *notes);
        kind.load(row.onSave ? g : s);
        const EditResult result = EditRecord(kind, row.onSave ? g : s, t, row.values);
        EXPECT_EQ(result.problem.has_value(), row.refused) << result.problem.value_or(QString()).toStdString();
        EXPECT_EQ(g != *save, row.saveChanges);
        EXPECT_EQ(s != *scenario, row.scenarioChanges);
        // Only the owned bytes: the owner's two, the name's and 13..17 of the record.
        QByteArray restored = s;
        restored.replace(r, 12, scenario->mid(r, 12));
        restored.replace(r + kKind, 5, scenario->mid(r + kKind, 5));
        EXPECT_EQ(restored, *scenario);
        QByteArray restoredSave = g;
        restoredSave.replace(ownerEntry(t), 2, save->mid(ownerEntry(t), 2));
        EXPECT_EQ(restoredSave, *save);
    }
}

TEST_F(TreasureKindTest, ChecksFindTheOddValuesOfTheirFile)
{
    QByteArray s = *scenario, g = *save;
    setByte(s, record(40) + kKind, 12);
    setByte(s, record(41) + kPicture, 80);
    setByte(s, record(42) + kSkill, 254);
    setByte(s, record(43) + kSkill, 27);
    TreasureKind ofSave(&s, *notes);
    ofSave.load(g);
    TreasureKind ofScenario;
    ofScenario.load(s);
    struct Row {
        int treasure;
        const char* field;
        qsizetype offset;
        int value;
        bool inScenario;  // also found on the scenario file
    };
    const std::vector<Row> rows = {
        {demo::kDemoTreasureWithOddOwner, "owner", ownerEntry(demo::kDemoTreasureWithOddOwner), demo::kDemoOddOwner,
         false},
        {40, "type", record(40) + kKind, 12, true},
        {41, "picture", record(41) + kPicture, 80, true},
        {42, "skill", record(42) + kSkill, 254, true},
        {43, "skill", record(43) + kSkill, 27, true},
        {demo::kDemoTreasureWithOddSkill, "skill", record(demo::kDemoTreasureWithOddSkill) + kSkill,
         demo::kDemoOddSkill, true},
    };
    const auto onSave = ofSave.check();
    const auto onScenario = ofScenario.check();
    EXPECT_EQ(onSave.size(), rows.size());
    EXPECT_EQ(onScenario.size(), rows.size() - 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.treasure);
        for (const auto* found : {&onSave, &onScenario}) {
            const bool expected = found == &onSave || row.inScenario;
            const auto at = std::find_if(found->begin(), found->end(), [&](const RecordKind::Finding& f) {
                return f.record == row.treasure && f.field == QLatin1String(row.field) && f.offset == row.offset &&
                       f.value == row.value;
            });
            EXPECT_EQ(at != found->end(), expected) << (found == &onSave ? "on the save" : "on the scenario");
        }
    }
}
