#include "cli/cli_run.h"
#include "cli/csv_reader.h"
#include "demo_folder/demo_folder.h"
#include "saveeditor/control.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_record.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varkel;

namespace {

using test::cli;
using test::CliRun;
using test::FileBytes;

void writeText(const QString& path, const QString& text)
{
    ASSERT_TRUE(test::WriteFileBytes(path, text.toUtf8()));
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
    // Each shape dump writes, CSV for people (the mark, captions) too.
    const std::vector<QStringList> formats = {
        {"--format", "json"}, {"--format", "jsonl"}, {"--format", "csv"}, {"--format", "csv", "--bom", "--captions"}};
    for (int k = 0; k < 9; ++k) {
        for (const QStringList& format : formats) {
            SCOPED_TRACE(testing::Message() << "slot " << k << " " << format.join(' ').toStdString());
            const QString save = copyOf(k);
            const CliRun dump = cli(QStringList{"dump", save, "--game-folder", folder->path()} + format);
            ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
            const QString edits = scratch.filePath("edits.txt");
            writeText(edits, dump.out);
            const CliRun apply = cli({"apply", save, edits});
            EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
            EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
            EXPECT_EQ(FileBytes(save), FileBytes(slot(k)));
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
        {{"officer", "12", "might=-1"}, "might"},
        {{"officer", "12", "might=99999999999"}, "might"},
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
        EXPECT_EQ(FileBytes(save), FileBytes(slot(5)));
    }
}

// One rule for every number: clamped to the field's limits, or to the most the
// record holds where the field has none, each clamp said; the stored value is that.
TEST_F(Cli, SetClampsEveryNumberAndSaysSo)
{
    const struct {
        const char* assignment;
        const char* key;
        int stored;
        bool clamped;
    } rows[] = {
        {"loyalty=200", "loyalty", 100, true},   {"money=70000", "money", 65535, true},
        {"might=300", "might", 255, true},       {"birth_year=50", "birth_year", 100, true},
        {"fame=65535", "fame", 60000, true},     {"charisma=80", "charisma", 80, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.assignment);
        const QString save = copyOf(5);
        const CliRun run = cli({"set", save, "officer", "12", row.assignment});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("-> %1").arg(row.stored))) << run.out.toStdString();
        EXPECT_EQ(run.out.contains(QStringLiteral("(clamped to the field's limit)")), row.clamped)
            << run.out.toStdString();
        const CliRun dump = cli({"dump", save, "--only", "12"});
        EXPECT_EQ(test::dumped(dump)[0].toObject()[QLatin1String(row.key)].toInt(), row.stored);
    }
}

// A CSV or JSON with a row that cannot be stored refuses the whole apply and
// writes nothing; one with good rows writes them, --dry-run shows the same lines.
TEST_F(Cli, ApplyOfCsvOrJsonIsWholeOrNothing)
{
    struct Row {
        const char* name;
        QByteArray edits;
        int status;
        const char* said;  // on stdout when done, else on stderr
    };
    const Row rows[] = {
        {"CSV by caption, a dropped column kept",
         QStringLiteral("\uFEFF編號,記錄種類,忠誠\r\n12,officer,77\r\n13,officer,78\r\n").toUtf8(), 0, "officer 13"},
        {"JSON", "[{\"kind\":\"officer\",\"number\":12,\"loyalty\":77}]", 0, "loyalty"},
        {"a row out of range refuses all",
         "{\"kind\":\"officer\",\"number\":12,\"loyalty\":77}\n{\"kind\":\"officer\",\"number\":13,\"might\":256}\n", 2,
         "might"},
        {"an unknown column", "kind,number,charm\r\nofficer,12,1\r\n", 2, "charm: no such field"},
        {"an unknown record", "kind,number,loyalty\r\nofficer,99999,1\r\n", 2, "99999"},
        {"no kind", "number,loyalty\r\n12,1\r\n", 2, "line 2: an edit needs"},
        {"Big5 text", "kind,number,surname\r\nofficer,12,\xAA\x5A\r\n", 2, "not UTF-8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString save = copyOf(5);
        const QString edits = scratch.filePath("edits.csv");
        ASSERT_TRUE(test::WriteFileBytes(edits, row.edits));
        const CliRun dry = cli({"apply", save, edits, "--dry-run"});
        const CliRun run = cli({"apply", save, edits});
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        EXPECT_EQ(dry.status, row.status);
        EXPECT_EQ(dry.out, run.out);
        EXPECT_TRUE((row.status == 0 ? run.out : run.err).contains(row.said)) << run.out.toStdString()
                                                                             << run.err.toStdString();
        EXPECT_EQ(FileBytes(save) == FileBytes(slot(5)), row.status != 0);
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
    EXPECT_TRUE(run.out.contains(QStringLiteral("officer %1 ").arg(demo::kDemoOddTacticOfficer)))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("tactics at offset")) << run.out.toStdString();
}

// A name with the characters JSON must escape reaches the dump whole.
TEST_F(Cli, DumpEscapesQuotesBackslashesAndControlCharacters)
{
    const QString path = copyOf(3);
    QByteArray bytes = FileBytes(path);
    const QByteArray name("\"a\\b\x01"
                          "c\0\0",
                          8);
    bytes.replace(save::personBlock(0) + person::kFullName, name.size(), name);
    ASSERT_TRUE(test::WriteFileBytes(path, bytes));
    const QString expected = QStringLiteral("\"a\\b\u0001c");
    ASSERT_EQ(DecodeOfficer(bytes, 0).person.fullName, expected);

    const CliRun run = cli({"dump", path, "--records", "officers"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral(R"("\"a\\b\u0001c")")));
    QStringList texts;
    for (const QJsonValue value : test::dumped(run)[0].toObject())
        texts << value.toString();
    EXPECT_TRUE(texts.contains(expected));
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
        const auto rows = test::ReadCsv(csv.out);
        ASSERT_TRUE(rows) << "no CSV";
        ASSERT_EQ(rows->size(), std::size_t(all.size()) + 1);
        for (const QStringList& row : *rows)
            EXPECT_EQ(row.size(), rows->front().size());
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
    const QByteArray newest = FileBytes(slot(demo::kDemoNewestSlot));
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
        EXPECT_EQ(FileBytes(save), newest);
        const QString elsewhere = scratch.filePath("out.sav");
        const CliRun run = cli(arguments + QStringList{"--output", elsewhere});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, dry.out);
        EXPECT_TRUE(run.out.contains(row.says)) << run.out.toStdString();
        EXPECT_EQ(run.out.count('\n'), 1);
        EXPECT_EQ(FileBytes(save), newest);
        EXPECT_EQ(FileBytes(elsewhere), expected);
        EXPECT_EQ(cli(arguments).status, 0);
        EXPECT_EQ(FileBytes(save), expected);
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
    const QByteArray eight = FileBytes(slot(demo::kDemoSlotWithEightControlled));
    const QByteArray newest = FileBytes(slot(demo::kDemoNewestSlot));
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
        const QByteArray before = FileBytes(save);
        const CliRun run = cli({"control", save, row.action, QString::number(row.officer)});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(FileBytes(save), before);
    }
}

namespace {

using namespace varkel::treasure;

const QByteArray kScenarioTail("bytes the editor does not own", 29);
const QDateTime kLongAgo(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);

// A game folder of its own to change: the scenario with a tail beyond what the
// editor keeps, the notes, the newest save; every file dated long ago, so a
// write shows in its time.
class TreasureCli : public Cli {
protected:
    void SetUp() override { prepareGame(); }
    void prepareGame()
    {
        QDir(game()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(game()));
        ASSERT_TRUE(test::WriteFileBytes(scenario(), FileBytes(folder->file("d_sce.vk")) + kScenarioTail));
        ASSERT_TRUE(QFile::copy(folder->file("m_msg.vk"), game() + "m_msg.vk"));
        ASSERT_TRUE(QFile::copy(slot(demo::kDemoNewestSlot), save()));
        for (const QString& path : {scenario(), save()}) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(kLongAgo, QFileDevice::FileModificationTime));
        }
        scenarioBefore = FileBytes(scenario());
        saveBefore = FileBytes(save());
    }
    QString game() const { return scratch.filePath("game") + '/'; }
    QString scenario() const { return game() + "d_sce.vk"; }
    QString save() const { return game() + "svd_05.sav"; }
    static bool writtenSinceSetUp(const QString& path) { return QFileInfo(path).lastModified() != kLongAgo; }

    QByteArray scenarioBefore, saveBefore;
};

}  // namespace

TEST_F(TreasureCli, DumpShowsOwnersFromTheSaveAndNotesFromTheFolder)
{
    const QString noNotes = scratch.filePath("alone") + '/';
    ASSERT_TRUE(QDir().mkpath(noNotes));
    ASSERT_TRUE(QFile::copy(scenario(), noNotes + "d_sce.vk"));
    const QStringList notes = DecodeTreasureNotes(FileBytes(game() + "m_msg.vk").mid(kNotesOffset, kNotesSize));
    const QStringList officers = SaveTables::build(saveBefore).officerNames;
    struct Row {
        const char* what;
        QStringList arguments;
        bool owner, note;
    };
    const std::vector<Row> rows = {
        {"a save", {"dump", save(), "--records", "treasures", "--game-folder", game()}, true, true},
        {"the scenario", {"dump", scenario()}, false, true},
        {"the scenario without notes", {"dump", noNotes + "d_sce.vk", "--records", "treasures"}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const CliRun run = cli(row.arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonArray all = dumped(run);
        ASSERT_EQ(all.size(), kCount);
        for (const int t : {0, demo::kDemoTreasureWithOddOwner, demo::kDemoTreasureWithOddSkill, 254}) {
            SCOPED_TRACE(t);
            const QJsonObject o = all[t].toObject();
            const TreasureRecord r = DecodeTreasure(scenarioBefore, &saveBefore, t);
            EXPECT_EQ(o["kind"].toString(), "treasure");
            EXPECT_EQ(o["name"].toString(), r.name);
            EXPECT_EQ(o["price"].toInt(), 100 * r.priceHundreds);
            EXPECT_EQ(o["skill"].toInt(), SkillListIndex(r.skill));
            EXPECT_EQ(o.contains("owner"), row.owner);
            EXPECT_EQ(o.contains("owner_text"), row.owner);
            if (row.owner) {
                EXPECT_EQ(o["owner"].toInt(), r.owner);
                EXPECT_EQ(o["owner_text"].toString(), r.owner == kLastOwner  ? QStringLiteral("無")
                                                      : r.owner < kLastOwner ? officers[r.owner]
                                                                             : QString::number(r.owner));
            }
            EXPECT_EQ(o.contains("note"), row.note);
            if (row.note) {
                EXPECT_EQ(o["note"].toString(), notes[r.picture]);
            }
        }
    }
    EXPECT_EQ(dumped(cli(rows[0].arguments))[demo::kDemoTreasureWithOddOwner].toObject()["owner_text"].toString(),
              "1800");
}

// Attributes go to the scenario file (its tail kept), owners to the save; a file
// the edit leaves as it was is not written.
TEST_F(TreasureCli, EditsWriteOnlyTheFilesTheyChange)
{
    const int t = demo::kDemoTreasureWithOddOwner;
    struct Row {
        const char* what;
        QString file;  // "save" or "scenario"
        QStringList assignments;
        std::function<void(TreasureRecord&)> edit;
        bool saveWritten, scenarioWritten;
    };
    const std::vector<Row> rows = {
        {"price", "save", {"price=1250"}, [](TreasureRecord& r) { r.priceHundreds = 12; }, false, true},
        {"owner", "save", {"owner=12"}, [](TreasureRecord& r) { r.owner = 12; }, true, false},
        {"owner and name",
         "save",
         {"owner=12", "name=甲乙"},
         [](TreasureRecord& r) {
             r.owner = 12;
             r.name = QStringLiteral("甲乙");
         },
         true,
         true},
        {"kind on the scenario", "scenario", {"type=名馬"}, [](TreasureRecord& r) { r.kind = 0; }, false, true},
        {"points of 100 keep the byte", "save", {"points=100"}, [](TreasureRecord&) {}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        prepareGame();
        TreasureRecord r = DecodeTreasure(scenarioBefore, &saveBefore, t);
        row.edit(r);
        QByteArray expectedScenario = scenarioBefore, expectedSave = saveBefore;
        EncodeTreasure(expectedScenario, &expectedSave, t, r);
        const QString file = row.file == "save" ? save() : scenario();
        const CliRun run = cli(QStringList{"set", file, "treasure", QString::number(t)} + row.assignments +
                               QStringList{"--game-folder", game()});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(FileBytes(scenario()), expectedScenario);
        EXPECT_EQ(FileBytes(save()), expectedSave);
        EXPECT_TRUE(FileBytes(scenario()).endsWith(kScenarioTail));
        EXPECT_EQ(writtenSinceSetUp(save()), row.saveWritten);
        EXPECT_EQ(writtenSinceSetUp(scenario()), row.scenarioWritten);
    }
}

TEST_F(TreasureCli, RefusedEditsExit2AndWriteNothing)
{
    const QString elsewhere = scratch.filePath("out.sav");
    struct Row {
        QStringList arguments;
        const char* complaint;
    };
    const std::vector<Row> rows = {
        {{"set", save(), "treasure", "13", "price=1250", "--output", elsewhere}, "--output"},
        {{"set", save(), "treasure", "13", "owner=12", "price=1250", "--output", elsewhere, "--dry-run"}, "--output"},
        {{"set", scenario(), "treasure", "13", "owner=12"}, "saved game"},
        {{"set", save(), "treasure", "13", "name="}, "名稱"},
        {{"set", save(), "treasure", "13", "owner=1721"}, "owner"},
        {{"set", save(), "treasure", "255", "price=1"}, "255"},
        {{"set", save(), "treasure", "13", "price=1", "--game-folder", scratch.filePath("nowhere")}, "treasure"},
        {{"check", save(), "--records", "armies"}, "armies"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        QStringList arguments = row.arguments;
        if (!arguments.contains("--game-folder"))
            arguments << "--game-folder" << game();
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(FileBytes(save()), saveBefore);
        EXPECT_EQ(FileBytes(scenario()), scenarioBefore);
        EXPECT_FALSE(QFile::exists(elsewhere));
    }
    // An owner alone may go elsewhere: it changes only the save.
    const CliRun owner =
        cli({"set", save(), "treasure", "13", "owner=12", "--output", elsewhere, "--game-folder", game()});
    EXPECT_EQ(owner.status, 0) << owner.err.toStdString();
    EXPECT_EQ(FileBytes(save()), saveBefore);
    EXPECT_EQ(le16At(FileBytes(elsewhere), ownerEntry(13)), 12);
}

TEST_F(TreasureCli, DumpThenApplyChangesNoByte)
{
    for (const QString& file : {save(), scenario()}) {
        SCOPED_TRACE(file.toStdString());
        const CliRun dump = cli({"dump", file, "--records", "treasures", "--game-folder", game()});
        ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
        const QString edits = scratch.filePath("treasures.json");
        writeText(edits, dump.out);
        const CliRun apply = cli({"apply", file, edits, "--game-folder", game()});
        EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
        EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
        EXPECT_EQ(FileBytes(save()), saveBefore);
        EXPECT_EQ(FileBytes(scenario()), scenarioBefore);
        EXPECT_FALSE(writtenSinceSetUp(save()));
        EXPECT_FALSE(writtenSinceSetUp(scenario()));
    }
}

TEST_F(TreasureCli, CheckReportsTheDemosOddValues)
{
    const QString owner = QStringLiteral("treasure %1 ").arg(demo::kDemoTreasureWithOddOwner);
    const QString ownerAt = QStringLiteral(": owner at offset %1 = 1800: owner above 1720\n")
                                .arg(ownerEntry(demo::kDemoTreasureWithOddOwner));
    const QString skill = QStringLiteral("treasure %1 ").arg(demo::kDemoTreasureWithOddSkill);
    const QString skillAt = QStringLiteral(": skill at offset %1 = 30: skill byte 27..254")
                                .arg(record(demo::kDemoTreasureWithOddSkill) + kSkill);
    struct Row {
        QStringList arguments;
        QStringList found;
        QStringList notFound;
        int lines;  // -1: not counted
    };
    const std::vector<Row> rows = {
        {{"check", save(), "--records", "treasures", "--game-folder", game()},
         {owner, ownerAt, skill, skillAt + " (in d_sce.vk)\n"},
         {},
         2},
        {{"check", save(), "--game-folder", game()}, {ownerAt, skillAt, "officer "}, {}, -1},
        {{"check", scenario()}, {skill, skillAt + "\n"}, {"owner", "in d_sce.vk"}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = cli(row.arguments);
        EXPECT_EQ(run.status, 1) << run.err.toStdString();
        for (const QString& text : row.found)
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " in\n" << run.out.toStdString();
        for (const QString& text : row.notFound)
            EXPECT_FALSE(run.out.contains(text)) << text.toStdString();
        if (row.lines >= 0) {
            EXPECT_EQ(run.out.count('\n'), row.lines) << run.out.toStdString();
        }
    }
}

// A diff names the owner set in a save, and the attributes set in a scenario file.
TEST_F(TreasureCli, DiffShowsWhatSetChanged)
{
    const QString other = scratch.filePath("other") + '/';
    ASSERT_TRUE(QDir().mkpath(other));
    struct Row {
        QString changed;    // the file set changes
        QString original;   // a copy of it as it was
        QString assignment;
    };
    ASSERT_TRUE(QFile::copy(save(), other + "svd_05.sav"));
    ASSERT_TRUE(QFile::copy(scenario(), other + "d_sce.vk"));
    const std::vector<Row> rows = {
        {save(), other + "svd_05.sav", "owner=12"},
        {scenario(), other + "d_sce.vk", "price=1250"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.assignment.toStdString());
        const CliRun set = cli({"set", row.changed, "treasure", "13", row.assignment, "--game-folder", game()});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_EQ(set.out.count('\n'), 1) << set.out.toStdString();
        const CliRun diff = cli({"diff", row.original, row.changed, "--game-folder", game()});
        EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
        EXPECT_EQ(diff.out, set.out);
    }
}
