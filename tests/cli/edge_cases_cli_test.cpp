// The command line at the edges users reach: officer 0 as an owner, numbers one
// above their limits, the tactic nibbles outside the list, the last entry year a
// byte holds, texts with line breaks in CSV, saves of different officer counts.
#include "cli/cli_run.h"
#include "cli/csv_reader.h"
#include "demo_folder/demo_folder.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/officer_fields.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_record.h"
#include "shared/bytes.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace varkel;
using test::cli;
using test::CliRun;

namespace {

const QString kNewest = QStringLiteral("svd_0%1.sav").arg(demo::kDemoNewestSlot);
const QString kClamped = QStringLiteral(" (clamped to the field's limit)");
constexpr int kOfficer = 12;

QString slotFile(int k)
{
    return QStringLiteral("svd_0%1.sav").arg(k);
}

// A game folder of the test's own with the scenario and the notes; the files a
// test changes are copied into it from the demo folder.
class EdgeCasesCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { demo = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete demo; }
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(game()));
        for (const char* name : {"d_sce.vk", "m_msg.vk"})
            ASSERT_TRUE(QFile::copy(demo->file(QString::fromLatin1(name)), game() + QString::fromLatin1(name)));
    }

    QString game() const { return scratch.filePath("game") + '/'; }
    // The demo's file `name` copied into the game folder as `as`, over any copy before.
    QString copy(const QString& name, const QString& as = QString()) const
    {
        const QString path = game() + (as.isEmpty() ? name : as);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(demo->file(name), path));
        return path;
    }
    static QByteArray bytes(const QString& path) { return test::FileBytes(path); }
    static void write(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(test::WriteFileBytes(path, bytes)); }

    static test::TempGameFolder* demo;
    QTemporaryDir scratch;
};

test::TempGameFolder* EdgeCasesCli::demo = nullptr;

QString officerName(const QByteArray& save, int n)
{
    return ReadFullName(save, save::personBlock(n));
}

// Sets the nibble of tactic t of an officer's status block.
void setTacticNibble(QByteArray& save, int officer, int t, int nibble)
{
    const int shift = t % 2 ? 4 : 0;
    setBits(save, save::statusBlock(officer) + person::kTactics + t / 2, 15 << shift, nibble << shift);
}

// A value of a JSON dump as its CSV cell writes it.
QString cellText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:  // a whole number, or one with a fraction (half years)
        return value.toDouble() == double(value.toInteger()) ? QString::number(value.toInteger())
                                                             : QString::number(value.toDouble());
    case QJsonValue::Array: {
        QStringList parts;
        for (const QJsonValue part : value.toArray())
            parts << cellText(part);
        return parts.join(QLatin1Char(','));
    }
    default:
        return QStringLiteral("(no cell)");
    }
}

// The CSV dump reads back as the JSON dump: one row per record, each with the
// header's columns and the values the JSON has.
void ExpectCsvReadsAsJson(const QJsonArray& records, const CliRun& csv)
{
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    ASSERT_GT(records.size(), 0);
    const auto rowsRead = test::ReadCsv(csv.out);
    ASSERT_TRUE(rowsRead) << "no CSV";
    ASSERT_EQ(rowsRead->size(), std::size_t(records.size()) + 1);
    const QStringList& header = rowsRead->front();
    for (qsizetype i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const QStringList& cells = (*rowsRead)[std::size_t(i) + 1];
        ASSERT_EQ(cells.size(), header.size());
        const QJsonObject o = records[i].toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const qsizetype column = header.indexOf(it.key());
            ASSERT_GE(column, 0) << it.key().toStdString();
            EXPECT_EQ(cells[column], cellText(it.value())) << it.key().toStdString();
        }
    }
}

}  // namespace

// Officer 0 is an owner like any other: setting it stores 0, whatever owned the
// treasure before, and changes no other byte.
TEST_F(EdgeCasesCli, ATreasureGivenToOfficerZeroStoresZero)
{
    const QByteArray save = bytes(demo->file(kNewest));
    int ownedByAnOfficer = -1;
    for (int t = 0; t < treasure::kCount && ownedByAnOfficer < 0; ++t) {
        const int owner = le16At(save, treasure::ownerEntry(t));
        if (owner > 0 && owner <= treasure::kLastOwner)
            ownedByAnOfficer = t;
    }
    ASSERT_GE(ownedByAnOfficer, 0);
    const QByteArray scenario = bytes(demo->file(QStringLiteral("d_sce.vk")));
    const QString officerZero = SaveTables::build(save).officerNames[0];
    ASSERT_FALSE(officerZero.isEmpty());

    for (const int t : {ownedByAnOfficer, demo::kDemoTreasureWithOddOwner}) {
        SCOPED_TRACE(t);
        const QString path = copy(kNewest);
        const int owner = le16At(save, treasure::ownerEntry(t));
        const CliRun set = cli({"set", path, "treasure", QString::number(t), "owner=0", "--game-folder", game()});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_EQ(set.out, QStringLiteral("treasure %1 %2: owner %3 -> 0\n")
                               .arg(t)
                               .arg(DecodeTreasure(scenario, nullptr, t).name)
                               .arg(owner));
        QByteArray expected = save;
        setLe16(expected, treasure::ownerEntry(t), 0);
        EXPECT_EQ(bytes(path), expected);

        const CliRun dump =
            cli({"dump", path, "--records", "treasures", "--only", QString::number(t), "--game-folder", game()});
        ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
        const QJsonObject o = test::dumped(dump)[0].toObject();
        EXPECT_EQ(o["owner"].toInt(-1), 0);
        EXPECT_EQ(o["owner_text"].toString(), officerZero);
    }
}

// As in the officer view, a number one above its field's limit is stored as the
// limit, and set says that it clamped it.
TEST_F(EdgeCasesCli, OfficerNumbersOneAboveTheirLimitAreClampedAndSaySo)
{
    // Every number of one officer that has a limit (the game date belongs to the file).
    std::vector<const RecordField<OfficerRecord>*> limited;
    for (const auto& f : OfficerFields())
        if (f.kind == FieldKind::Number && f.upper && f.perRecord && !f.readOnly)
            limited.push_back(&f);
    ASSERT_FALSE(limited.empty());

    // One below every limit first, so that one above is a change.
    const QString path = copy(kNewest);
    QStringList below;
    for (const auto* field : limited)
        below << QStringLiteral("%1=%2").arg(field->key).arg(*field->upper - 1);
    const CliRun prepared = cli(QStringList{"set", path, "officer", QString::number(kOfficer)} + below);
    ASSERT_EQ(prepared.status, 0) << prepared.err.toStdString();
    EXPECT_FALSE(prepared.out.contains(kClamped)) << prepared.out.toStdString();
    const QByteArray before = bytes(path);
    const QString name = officerName(before, kOfficer);

    for (const auto* each : limited) {
        const auto& field = *each;
        SCOPED_TRACE(field.key.toStdString());
        const int limit = *field.upper;
        write(path, before);
        const CliRun set = cli({"set", path, "officer", QString::number(kOfficer),
                                QStringLiteral("%1=%2").arg(field.key).arg(limit + 1)});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_EQ(set.out, QStringLiteral("officer %1 %2: %3 %4 -> %5%6\n")
                               .arg(kOfficer)
                               .arg(name, field.key)
                               .arg(limit - 1)
                               .arg(limit)
                               .arg(kClamped));
        OfficerRecord r = DecodeOfficer(before, kOfficer);
        field.set(r, FieldValue{limit, {}, {}});
        QByteArray expected = before;
        EncodeOfficer(expected, kOfficer, r);
        EXPECT_EQ(bytes(path), expected);
        EXPECT_EQ(field.get(DecodeOfficer(bytes(path), kOfficer)).number, limit);
    }
}

// Tactic nibbles 14 and 15 are no level, yet set stores them when typed over a
// stored level, and changes no other nibble.
TEST_F(EdgeCasesCli, TacticNibbles14And15AreStoredWhenTyped)
{
    struct Row {
        int tactic;
        int stored;  // nibble
        int typed;   // level
        int nibble;
    };
    const std::vector<Row> rows = {
        {3, 9, 14, 14},  {3, 9, 15, 15},  {0, 9, 14, 14}, {14, 9, 15, 15},
        {3, 14, 15, 15}, {6, 15, 14, 14}, {5, 0, 15, 15},
    };
    const auto& tactics = OfficerField(QStringLiteral("tactics"));
    const QString path = copy(kNewest);
    const QByteArray original = bytes(path);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "tactic " << row.tactic << ": " << row.stored << " -> " << row.typed);
        QByteArray before = original;
        setTacticNibble(before, kOfficer, row.tactic, row.stored);
        write(path, before);
        FieldValue levels = tactics.get(DecodeOfficer(before, kOfficer));
        const QString was = FieldValueText(tactics, levels);
        levels.list[std::size_t(row.tactic)] = row.typed;
        const QString typed = FieldValueText(tactics, levels);

        const CliRun set = cli({"set", path, "officer", QString::number(kOfficer), "tactics=" + typed});
        ASSERT_EQ(set.status, 0) << set.err.toStdString();
        EXPECT_EQ(set.out, QStringLiteral("officer %1 %2: tactics %3 -> %4\n")
                               .arg(kOfficer)
                               .arg(officerName(before, kOfficer), was, typed));
        QByteArray expected = before;
        setTacticNibble(expected, kOfficer, row.tactic, row.nibble);
        EXPECT_EQ(bytes(path), expected);
        EXPECT_EQ(tactics.get(DecodeOfficer(bytes(path), kOfficer)).list[std::size_t(row.tactic)], row.nibble);
    }
}

// In the game year 355 one year of service enters in 355, entry byte 255, the
// last a byte holds; no years (entering in 356) cannot be stored.
TEST_F(EdgeCasesCli, OneYearOfServiceInTheLastGameYearIsStored)
{
    struct Row {
        const char* years;
        int status;
        int entryByte;  // stored after the set
    };
    const std::vector<Row> rows = {
        {"1", 0, 255},
        {"2", 0, 254},
        {"0", 2, 200},
    };
    const QString path = copy(kNewest);
    QByteArray before = bytes(path);
    setByte(before, save::kGameYearOffset, 355 - save::kYearBase);
    setByte(before, save::statusBlock(kOfficer) + 1, 200);  // entered in 300: 56 years
    ASSERT_EQ(DecodeOfficer(before, kOfficer).yearsOfService, 56);
    const QString name = officerName(before, kOfficer);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.years);
        write(path, before);
        const CliRun set = cli({"set", path, "officer", QString::number(kOfficer),
                                QStringLiteral("years_of_service=%1").arg(QLatin1String(row.years))});
        EXPECT_EQ(set.status, row.status) << set.err.toStdString();
        QByteArray expected = before;
        setByte(expected, save::statusBlock(kOfficer) + 1, row.entryByte);
        EXPECT_EQ(bytes(path), expected);
        if (row.status == 0) {
            EXPECT_EQ(set.out, QStringLiteral("officer %1 %2: years_of_service 56 -> %3\n")
                                   .arg(kOfficer)
                                   .arg(name, QLatin1String(row.years)));
            EXPECT_EQ(DecodeOfficer(bytes(path), kOfficer).yearsOfService, QString::fromLatin1(row.years).toInt());
        } else {
            EXPECT_TRUE(set.out.isEmpty()) << set.out.toStdString();
            EXPECT_EQ(set.err.count('\n'), 1) << set.err.toStdString();
            EXPECT_TRUE(set.err.contains(QStringLiteral("仕官"))) << set.err.toStdString();
        }
    }
}

// Texts with line breaks (biographies, treasure notes) stay inside their quoted
// cells: the CSV reads back as one row per record, each with the header's
// columns and the values the JSON dump has.
TEST_F(EdgeCasesCli, CsvOfTextsWithLineBreaksReadsBackOneRowPerRecord)
{
    struct Row {
        const char* what;
        QStringList arguments;  // after "dump"
        const char* textKey;    // a text with line breaks
    };
    const std::vector<Row> rows = {
        {"new officers", {demo->file(system_save::kFileName)}, "biography"},
        {"family members", {demo->file(kNewest), "--records", "family"}, "biography"},
        {"treasures of a save", {demo->file(kNewest), "--records", "treasures", "--game-folder", demo->path()}, "note"},
        {"treasures of the scenario", {demo->file(QStringLiteral("d_sce.vk"))}, "note"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const CliRun json = cli(QStringList{"dump"} + row.arguments);
        ASSERT_EQ(json.status, 0) << json.err.toStdString();
        const QJsonArray records = test::dumped(json);
        ExpectCsvReadsAsJson(records, cli(QStringList{"dump"} + row.arguments + QStringList{"--format", "csv"}));
        int withLineBreaks = 0;
        for (const QJsonValue record : records)
            withLineBreaks += record[QLatin1String(row.textKey)].toString().contains(QLatin1Char('\n')) ? 1 : 0;
        EXPECT_GT(withLineBreaks, 0) << "no " << row.textKey << " with a line break";
    }
}

// Names only a crafted save holds, that a spreadsheet would take for formulas:
// their cells start with an apostrophe, which readers take off again, so the CSV
// still reads back as the JSON dump. Numbers and other texts are written as they are.
TEST_F(EdgeCasesCli, CsvGuardsTextsASpreadsheetWouldTakeForFormulas)
{
    struct Row {
        const char* name;  // the full name's bytes: ASCII, two to a character slot
        const char* cell;  // as the CSV writes it
    };
    const std::vector<Row> rows = {
        {"=1+2", "'=1+2"}, {"+1", "'+1"},       {"-1", "'-1"},   {"@A1", "'@A1"},
        {"\t1", "'\t1"},   {"\r1", "\"'\r1\""}, {"'=1", "''=1"}, {"A=1", "A=1"},
    };
    const QString path = copy(kNewest);
    QByteArray save = bytes(path);
    QStringList numbers;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int officer = kOfficer + int(k);
        QByteArray name(rows[k].name);
        name.resize(8, '\0');  // the field's four slots
        save.replace(save::personBlock(officer) + person::kFullName, name.size(), name);
        numbers << QString::number(officer);
    }
    write(path, save);

    const QStringList dump = {"dump", path, "--only", numbers.join(',')};
    const CliRun json = cli(dump);
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonArray records = test::dumped(json);
    ASSERT_EQ(records.size(), qsizetype(rows.size()));
    const CliRun csv = cli(dump + QStringList{"--format", "csv"});
    ExpectCsvReadsAsJson(records, csv);
    const QStringList lines = csv.out.split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), qsizetype(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(rows[k].cell);
        EXPECT_EQ(records[qsizetype(k)][QLatin1String("full_name")].toString(), QString::fromLatin1(rows[k].name));
        EXPECT_TRUE(lines[qsizetype(k) + 1].contains(QLatin1Char(',') + QString::fromLatin1(rows[k].cell) + ','))
            << lines[qsizetype(k) + 1].toStdString();
    }
}

// Officers past the smaller count are in one save only: diff names each of them
// and the file it is in.
TEST_F(EdgeCasesCli, DiffOfDifferentOfficerCountsListsEveryOfficerInOneSaveOnly)
{
    const QString full = copy(slotFile(demo::kDemoSlotWith860Officers));
    const QString fewer = copy(slotFile(demo::kDemoSlotWith860Officers), QStringLiteral("fewer.sav"));
    QByteArray cut = bytes(fewer);
    const int first = 850;  // no longer named, so the officers end before it
    cut.replace(save::personBlock(first) + person::kFullName, 8, QByteArray(8, '\0'));
    write(fewer, cut);
    ASSERT_EQ(SaveTables::countOfficers(cut), first);
    const QString smallSlot = copy(slotFile(demo::kDemoSlotWith760Officers));
    ASSERT_EQ(SaveTables::countOfficers(bytes(smallSlot)), save::kAlwaysPresentOfficers);

    struct Row {
        const char* what;
        QString a, b;
        int from;     // the officers from..859 are in one save only
        bool inA;     // and that save is a
        bool alone;   // nothing else differs
    };
    const std::vector<Row> rows = {
        {"fewer in b", full, fewer, first, true, true},
        {"fewer in a", fewer, full, first, false, true},
        {"760 and 860 officers", smallSlot, full, save::kAlwaysPresentOfficers, false, false},
        {"860 and 760 officers", full, smallSlot, save::kAlwaysPresentOfficers, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString in = row.inA ? row.a : row.b;
        const QByteArray inBytes = bytes(in);
        QString expected;
        for (int n = row.from; n < save::kMaxOfficers; ++n)
            expected += QStringLiteral("officer %1 %2: only in %3\n").arg(n).arg(officerName(inBytes, n), in);
        const CliRun diff = cli({"diff", row.a, row.b, "--records", "officers"});
        EXPECT_EQ(diff.status, 1) << diff.err.toStdString();
        QString onlyIn;
        for (const QString& line : diff.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (line.contains(QLatin1String(": only in ")))
                onlyIn += line + '\n';
        EXPECT_EQ(onlyIn, expected);
        if (row.alone) {
            EXPECT_EQ(diff.out, expected);
        }
    }
}
