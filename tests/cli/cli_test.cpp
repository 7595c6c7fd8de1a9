#include "demo_folder/demo_folder.h"
#include "saveeditor/control.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_tables.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varkel;

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs the built varkel-cli; backups go to a folder of the test's own.
CliRun cli(const QStringList& arguments)
{
    static QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARKEL_CLI), arguments);
    if (!process.waitForFinished(60'000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray bytesOf(const QString& path)
{
    return test::FileBytes(path);
}

void writeText(const QString& path, const QString& text)
{
    ASSERT_TRUE(test::WriteFileBytes(path, text.toUtf8()));
}

// Rows of a CSV text, quotes and line breaks inside quotes understood.
std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                cell += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            row << cell;
            rows.push_back(row);
            row.clear();
            cell.clear();
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    return rows;
}

class Cli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete folder; }

    // A copy of slot k to change.
    QString copyOf(int k)
    {
        const QString path = scratch.filePath(QStringLiteral("copy%1.sav").arg(k));
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(slot(k), path));
        return path;
    }
    static QString slot(int k) { return folder->file(QStringLiteral("svd_0%1.sav").arg(k)); }

    static test::TempGameFolder* folder;
    QTemporaryDir scratch;
};

test::TempGameFolder* Cli::folder = nullptr;

}  // namespace

TEST_F(Cli, DumpThenApplyOfEverySaveChangesNoByte)
{
    for (int k = 0; k < 9; ++k) {
        for (const char* format : {"json", "jsonl"}) {
            SCOPED_TRACE(testing::Message() << "slot " << k << " " << format);
            const QString save = copyOf(k);
            const CliRun dump = cli({"dump", save, "--format", format, "--game-folder", folder->path()});
            ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
            const QString edits = scratch.filePath("edits.json");
            writeText(edits, dump.out);
            const CliRun apply = cli({"apply", save, edits});
            EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
            EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
            EXPECT_EQ(bytesOf(save), bytesOf(slot(k)));
        }
    }
}

TEST_F(Cli, RefusedValuesExit2AndLeaveTheFileAlone)
{
    struct Row {
        QStringList arguments;
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {{"officer", "12", "loyalty=abc"}, "loyalty"},
        {{"officer", "12", "might=256"}, "might"},
        {{"officer", "12", "loyalty=90", "surname=ab"}, "surname"},
        {{"officer", "12", "status=在野"}, "status"},
        {{"officer", "12", "rank=十品官"}, "rank"},
        {{"officer", "12", "tactics=1,2"}, "tactics"},
        {{"officer", "12", "favourite=1"}, "favourite"},
        {{"officer", "99999", "loyalty=1"}, "99999"},
        {{"treasure", "1", "price=1"}, "treasure"},
        {{"officer", "12", "loyalty"}, "FIELD=VALUE"},
    };
    const QString save = copyOf(5);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = cli(QStringList{"set", save} + row.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(save)) << run.err.toStdString();
        EXPECT_EQ(bytesOf(save), bytesOf(slot(5)));
    }
}

TEST_F(Cli, DiffShowsExactlyWhatSetChanged)
{
    const QString save = copyOf(5);
    const CliRun same = cli({"diff", save, slot(5)});
    EXPECT_EQ(same.status, 0);
    EXPECT_TRUE(same.out.isEmpty()) << same.out.toStdString();

    const CliRun set = cli({"set", save, "officer", "12", "loyalty=90", "skills=騎兵", "given_name=大"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    // The full name follows the given name, and says so.
    EXPECT_TRUE(set.out.contains("officer 12 石華: full_name 石華 -> 石大\n")) << set.out.toStdString();
    const CliRun diff = cli({"diff", slot(5), save});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, set.out);
}

TEST_F(Cli, CheckFindsThePlantedOddValues)
{
    const CliRun run = cli({"check", slot(demo::kDemoOddTacticSlot)});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("officer %1 ").arg(demo::kDemoOddTacticOfficer))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("tactics at offset")) << run.out.toStdString();
}

TEST_F(Cli, CsvHasOneRowPerRecordOfTheJson)
{
    for (const char* records : {"officers", "tables"}) {
        SCOPED_TRACE(records);
        const CliRun json = cli({"dump", slot(3), "--records", records});
        const CliRun csv = cli({"dump", slot(3), "--records", records, "--format", "csv"});
        ASSERT_EQ(json.status, 0);
        ASSERT_EQ(csv.status, 0);
        const QJsonArray all = QJsonDocument::fromJson(json.out.toUtf8()).array();
        const std::vector<QStringList> rows = parseCsv(csv.out);
        ASSERT_EQ(rows.size(), std::size_t(all.size()) + 1);
        for (const QStringList& row : rows)
            EXPECT_EQ(row.size(), rows.front().size());
    }
}

TEST_F(Cli, InfoNamesTheFileAndItsControlledOfficers)
{
    const CliRun run = cli({"info", slot(5)});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains("saved game, 374534 bytes"));
    EXPECT_TRUE(run.out.contains("controlled officers: "));
    EXPECT_TRUE(cli({"info", folder->file("g_maindy.vk")}).out.contains("picture bank"));
}

namespace {

// An officer of `save` that the officer view lets one take control of.
int controllableOfficer(const QByteArray& save)
{
    const SaveTables tables = SaveTables::build(save);
    for (int n = 1; n < tables.officerCount; ++n)
        if (DecodeStatusBlock(save, save::statusBlock(n)).status < 8 && !tables.isControlled(n) &&
            PersonNumberOf(save, n) >= 0)
            return n;
    return -1;
}

}  // namespace

// The command line changes control as the model does, and writes nothing else.
TEST_F(Cli, ControlMakesTheModelsChange)
{
    const QByteArray newest = bytesOf(slot(demo::kDemoNewestSlot));
    const SaveTables tables = SaveTables::build(newest);
    struct Row {
        const char* action;
        int officer;
        const char* says;
    };
    const std::vector<Row> rows = {
        {"take", controllableOfficer(newest), "controlled through player slot 2"},
        {"give-up", tables.controlled[1], "player slot 1 is empty"},
        {"appear", demo::kDemoUnlistedDeadOfficer, "listed as person"},
        {"appear", demo::kDemoListedNotAppearedOfficer, "as before"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.action << " " << row.officer);
        QByteArray expected = newest;
        ControlledSlots controlled = tables.controlled;
        if (QLatin1String(row.action) == QLatin1String("take"))
            ASSERT_EQ(TakeControl(expected, controlled, row.officer).refusal, ControlRefusal::None);
        else if (QLatin1String(row.action) == QLatin1String("give-up"))
            ASSERT_EQ(GiveUpControl(expected, controlled, row.officer).refusal, ControlRefusal::None);
        else
            ASSERT_TRUE(ForceAppearance(expected, row.officer));
        ASSERT_NE(expected, newest);

        const QString save = copyOf(demo::kDemoNewestSlot);
        const QStringList arguments = {"control", save, row.action, QString::number(row.officer)};
        const CliRun dry = cli(arguments + QStringList{"--dry-run"});
        EXPECT_EQ(dry.status, 0) << dry.err.toStdString();
        EXPECT_EQ(bytesOf(save), newest);
        const QString elsewhere = scratch.filePath("out.sav");
        const CliRun run = cli(arguments + QStringList{"--output", elsewhere});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, dry.out);
        EXPECT_TRUE(run.out.contains(row.says)) << run.out.toStdString();
        EXPECT_EQ(run.out.count('\n'), 1);
        EXPECT_EQ(bytesOf(save), newest);
        EXPECT_EQ(bytesOf(elsewhere), expected);
        EXPECT_EQ(cli(arguments).status, 0);
        EXPECT_EQ(bytesOf(save), expected);
    }
}

TEST_F(Cli, RefusedControlExits2AndLeavesTheFileAlone)
{
    struct Row {
        int slot;
        QString action;
        int officer;
        const char* complaint;
    };
    const QByteArray eight = bytesOf(slot(demo::kDemoSlotWithEightControlled));
    const QByteArray newest = bytesOf(slot(demo::kDemoNewestSlot));
    const SaveTables tables = SaveTables::build(newest);
    const std::vector<Row> rows = {
        {demo::kDemoSlotWithEightControlled, "take", controllableOfficer(eight), "eight officers"},
        {demo::kDemoNewestSlot, "give-up", CurrentOfficer(newest), "current officer"},
        {demo::kDemoNewestSlot, "take", demo::kDemoUnlistedFreeOfficer, "person number"},
        {demo::kDemoNewestSlot, "take", tables.controlled[0], "controlled already"},
        {demo::kDemoNewestSlot, "give-up", controllableOfficer(newest), "not controlled"},
        {demo::kDemoNewestSlot, "take", demo::kDemoUnlistedDeadOfficer, "out of the game"},
        {demo::kDemoNewestSlot, "appear", tables.controlled[0], "in the game"},
        {demo::kDemoNewestSlot, "appear", 99999, "no such officer"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.action.toStdString() << " " << row.officer);
        const QString save = copyOf(row.slot);
        const QByteArray before = bytesOf(save);
        const CliRun run = cli({"control", save, row.action, QString::number(row.officer)});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(bytesOf(save), before);
    }
}
