#include "cli/cli_run.h"
#include "neweditor/new_officer_layout.h"
#include "person/biography.h"
#include "person/member_record.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

using namespace varkel;
using namespace varkel::system_save;
using test::cli;
using test::CliRun;

namespace {

const QDateTime kLongAgo(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);
const QString kNumber = QStringLiteral("number");

// A folder of its own with the demo's system save and biographies, both dated
// long ago, so a write shows in the file's time.
class NewOfficerCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete demo; }
    void SetUp() override { prepare(demo->file(kFileName), demo->file(kBiographyFileName)); }

    void prepare(const QString& save, const QString& biographies)
    {
        QDir(game()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(game()));
        ASSERT_TRUE(QFile::copy(save, this->save()));
        if (!biographies.isEmpty()) {
            ASSERT_TRUE(QFile::copy(biographies, this->biographies()));
        }
        for (const QString& path : {this->save(), this->biographies()}) {
            QFile file(path);
            if (file.exists() && file.open(QIODevice::ReadWrite)) {
                ASSERT_TRUE(file.setFileTime(kLongAgo, QFileDevice::FileModificationTime));
            }
        }
        saveBefore = test::FileBytes(this->save());
        biographiesBefore = test::FileBytes(this->biographies());
    }
    QString game() const { return scratch.filePath("game") + '/'; }
    QString save() const { return game() + kFileName; }
    QString biographies() const { return game() + kBiographyFileName; }
    static bool written(const QString& path)
    {
        return QFileInfo::exists(path) && QFileInfo(path).lastModified() != kLongAgo;
    }
    void expectNothingWritten() const
    {
        EXPECT_EQ(test::FileBytes(save()), saveBefore);
        EXPECT_EQ(test::FileBytes(biographies()), biographiesBefore);
        EXPECT_FALSE(written(save()));
        EXPECT_FALSE(written(biographies()));
    }
    // The first record with a name whose growth is not "提督"; edits of it change something.
    int namedRecord() const
    {
        for (int i = 0; i < kRecordCount; ++i) {
            const MemberRecord r = DecodeMemberRecord(saveBefore, record(i));
            if (!r.person.fullName.isEmpty() && r.growthTendency != member::kAdmiralGrowth &&
                r.person.abilities[0] != 90)
                return i;
        }
        return -1;
    }

    static test::TempGameFolder* demo;
    QTemporaryDir scratch;
    QByteArray saveBefore, biographiesBefore;
};

test::TempGameFolder* NewOfficerCli::demo = nullptr;

}  // namespace

TEST_F(NewOfficerCli, DumpListsEveryRecordWithTheBiographyBesideIt)
{
    for (const bool withBiographies : {true, false}) {
        SCOPED_TRACE(withBiographies ? "with RDText.vk" : "without RDText.vk");
        if (!withBiographies)
            QFile::remove(biographies());
        const CliRun run = cli({"dump", save()});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.contains("biographies are left out"), !withBiographies) << run.err.toStdString();
        const QJsonArray all = dumped(run);
        ASSERT_EQ(all.size(), kRecordCount);
        for (int i = 0; i < kRecordCount; ++i) {
            const QJsonObject o = all[i].toObject();
            const MemberRecord r = DecodeMemberRecord(saveBefore, record(i));
            EXPECT_EQ(o["kind"].toString(), "new_officer");
            EXPECT_EQ(o[kNumber].toInt(), kFirstOfficerNumber + i);
            EXPECT_EQ(o["full_name"].toString(), r.person.fullName);
            EXPECT_EQ(o["intellect"].toInt(), r.person.abilities[1]);
            EXPECT_EQ(o["growth_tendency"].toInt(), r.growthTendency);
            EXPECT_EQ(o["lifespan"].toDouble(), r.lifespanHalves / 2.0);  // 7.5, as the view shows it
            EXPECT_EQ(o["tactics"].toArray().size(), kTacticCount);
            EXPECT_EQ(o.contains("biography"), withBiographies);
            if (withBiographies) {
                EXPECT_EQ(o["biography"].toString(), DecodeBiography(biographiesBefore, biographyRecord(i))) << i;
            }
        }
    }
}

// Each set stores what the model's codecs store, writes only the files whose
// bytes change, and dumps back as it was given.
TEST_F(NewOfficerCli, EditsWriteOnlyTheFilesTheyChange)
{
    const int i = namedRecord();
    ASSERT_GE(i, 0);
    const QString own = DecodeBiography(biographiesBefore, biographyRecord(i));
    QString ownWithoutBreaks = own;
    ownWithoutBreaks.remove('\n');
    const QString biography = QStringLiteral("國").repeated(18) + '\n' + QStringLiteral("家").repeated(56);
    struct Row {
        const char* what;
        QStringList assignments;
        std::function<void(MemberRecord&)> edit;  // null: the record stays
        QString storedBiography;                  // null: it stays
        const char* key;                          // dumped back as `shown` (a biography as stored)
        QString shown;
    };
    const std::vector<Row> rows = {
        {"name",
         {"given_name=大"},
         [](MemberRecord& r) {
             r.person.givenName = QStringLiteral("大");
             r.person.fullName = r.person.surname + r.person.givenName;
         },
         {},
         "given_name",
         "大"},
        {"ability", {"might=90"}, [](MemberRecord& r) { r.person.abilities[0] = 90; }, {}, "might", "90"},
        {"admiral",
         {"growth_tendency=提督"},
         [](MemberRecord& r) { r.growthTendency = member::kAdmiralGrowth; },
         {},
         "growth_tendency_text",
         "提督"},
        {"biography", {"biography=" + biography}, nullptr, biography, "biography", {}},
        {"its own biography without breaks", {"biography=" + ownWithoutBreaks}, nullptr, {}, "biography", {}},
        {"both",
         {"might=90", "biography=一二三"},
         [](MemberRecord& r) { r.person.abilities[0] = 90; },
         QStringLiteral("一二三"),
         "biography",
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        QByteArray expectedSave = saveBefore, expectedBiographies = biographiesBefore;
        if (row.edit) {
            MemberRecord r = DecodeMemberRecord(saveBefore, record(i));
            row.edit(r);
            EncodeMemberRecord(expectedSave, record(i), r);
        }
        if (!row.storedBiography.isNull()) {
            ASSERT_FALSE(EncodeBiography(expectedBiographies, biographyRecord(i), row.storedBiography));
        }
        const QString number = QString::number(kFirstOfficerNumber + i);
        const CliRun run = cli(QStringList{"set", save(), "new_officer", number} + row.assignments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(test::FileBytes(save()), expectedSave);
        EXPECT_EQ(test::FileBytes(biographies()), expectedBiographies);
        EXPECT_EQ(written(save()), expectedSave != saveBefore);
        EXPECT_EQ(written(biographies()), expectedBiographies != biographiesBefore);

        const QJsonObject back = dumped(cli({"dump", save(), "--only", number}))[0].toObject();
        EXPECT_EQ(back[row.key].toVariant().toString(),
                  row.shown.isNull() ? DecodeBiography(expectedBiographies, biographyRecord(i)) : row.shown);
    }
}

TEST_F(NewOfficerCli, RefusedEditsExit2AndWriteNothing)
{
    const QString number = QString::number(kFirstOfficerNumber + namedRecord());
    const QString edits = scratch.filePath("edits.jsonl");
    ASSERT_TRUE(test::WriteFileBytes(edits,
                                     QStringLiteral("{\"kind\":\"new_officer\",\"number\":%1,\"might\":9}\n"
                                                    "{\"kind\":\"new_officer\",\"number\":%1,\"biography\":\"a\"}\n")
                                         .arg(number)
                                         .toUtf8()));
    struct Row {
        QStringList arguments;
        const char* complaint;
        bool withBiographies = true;
    };
    const std::vector<Row> rows = {
        {{"set", save(), "new_officer", number, "might=x"}, "might"},
        {{"set", save(), "new_officer", number, "surname=ab"}, "surname"},
        {{"set", save(), "new_officer", number, "might=9", "biography=國a"}, "biography"},
        {{"set", save(), "new_officer", number, "biography=" + QStringLiteral("國").repeated(75)}, "biography"},
        {{"set", save(), "new_officer", number, "biography=國", "--output", scratch.filePath("out.sav")}, "--output"},
        {{"set", save(), "new_officer", "659", "might=1"}, "659"},
        {{"set", save(), "new_officer", "760", "might=1"}, "760"},
        {{"apply", save(), edits}, "biography"},
        {{"set", save(), "new_officer", number, "might=9", "biography=國"}, "RDText.vk", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        prepare(demo->file(kFileName), row.withBiographies ? demo->file(kBiographyFileName) : QString());
        const CliRun run = cli(row.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.complaint)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        expectNothingWritten();
        EXPECT_FALSE(QFile::exists(scratch.filePath("out.sav")));
    }
}

TEST_F(NewOfficerCli, DumpAppliedBackChangesNothingAndDiffShowsWhatSetChanged)
{
    const CliRun dump = cli({"dump", save(), "--format", "jsonl"});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    const QString edits = scratch.filePath("all.jsonl");
    ASSERT_TRUE(test::WriteFileBytes(edits, dump.out.toUtf8()));
    const CliRun apply = cli({"apply", save(), edits});
    EXPECT_EQ(apply.status, 0) << apply.err.toStdString();
    EXPECT_TRUE(apply.out.isEmpty()) << apply.out.toStdString();
    expectNothingWritten();

    // The original beside its own biographies, to compare with.
    const QString original = scratch.filePath("original") + '/';
    ASSERT_TRUE(QDir().mkpath(original));
    ASSERT_TRUE(QFile::copy(save(), original + kFileName));
    ASSERT_TRUE(QFile::copy(biographies(), original + kBiographyFileName));
    const QString number = QString::number(kFirstOfficerNumber + namedRecord());
    const CliRun set = cli({"set", save(), "new_officer", number, "might=90", "biography=一二三"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(set.out.count('\n'), 2) << set.out.toStdString();
    const CliRun diff = cli({"diff", original + kFileName, save()});
    EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
    EXPECT_EQ(diff.out, set.out);
}

// Files the test writes: zeros but for what each row plants.
TEST_F(NewOfficerCli, CheckFindsOddValuesAndBiographiesThatCannotBeStoredAgain)
{
    struct Row {
        const char* what;
        std::function<void(QByteArray& save, QByteArray& biographies)> plant;
        QStringList found;  // one line each
    };
    const std::vector<Row> rows = {
        {"nothing", [](QByteArray&, QByteArray&) {}, {}},
        // Tactic 1 is the high nibble of the record's byte 120.
        {"tactic nibble 15",
         [](QByteArray& s, QByteArray&) { setByte(s, record(5) + 120, 0xF0); },
         {"new_officer 665: tactics at offset 884 = 15"}},
        // A full record without a 0 byte: 76 characters.
        {"76 characters",
         [](QByteArray&, QByteArray& b) { b.replace(biographyRecord(7), 152, QByteArray("\xB0\xEA").repeated(76)); },
         {"new_officer 667: biography at offset 1088 = 76"}},
        {"a single-byte pair",
         [](QByteArray&, QByteArray& b) { b.replace(biographyRecord(8), 2, "ab"); },
         {"new_officer 668: biography at offset 1240 = 2"}},
        {"a short file",
         [](QByteArray&, QByteArray& b) { b.truncate(biographyRecord(98) + 10); },
         {"Svd_sys.sav: biography at offset 14920 = 14930: RDText.vk ends inside the biography of 758"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray s(kMinimumSize, '\0'), b(biographyRecord(kRecordCount), '\0');
        row.plant(s, b);
        ASSERT_TRUE(test::WriteFileBytes(scratch.filePath("s.sav"), s));
        ASSERT_TRUE(test::WriteFileBytes(scratch.filePath("b.vk"), b));
        prepare(scratch.filePath("s.sav"), scratch.filePath("b.vk"));
        const CliRun run = cli({"check", save(), "--records", "newofficers"});
        EXPECT_EQ(run.status, row.found.isEmpty() ? 0 : 1) << run.err.toStdString();
        EXPECT_EQ(run.out.count('\n'), qsizetype(row.found.size())) << run.out.toStdString();
        for (const QString& line : row.found)
            EXPECT_TRUE(run.out.contains(line)) << run.out.toStdString();
    }
}
