#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "saveeditor/intimacy_stream.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varkel;
using test::cli;
using test::CliRun;

namespace {

const QString kNewest = QStringLiteral("svd_0%1.sav").arg(demo::kDemoNewestSlot);
constexpr int kUncontrolledSlot = 2;  // names an officer whose controlled flag is clear

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (const int v : list)
        b.append(static_cast<char>(v));
    return b;
}

// A copy of the demo's newest save to change, and the bytes it started from.
class RelationsCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete demo; }
    void SetUp() override
    {
        before = test::FileBytes(demo->file(kNewest));
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        tables = SaveTables::build(before);
    }
    QString save() const { return scratch.filePath(kNewest); }
    QByteArray now() const { return test::FileBytes(save()); }
    CliRun run(const QStringList& arguments) const
    {
        return cli(QStringList{arguments.front(), save()} + arguments.mid(1));
    }

    static test::TempGameFolder* demo;
    QTemporaryDir scratch;
    QByteArray before;
    SaveTables tables;
};

test::TempGameFolder* RelationsCli::demo = nullptr;

}  // namespace

TEST_F(RelationsCli, DumpShowsCopyZeroWithTypesAndPartyNames)
{
    const CliRun dump = run({"dump", "--records", "relations"});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    const QJsonArray all = dumped(dump);
    ASSERT_EQ(all.size(), relation::kCount);
    const int count = tables.officerCount;
    struct Row {
        int record;
        int type;
        bool aNamed, cNamed;
    };
    const std::vector<Row> rows = {
        {0, relation::kSworn, true, false},
        {1, relation::kFeud, true, true},
        {3, relation::kMarried, true, false},
        {demo::kDemoRelationWithOutsideA, relation::kNone, false, false},
        {demo::kDemoFeudWithoutThirdParty, relation::kFeud, true, false},
        {demo::kDemoRelationsInUse, relation::kNone, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        const QJsonObject o = all[row.record].toObject();
        const Relation r = DecodeRelation(before, count, row.record);
        EXPECT_EQ(o["kind"].toString(), "relation");
        EXPECT_EQ(o["type"].toInt(), row.type);
        EXPECT_EQ(o["type_text"].toString(), RelationKindItems()[row.type]);
        EXPECT_EQ(o["a"].toInt(), r.a);
        EXPECT_EQ(o["c"].toInt(), r.c);
        // None reads "無"; a number that names no officer of the save stands for itself.
        const auto name = [&](bool named, int party) {
            return named                         ? tables.officerNames[party]
                   : party == relation::kNoParty ? QStringLiteral("無")
                                                 : QString::number(party);
        };
        EXPECT_EQ(o["a_name"].toString(), name(row.aNamed, r.a));
        EXPECT_EQ(o["c_name"].toString(), name(row.cNamed, r.c));
    }
    EXPECT_EQ(all[demo::kDemoRelationWithOutsideA].toObject()["a"].toInt(), count);
}

// Each set writes the record into all eight copies and nothing else; diff names what
// set printed; the dump applied back changes nothing.
TEST_F(RelationsCli, SetStoresAllEightCopies)
{
    const QString original = scratch.filePath("original.sav");
    ASSERT_TRUE(test::WriteFileBytes(original, before));
    const QByteArray feud = bytes({79, 13, 48, 65});  // A 19, B 3, C 335, 仇敵
    const QByteArray empty = bytes({255, 255, 255, 63});
    struct Row {
        int record;
        QStringList assignments;
        QByteArray stored;
    };
    const std::vector<Row> rows = {
        {demo::kDemoRelationsInUse, {"a=19", "b=3", "c=335", "type=仇敵"}, feud},
        {0, {"a=19", "b=3", "c=335", "type=結婚"}, bytes({79, 13, 48, 193})},
        {1, {"type=──"}, empty},
        {2, {"a=1023"}, empty},  // no 甲方 clears the record, as the view's Apply does
        {demo::kDemoRelationWithDifferingCopy, {"a=19", "b=3", "c=335", "type=2"}, feud},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.assignments.join(' ').toStdString());
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        const CliRun set = run(QStringList{"set", "relation", QString::number(row.record)} + row.assignments);
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        QByteArray expected = before;
        for (int copy = 0; copy < relation::kCopyCount; ++copy)
            expected.replace(relation::record(row.record, copy), relation::kRecordSize, row.stored);
        EXPECT_TRUE(now() == expected);
        const CliRun diff = cli({"diff", original, save(), "--records", "relations"});
        EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
        EXPECT_EQ(diff.out, set.out);
    }

    ASSERT_TRUE(test::WriteFileBytes(save(), before));
    const QString edits = scratch.filePath("relations.jsonl");
    ASSERT_TRUE(test::WriteFileBytes(edits, run({"dump", "--records", "relations", "--format", "jsonl"}).out.toUtf8()));
    const CliRun apply = run({"apply", edits});
    EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
    EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
    EXPECT_TRUE(now() == before);
}

TEST_F(RelationsCli, RefusedRelationEditsWriteNothing)
{
    const QString record = QString::number(demo::kDemoRelationWithDifferingCopy);
    const QString empty = QString::number(demo::kDemoRelationsInUse);
    const QString count = QString::number(tables.officerCount);
    struct Row {
        QStringList arguments;  // after "set SAVE relation"
        QString complaint;
    };
    const std::vector<Row> rows = {
        {{record, "a=1024"}, "a: "},
        {{record, "b=-1"}, "b: "},
        {{record, "c=" + count}, "c: " + count + " is no officer of this save"},
        {{record, "type=5"}, "type: "},
        {{empty, "a=5", "b=6"}, "stored empty"},
        {{record, "type=0", "c=4"}, "c: the record would be stored empty"},
        {{QString::number(demo::kDemoRelationWithOutsideA), "type=結義"}, "type: 甲方 is stored as " + count},
        {{record, "kind=officer"}, "kind: "},
        {{"256", "type=1"}, "no such record"},
        {{record, "type=1", "--by-officer"}, "--by-officer"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun refused = run(QStringList{"set", "relation"} + row.arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(row.complaint)) << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty()) << refused.out.toStdString();
        EXPECT_TRUE(now() == before);
    }
}

// The planted copy is reported until a set stores the record again; the party at
// the officer count stays, as it is kept.
TEST_F(RelationsCli, CheckReportsDisagreeingCopiesAndPartiesOutsideTheTable)
{
    const QString planted = QStringLiteral("relation %1 ").arg(demo::kDemoRelationWithDifferingCopy);
    const QString copies =
        QStringLiteral(": copies at offset %1 = ")
            .arg(relation::record(demo::kDemoRelationWithDifferingCopy, demo::kDemoDifferingRelationCopy));
    const QString outside = QStringLiteral("relation %1 ──: a at offset %2 = %3: 甲方 is not below the %3 officers")
                                .arg(demo::kDemoRelationWithOutsideA)
                                .arg(relation::record(demo::kDemoRelationWithOutsideA))
                                .arg(tables.officerCount);
    const CliRun first = run({"check", "--records", "relations"});
    EXPECT_EQ(first.status, 1) << first.err.toStdString();
    EXPECT_EQ(first.out.count('\n'), 2) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains(planted) && first.out.contains(copies) &&
                first.out.contains(QStringLiteral("copy %1 differs from copy 0").arg(demo::kDemoDifferingRelationCopy)))
        << first.out.toStdString();
    EXPECT_TRUE(first.out.contains(outside)) << first.out.toStdString();

    const int b = DecodeRelation(before, tables.officerCount, demo::kDemoRelationWithDifferingCopy).b;
    const CliRun set = run({"set", "relation", QString::number(demo::kDemoRelationWithDifferingCopy),
                            QStringLiteral("b=%1").arg(b == 0 ? 1 : b - 1)});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    const CliRun after = run({"check", "--records", "relations"});
    EXPECT_EQ(after.out.count('\n'), 1) << after.out.toStdString();
    EXPECT_TRUE(after.out.contains(outside)) << after.out.toStdString();
}

TEST_F(RelationsCli, IntimacyDumpShowsOneRowPerPositionOfTheList)
{
    struct Row {
        int slot;
        bool special;
        int rows;
        bool note;  // the slot controls no officer
    };
    const std::vector<Row> rows = {
        {0, false, tables.officerCount, false},
        {0, true, intimacy::kSpecialPositions, false},
        {kUncontrolledSlot, false, tables.officerCount, true},
        {kUncontrolledSlot, true, intimacy::kSpecialPositions, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.slot << (row.special ? " special" : ""));
        QStringList arguments = {"dump", "--records", "intimacy", "--slot", QString::number(row.slot)};
        if (row.special)
            arguments << "--special";
        const CliRun dump = run(arguments);
        ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
        EXPECT_EQ(dump.err.contains("controls no officer"), row.note) << dump.err.toStdString();
        const QJsonArray all = dumped(dump);
        ASSERT_EQ(all.size(), row.rows);
        const LevelStream stream = IntimacyStream(row.slot, row.special);
        for (int k = 0; k < row.rows; ++k) {
            const QJsonObject o = all[k].toObject();
            const int officer = row.special ? *SpecialPositionOfficer(k) : *GeneralPositionOfficer(before, k);
            const int level = *stream.read(before, k);
            ASSERT_EQ(o["number"].toInt(), k);
            ASSERT_EQ(o["kind"].toString(), row.special ? "special_intimacy" : "intimacy");
            ASSERT_EQ(o["officer"].toInt(), officer) << k;
            ASSERT_EQ(o["officer_name"].toString(), tables.officerNames.value(officer)) << k;
            ASSERT_EQ(o["level"].toInt(), level) << k;
            ASSERT_EQ(o["level_text"].toString(), IntimacyLevelItems()[level]) << k;
        }
    }
}

// By position or by the officer the position belongs to; only that level's bits change.
TEST_F(RelationsCli, IntimacySetChangesOneLevel)
{
    const int last = tables.officerCount - 1;
    const int officerOfLast = *GeneralPositionOfficer(before, last);
    struct Row {
        QStringList arguments;  // after "set SAVE"
        bool special;
        int slot, position, level;
    };
    const std::vector<Row> rows = {
        {{"intimacy", "1", "level=敬愛", "--slot", "0"}, false, 0, 1, 30},
        {{"intimacy", "6", "level=7", "officer=" + QString::number(*GeneralPositionOfficer(before, 6)), "--slot", "7"},
         false,
         7,
         6,
         7},
        {{"intimacy", QString::number(officerOfLast), "level=0", "--slot", "0", "--by-officer"}, false, 0, last, 0},
        {{"special_intimacy", "364", "level=敬愛", "--slot", "2", "--special", "--by-officer"}, true, 2, 5, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        ASSERT_TRUE(test::WriteFileBytes(save(), before));
        const CliRun set = cli(QStringList{"set", save()} + row.arguments);
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        const LevelStream stream = IntimacyStream(row.slot, row.special);
        QByteArray expected = before;
        ASSERT_TRUE(stream.write(expected, row.position, row.level));
        EXPECT_TRUE(now() == expected);
        EXPECT_TRUE(set.out.startsWith(QStringLiteral("%1 %2 ").arg(row.arguments[0]).arg(row.position)))
            << set.out.toStdString();
        EXPECT_TRUE(set.out.endsWith(QStringLiteral(" -> %1\n").arg(IntimacyLevelItems()[row.level])))
            << set.out.toStdString();
    }
}

TEST_F(RelationsCli, RefusedIntimacyEditsWriteNothing)
{
    const QStringList slot0 = {"--slot", "0"};
    struct Row {
        QStringList arguments;  // after "set SAVE"
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {QStringList{"intimacy", "1", "level=32"} + slot0, "level: "},
        {QStringList{"intimacy", "1", "level=好友"} + slot0, "level: "},
        {QStringList{"intimacy", QString::number(tables.officerCount), "level=1"} + slot0, "no such record"},
        {QStringList{"intimacy", "1", "officer=5", "level=1"} + slot0, "officer is read-only"},
        {QStringList{"intimacy", "1", "slot=1", "level=1"} + slot0, "slot is read-only"},
        {QStringList{"intimacy", QString::number(demo::kDemoUnlistedFreeOfficer), "level=1", "--by-officer"} + slot0,
         "no record is about officer"},
        {QStringList{"intimacy", "5", "level=1", "--special", "--by-officer"} + slot0, "no record is about officer"},
        {{"intimacy", "1", "level=1"}, "needs --slot"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun refused = cli(QStringList{"set", save()} + row.arguments);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err.count('\n'), 1) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(row.complaint)) << refused.err.toStdString();
        EXPECT_TRUE(now() == before);
    }

    // A dump applies back unchanged, but not to the other list.
    const QString edits = scratch.filePath("levels.jsonl");
    ASSERT_TRUE(test::WriteFileBytes(
        edits, run(QStringList{"dump", "--records", "intimacy", "--format", "jsonl"} + slot0).out.toUtf8()));
    const CliRun same = run(QStringList{"apply", edits} + slot0);
    EXPECT_EQ(same.status, 0) << same.err.toStdString();
    EXPECT_TRUE(same.out.isEmpty()) << same.out.toStdString();
    for (const QStringList& other : {QStringList{"--slot", "1"}, QStringList{"--slot", "0", "--special"}}) {
        const CliRun refused = run(QStringList{"apply", edits} + other);
        EXPECT_EQ(refused.status, 2) << other.join(' ').toStdString();
    }
    EXPECT_TRUE(now() == before);
}
