#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "person/biography.h"
#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace varkel;
using test::cli;
using test::CliRun;

namespace {

const QString kNewest = QStringLiteral("svd_0%1.sav").arg(demo::kDemoNewestSlot);
const QString kClamped = QStringLiteral(" (clamped to the field's limit)");

// A copy of the demo's newest save to change, and the bytes it started from.
class FamilyCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete demo; }
    void SetUp() override { prepare(test::FileBytes(demo->file(kNewest))); }

    void prepare(const QByteArray& bytes)
    {
        before = bytes;
        ASSERT_TRUE(test::WriteFileBytes(save(), bytes));
    }
    QString save() const { return scratch.filePath(kNewest); }
    QByteArray now() const { return test::FileBytes(save()); }

    static test::TempGameFolder* demo;
    QTemporaryDir scratch;
    QByteArray before;
};

test::TempGameFolder* FamilyCli::demo = nullptr;

}  // namespace

TEST_F(FamilyCli, DumpListsSixteenMembersWithTheChildrensOwnFields)
{
    const CliRun run = cli({"dump", save(), "--records", "family"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray all = dumped(run);
    ASSERT_EQ(all.size(), family::kMemberCount);
    for (int k = 0; k < family::kMemberCount; ++k) {
        SCOPED_TRACE(k);
        const QJsonObject o = all[k].toObject();
        const FamilyMember m = DecodeFamilyMember(before, k);
        EXPECT_EQ(o["kind"].toString(), "family_member");
        EXPECT_EQ(o["number"].toInt(), k);
        EXPECT_EQ(o["full_name"].toString(), m.person.fullName);
        EXPECT_EQ(o["charisma"].toInt(), m.person.abilities[3]);
        EXPECT_EQ(o["lifespan"].toDouble(), m.lifespanHalves / 2.0);  // 7.5, as the family view shows it
        for (const char* key : {"biography", "politics_cap", "politics_growth"})
            EXPECT_EQ(o.contains(key), family::isChild(k)) << key;
        if (family::isChild(k)) {
            EXPECT_EQ(o["biography"].toString(), DecodeBiography(before, family::biographyRecord(k)));
            EXPECT_EQ(o["politics_cap"].toInt(), m.caps[2]);
            EXPECT_EQ(o["politics_growth"].toInt(), m.growth[2]);
        }
    }
}

// Every member of every demo save, odd half years among them, dumps its lifespan as
// the family view shows it.
TEST_F(FamilyCli, LifespansDumpWithTheirHalfYearsInEverySave)
{
    bool half = false;
    for (int k = 0; k < save::kSlotCount; ++k) {
        const QString path = SaveGame::slotPath(demo->path(), k);
        const QByteArray bytes = test::FileBytes(path);
        const QJsonArray all = dumped(cli({"dump", path, "--records", "family"}));
        ASSERT_EQ(all.size(), family::kMemberCount) << k;
        for (int m = 0; m < family::kMemberCount; ++m) {
            const int halves = DecodeFamilyMember(bytes, m).lifespanHalves;
            EXPECT_EQ(all[m].toObject()["lifespan"].toDouble(), halves / 2.0) << "slot " << k << " member " << m;
            half = half || halves % 2 == 1;
        }
    }
    EXPECT_TRUE(half);
}

// Each set stores what the model's codecs store, diff names exactly what set
// printed, and the dump of the family applied back changes nothing (not even the
// ability copy planted apart from its ability: only a changed ability moves it). Member 4's
// ability copy at +37 differs from its abilities, which a biography alone keeps.
TEST_F(FamilyCli, SetStoresThroughTheCodecsAndDiffShowsIt)
{
    QByteArray planted = before;
    setByte(planted, family::record(4) + 37, byteAt(planted, family::record(4) + 62) ^ 1);
    const QString original = scratch.filePath("original.sav");
    ASSERT_TRUE(test::WriteFileBytes(original, planted));
    const QString biography = QStringLiteral("國").repeated(20);
    struct Row {
        int member;
        QStringList assignments;
        std::function<void(FamilyMember&)> edit;
        QString storedBiography;  // null: it stays
        bool clamped = false;
    };
    const std::vector<Row> rows = {
        {0,
         {"given_name=大"},
         [](FamilyMember& m) {
             m.person.givenName = QStringLiteral("大");
             m.person.fullName = m.person.surname + m.person.givenName;
         },
         {}},
        {0, {"might=91"}, [](FamilyMember& m) { m.person.abilities[0] = 91; }, {}},
        {3, {"intellect_cap=99"}, [](FamilyMember& m) { m.caps[1] = 99; }, {}},
        {3, {"charisma_growth=8"}, [](FamilyMember& m) { m.growth[3] = family::kMaxGrowth; }, {}, true},
        {4, {"biography=" + biography}, nullptr, biography},
        {8, {"politics=12"}, [](FamilyMember& m) { m.person.abilities[2] = 12; }, {}},
        {1, {"lifespan=3.5"}, [](FamilyMember& m) { m.lifespanHalves = 7; }, {}},
        {1, {"lifespan=6"}, [](FamilyMember& m) { m.lifespanHalves = 12; }, {}},
        {2, {"lifespan=9.5"}, [](FamilyMember& m) { m.lifespanHalves = 14; }, {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.assignments.join(' ').toStdString());
        prepare(planted);
        QByteArray expected = planted;
        if (row.edit) {
            FamilyMember m = DecodeFamilyMember(planted, row.member);
            row.edit(m);
            EncodeFamilyMember(expected, row.member, m);
        }
        if (!row.storedBiography.isNull()) {
            ASSERT_FALSE(EncodeBiography(expected, family::biographyRecord(row.member), row.storedBiography));
        }
        const QStringList arguments = {"set", save(), "family_member", QString::number(row.member)};
        const CliRun set = cli(arguments + row.assignments);
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_EQ(now(), expected);
        EXPECT_NE(now(), planted);
        EXPECT_EQ(set.out.contains(kClamped), row.clamped) << set.out.toStdString();

        for (const QStringList& only : {QStringList{}, QStringList{"--records", "family"}}) {
            const CliRun diff = cli(QStringList{"diff", original, save()} + only);
            EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
            EXPECT_EQ(diff.out, QString(set.out).remove(kClamped));
        }
    }

    prepare(planted);
    const CliRun dump = cli({"dump", save(), "--records", "family", "--format", "jsonl"});
    const QString edits = scratch.filePath("family.jsonl");
    ASSERT_TRUE(test::WriteFileBytes(edits, dump.out.toUtf8()));
    const CliRun apply = cli({"apply", save(), edits});
    EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
    EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
    EXPECT_EQ(now(), planted);
}

TEST_F(FamilyCli, RefusedEditsExit2AndWriteNothing)
{
    struct Row {
        QStringList arguments;  // after "set SAVE family_member"
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {{"0", "might=x"}, "might"},
        {{"0", "lifespan=3.4"}, "lifespan"},
        {{"0", "lifespan=-1"}, "lifespan"},
        {{"0", "lifespan=3.5.5"}, "lifespan"},
        {{"0", "given_name=大", "biography=國a"}, "biography"},
        {{"0", "biography=" + QStringLiteral("國").repeated(75)}, "biography"},
        {{"0", "surname="}, "surname"},
        {{"8", "might_cap=90"}, "might_cap: only children"},
        {{"8", "intellect_growth=0"}, "intellect_growth: only children"},
        {{"8", "biography=國"}, "biography: only children"},
        // Member 7 of this save has no name, which an edit must give it.
        {{"7", "might=50"}, "surname"},
        {{"16", "might=50"}, "16"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = cli(QStringList{"set", save(), "family_member"} + row.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(now(), before);
    }
}

// Member 0 is 14 with its officer; member 1 is 15, member 2's slot controls no
// officer, member 6 has no name.
TEST_F(FamilyCli, ForecastPrintsTheChildsLinesOrSaysWhyNot)
{
    ASSERT_EQ(demo::kDemoChildAges[0], 14);
    const FamilyMember child = DecodeFamilyMember(before, 0);
    const int age = DisplayFamilyMember(before, SaveTables::build(before), 0, [] { return 0.0; }).age;
    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, age, before);
    QString expected;
    for (std::size_t i = 0; i < lines.size(); ++i)
        expected += GetResText(122 + int(i % 4)) + ": " + lines[i] + '\n';

    struct Row {
        const char* member;
        int status;
        QString out;
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {"0", 0, expected, ""},      {"1", 2, {}, "is 15 years old"}, {"2", 2, {}, "controls no officer"},
        {"6", 2, {}, "has no name"}, {"8", 2, {}, "is a spouse"},     {"16", 2, {}, "no such member"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.member);
        const CliRun run = cli({"forecast", save(), row.member});
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err.count('\n'), row.status ? 1 : 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
    }
}

// The demo gives member 4 a biography of 76 characters, as a full record without
// its 0 byte reads.
TEST_F(FamilyCli, CheckFindsABiographyThatCannotBeStoredAgain)
{
    ASSERT_EQ(demo::kDemoChildBiographyLengths[4], 76);
    const CliRun run = cli({"check", save(), "--records", "family"});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("family_member 4 %1: biography at offset %2 = 76: more than 74")
                                     .arg(DecodeFamilyMember(before, 4).person.fullName)
                                     .arg(family::biographyRecord(4))))
        << run.out.toStdString();
}
