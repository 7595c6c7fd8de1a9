#include "cli/cli_run.h"
#include "demo_folder/demo_folder.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/save_file.h"
#include "shared/record_batch.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace varkel;

namespace {

using test::cli;
using test::CliRun;

class WhereCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete folder; }

    static QString slot() { return SaveGame::slotPath(folder->path(), demo::kDemoSlotWith860Officers); }
    QString copy()
    {
        const QString path = scratch.filePath(QStringLiteral("copy.sav"));
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(slot(), path));
        return path;
    }
    static std::vector<int> numbers(const CliRun& run)
    {
        std::vector<int> found;
        for (const auto& record : test::dumped(run))
            found.push_back(record.toObject().value("number").toInt());
        return found;
    }
    // What the model's batch makes of the records of the demo save `kind` names.
    static QByteArray batched(const QString& kindName, const QString& where, const QStringList& typed)
    {
        QByteArray save = test::FileBytes(slot());
        std::unique_ptr<RecordKind> kind;
        if (kindName == QLatin1String("family"))
            kind = std::make_unique<FamilyKind>();
        else
            kind = std::make_unique<OfficerKind>();
        kind->load(save);
        RunBatch(*kind, *RecordFilter::parse(*kind, where, nullptr),
                 *ParseAssignments(*kind, typed, nullptr, BeyondStorable::Clamp));
        return save;
    }

    static test::TempGameFolder* folder;
    QTemporaryDir scratch;
};

test::TempGameFolder* WhereCli::folder = nullptr;

}  // namespace

TEST_F(WhereCli, DumpShowsTheRecordsTheFilterPicksAndOnlyNarrowsThemFurther)
{
    struct Row {
        QStringList arguments;
        std::vector<int> numbers;
    };
    const std::vector<Row> rows = {
        {{"--where", "武力>=90 身份=在野"}, {171, 518}},
        {{"--where", "might>=90 status=在野", "--only", "1,171,200"}, {171}},
        {{"--where", "", "--only", "3,4"}, {3, 4}},
        {{"--records", "officers", "--where", "編號<3"}, {0, 1, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = cli(QStringList{"dump", slot(), "--format", "jsonl"} + row.arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        std::vector<int> found;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts))
            found.push_back(QJsonDocument::fromJson(line.toUtf8()).object().value("number").toInt());
        EXPECT_EQ(found, row.numbers);
    }
    const CliRun csv = cli({"dump", slot(), "--format", "csv", "--where", "編號<3"});
    EXPECT_EQ(csv.out.count("\r\n"), 4);  // the header and three rows
}

TEST_F(WhereCli, ABadFilterOrAssignmentIsRefusedWithItsReasonAndWritesNothing)
{
    struct Row {
        QStringList arguments;
        QString complaint;
    };
    const QString path = copy();
    const std::vector<Row> rows = {
        {{"dump", path, "--where", "武カ>=90"}, "--where: 沒有「武カ」這個欄位。"},
        {{"set", path, "officer", "--where", "忠誠<<60", "loyalty=1"}, "--where: 「忠誠<<60」中的「<<」不是比較符號"},
        {{"set", path, "officer", "--where", "忠誠<60", "force=1"}, "「勢力」是唯讀的，不能修改。"},
        {{"set", path, "officer", "--where", "忠誠<60", "loyalty=*x"}, "「忠誠」的「*x」不是百分比"},
        {{"set", path, "officer", "--where", "忠誠<60", "--by-officer", "loyalty=1"}, "--by-officer"},
        // Numbers past what a field holds, refused by the field's name, never wrapped.
        {{"set", path, "officer", "--where", "number<3", "loyalty=+9223372036854775807", "--dry-run"},
         "「忠誠」的「+9223372036854775807」太大"},
        {{"set", path, "officer", "--where", "number<3", "loyalty=*999999999999999999%"},
         "「忠誠」的「*999999999999999999%」太大"},
        {{"dump", path, "--records", "family", "--where", "壽命>=4611686018427387904"},
         "「壽命」的「4611686018427387904」太大"},
        {{"set", path, "officer"}, "NUMBER is required"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = cli(row.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(test::FileBytes(path) == test::FileBytes(slot()));
    }
}

TEST_F(WhereCli, SetChangesThePickedRecordsAsTheModelsBatchDoes)
{
    const QString moneyRefused = QStringLiteral("「金錢」不能大於65535。");  // what no record is told
    const QString noCap = QStringLiteral("might: 這筆記錄沒有「武力上限」，不能用 cap。");
    struct Row {
        QString where;
        QStringList assignments;
        int status;
        QString refusal;           // what each refused record is told
        int refused = -1;          // how many are refused; -1: not fixed here
        QString kind = "officer";
    };
    const std::vector<Row> rows = {
        {"忠誠<60 身份=在野", {"loyalty=+10", "charisma=*110%"}, 0, moneyRefused, 0},
        {"", {"loyalty=max"}, 0, moneyRefused, 0},
        // The largest amount read: every loyalty goes to its limit.
        {"編號<3", {"loyalty=+2147483647"}, 0, moneyRefused, 0},
        // Money above 65535 is clamped to it, as a single set clamps it: nothing refused.
        {"", {"money=*300%"}, 0, moneyRefused, 0},
        {"金錢>=30000", {"money=*300%"}, 0, moneyRefused, 0},
        // Spouses (8..15) have no caps: each is refused, the empty ones too, whose might
        // of 0 would not change; children 4..7 (empty) are at their caps of 0.
        {"編號>=4", {"might=cap"}, 2, noCap, 8, "family"},
        // No record picked: nothing to do.
        {"武力>255", {"loyalty=1"}, 0, moneyRefused, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.kind + ' ' + row.where + ' ' + row.assignments.join(' ')).toStdString());
        const QString path = copy();
        const CliRun dry = cli(QStringList{"set", path, row.kind, "--where", row.where, "--dry-run"} + row.assignments);
        EXPECT_EQ(dry.status, row.status) << dry.err.toStdString();
        EXPECT_TRUE(test::FileBytes(path) == test::FileBytes(slot()));

        const CliRun set = cli(QStringList{"set", path, row.kind, "--where", row.where} + row.assignments);
        EXPECT_EQ(set.status, row.status) << set.err.toStdString();
        // The dry run listed exactly what the run changed.
        EXPECT_EQ(set.out, dry.out);
        EXPECT_TRUE(test::FileBytes(path) == batched(row.kind, row.where, row.assignments));
        const int refusals = int(set.err.count(row.refusal));
        EXPECT_EQ(set.err.count('\n'), refusals + 1) << set.err.toStdString();  // and the tally
        EXPECT_TRUE(set.err.contains(QStringLiteral(" unchanged, %1 refused").arg(refusals))) << set.err.toStdString();
        if (row.refused >= 0) {
            EXPECT_EQ(refusals, row.refused);
        }
        if (row.status == 2) {
            EXPECT_TRUE(test::FileBytes(path) == test::FileBytes(slot()));
        }
    }
}

TEST_F(WhereCli, SetListsEachChangeAsTheSingleRecordSetDoes)
{
    const QString one = copy();
    const CliRun single = cli({"set", one, "officer", "171", "loyalty=100"});
    ASSERT_EQ(single.status, 0) << single.err.toStdString();
    const QString many = copy();
    const CliRun batch = cli({"set", many, "officer", "--where", "編號=171", "loyalty=max"});
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    EXPECT_EQ(batch.out, single.out);
    EXPECT_TRUE(test::FileBytes(many) == test::FileBytes(one));
}
