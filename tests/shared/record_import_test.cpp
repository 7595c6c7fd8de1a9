// Files of edits read back: CSV as RFC 4180 and spreadsheets write it, JSON as
// dump writes it, only UTF-8; and their rows applied to the records of a kind,
// each changed, unchanged or refused with why.
#include "demo_folder/demo_folder.h"
#include "shared/record_import.h"
#include "shared/record_writer.h"
#include "support/gtest_qt.h"
#include "support/loaded_save.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace varkel;

namespace {

using Result = BatchOutcome::Result;

QByteArray utf8(const char* text)
{
    return QByteArray(text);
}

TEST(ReadCsvTest, CellsAsRfc4180AndSpreadsheetsHaveThem)
{
    struct Row {
        const char* name;
        const char* text;
        std::vector<QStringList> cells;
        std::vector<int> lines;
    };
    const Row rows[] = {
        {"CRLF", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"LF, no line end at the end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"quoted comma and doubled quote", "a,b\r\n\"1,2\",\"say \"\"hi\"\"\"\r\n",
         {{"a", "b"}, {"1,2", "say \"hi\""}}, {1, 2}},
        {"a line break in a cell, as LF", "a,b\r\n\"x\r\ny\",2\r\n3,4\r\n", {{"a", "b"}, {"x\ny", "2"}, {"3", "4"}},
         {1, 2, 4}},
        {"empty cells kept, empty rows left out", "a,b,c\r\n,2,\r\n\r\n,,\r\n\r\n", {{"a", "b", "c"}, {"", "2", ""}},
         {1, 2}},
        {"a quote inside an unquoted cell stays", "a\r\n5\"x\r\n", {{"a"}, {"5\"x"}}, {1, 2}},
        {"text after a closing quote joins the cell", "a\r\n\"x\"y\r\n", {{"a"}, {"xy"}}, {1, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int open = 0;
        const auto records = ReadCsv(QString::fromUtf8(row.text), &open);
        ASSERT_TRUE(records);
        ASSERT_EQ(records->size(), row.cells.size());
        for (std::size_t i = 0; i < records->size(); ++i) {
            EXPECT_EQ((*records)[i].cells, row.cells[i]);
            EXPECT_EQ((*records)[i].line, row.lines[i]);
        }
    }
    int open = 0;
    EXPECT_FALSE(ReadCsv(QStringLiteral("a,b\r\n1,\"2\r\n3,4\r\n"), &open));
    EXPECT_EQ(open, 2);
}

TEST(ReadEditsFileTest, ReadsCsvAndJsonInUtf8Only)
{
    using Cells = std::vector<std::pair<QString, QString>>;
    struct Row {
        const char* name;
        QByteArray bytes;
        std::vector<Cells> rows;  // when read
        const char* problem;      // else: a piece of the English complaint
    };
    const Cells officer5 = {{"kind", "officer"}, {"number", "5"}, {"loyalty", "90"}};
    const Cells officer5Sorted = {{"kind", "officer"}, {"loyalty", "90"}, {"number", "5"}};  // JSON objects sort
    const Row rows[] = {
        {"CSV", utf8("kind,number,loyalty\r\nofficer,5,90\r\n"), {officer5}, nullptr},
        {"CSV with a byte-order mark", utf8("\xEF\xBB\xBFkind,number,loyalty\r\nofficer,5,90\r\n"), {officer5},
         nullptr},
        {"CSV, captions kept for the kind to read",
         QStringLiteral("記錄種類,編號\nofficer,5\n").toUtf8(),
         {{{QStringLiteral("記錄種類"), "officer"}, {QStringLiteral("編號"), "5"}}},
         nullptr},
        {"the writer's apostrophe taken off, once", utf8("number,note\r\n1,'=x\r\n2,''y\r\n"),
         {{{"number", "1"}, {"note", "=x"}}, {{"number", "2"}, {"note", "'y"}}},
         nullptr},
        {"a row short of cells gives the columns it has", utf8("number,a,b\r\n1,x\r\n"),
         {{{"number", "1"}, {"a", "x"}}},
         nullptr},
        {"JSON array", utf8("[{\"kind\":\"officer\",\"number\":5,\"loyalty\":90}]"), {officer5Sorted}, nullptr},
        {"JSON lines, flags and lists", utf8("{\"number\":1,\"f\":true,\"s\":[\"a\",\"b\"],\"h\":7.5}\n\n"),
         {{{"f", "1"}, {"h", "7.5"}, {"number", "1"}, {"s", "a,b"}}},
         nullptr},
        {"Big5 is no UTF-8", QByteArray("kind,number,name\r\nofficer,5,\xAA\x5A\xB1\x4E\r\n"), {}, "not UTF-8"},
        {"a column named twice", utf8("number,loyalty,loyalty\r\n1,2,3\r\n"), {}, "column loyalty appears twice"},
        {"more cells than columns", utf8("number\r\n1,2\r\n"), {}, "line 2 has more cells"},
        {"an open quote", utf8("number\r\n\"1\r\n"), {}, "line 2: a quote is never closed"},
        {"JSON of no edits", utf8("[1]"), {}, "every edit must be an object"},
        {"a JSON value of no use", utf8("{\"kind\":\"officer\",\"number\":3,\"loyalty\":null}"), {},
         "officer 3: loyalty: null is no value"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const EditsFile file = ReadEditsFile(row.bytes);
        if (row.problem) {
            ASSERT_TRUE(file.problem);
            EXPECT_TRUE(file.problem->english.contains(QString::fromUtf8(row.problem)))
                << file.problem->english.toStdString();
            EXPECT_FALSE(file.problem->chinese.isEmpty());
            continue;
        }
        ASSERT_FALSE(file.problem) << file.problem->english.toStdString();
        ASSERT_EQ(file.rows.size(), row.rows.size());
        for (std::size_t i = 0; i < row.rows.size(); ++i)
            EXPECT_EQ(file.rows[i].cells, row.rows[i]);
    }
}

class RecordImportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete folder; }
    void SetUp() override { loaded = test::LoadedSave::read(*folder, demo::kDemoSlotWith860Officers); }

    RecordKind& kind(const QString& name)
    {
        for (const auto& k : loaded->kinds)
            if (k->name() == name)
                return *k;
        ADD_FAILURE() << "no kind " << name.toStdString();
        return *loaded->kinds.front();
    }
    // Every record of `kind` as the records window exports it.
    static QByteArray exported(const RecordKind& kind, ColumnNames names)
    {
        const RecordWriter writer(kind);
        std::string csv = kUtf8Bom + writer.csvHeader(names);
        for (int n = 0; n < kind.count(); ++n)
            csv += writer.csvRow(n);
        return QByteArray::fromStdString(csv);
    }
    static QByteArray json(const RecordKind& kind)
    {
        const RecordWriter writer(kind);
        std::string out;
        for (int n = 0; n < kind.count(); ++n)
            out += writer.json(n) + "\n";
        return QByteArray::fromStdString(out);
    }
    BatchResult import(RecordKind& kind, const QByteArray& bytes)
    {
        const EditsFile file = ReadEditsFile(bytes);
        EXPECT_FALSE(file.problem) << (file.problem ? file.problem->english.toStdString() : std::string());
        return ImportRows(kind, loaded->save, file.rows);
    }

    static test::TempGameFolder* folder;
    std::unique_ptr<test::LoadedSave> loaded;
};

test::TempGameFolder* RecordImportTest::folder = nullptr;

// The records of a CSV file (its mark left off).
std::vector<CsvRecord> csvRecords(const QByteArray& csv)
{
    int open = 0;
    const auto records = ReadCsv(QString::fromUtf8(csv.startsWith(kUtf8Bom) ? csv.mid(3) : csv), &open);
    EXPECT_TRUE(records);
    return records.value_or(std::vector<CsvRecord>{});
}

// Records written as CSV again, with the mark and CRLF: a cell quoted where it
// needs it, or as Excel saves a CSV it opened, every cell quoted and flags in capitals.
QByteArray csvOf(const std::vector<CsvRecord>& records, bool likeExcel)
{
    QByteArray out = kUtf8Bom;
    for (const CsvRecord& record : records) {
        QStringList cells;
        for (QString cell : record.cells) {
            if (likeExcel && (cell == QLatin1String("true") || cell == QLatin1String("false")))
                cell = cell.toUpper();
            const bool quoted = likeExcel || cell.contains(QRegularExpression(QStringLiteral("[,\"\r\n]")));
            cell.replace(QLatin1String("\""), QLatin1String("\"\""));
            cells << (quoted ? QLatin1Char('"') + cell + QLatin1Char('"') : cell);
        }
        out += cells.join(QLatin1Char(',')).toUtf8() + "\r\n";
    }
    return out;
}

QByteArray asExcelSavesIt(const QByteArray& csv)
{
    return csvOf(csvRecords(csv), true);
}

// Every kind's records, exported and brought back in each shape a file of edits
// can have, change nothing.
TEST_F(RecordImportTest, WhatWasExportedComesBackUnchanged)
{
    struct Shape {
        const char* name;
        std::function<QByteArray(const RecordKind&)> write;
    };
    const Shape shapes[] = {
        {"CSV by key", [](const RecordKind& k) { return exported(k, ColumnNames::Keys); }},
        {"CSV by caption, as the window exports",
         [](const RecordKind& k) { return exported(k, ColumnNames::Captions); }},
        {"CSV by caption as Excel saves it",
         [](const RecordKind& k) { return asExcelSavesIt(exported(k, ColumnNames::Captions)); }},
        {"CSV without the mark, LF",
         [](const RecordKind& k) { return exported(k, ColumnNames::Keys).mid(3).replace("\r\n", "\n"); }},
        {"JSON lines", [](const RecordKind& k) { return json(k); }},
    };
    const QByteArray before = loaded->save;
    for (const Shape& shape : shapes) {
        for (const auto& k : loaded->kinds) {
            SCOPED_TRACE(std::string(shape.name) + ", " + k->name().toStdString());
            const BatchResult result = import(*k, shape.write(*k));
            ASSERT_EQ(int(result.outcomes.size()), k->count());
            for (const BatchOutcome& o : result.outcomes)
                ASSERT_EQ(o.result, Result::Unchanged) << o.number << ": " << o.problem.toStdString();
            EXPECT_EQ(loaded->save, before);
        }
    }
}

// Captions are the ones the table shows, in Chinese, one per column, so a header
// of captions names each column once.
TEST_F(RecordImportTest, EveryColumnHasItsOwnChineseCaption)
{
    for (const auto& k : loaded->kinds) {
        SCOPED_TRACE(k->name().toStdString());
        std::set<QString> seen;
        for (const QString& key : ColumnKeys(*k)) {
            const QString caption = ColumnCaption(*k, key);
            EXPECT_TRUE(seen.insert(caption).second) << caption.toStdString();
            EXPECT_EQ(ColumnsByName(*k).value(caption), key);
        }
    }
    EXPECT_EQ(ColumnCaption(kind(QStringLiteral("officers")), QStringLiteral("number")), QStringLiteral("編號"));
}

// One row per case against officer 5 of the demo save: what the row does and, for
// a refusal, a piece of why.
TEST_F(RecordImportTest, EachRowChangesStaysOrIsRefusedWithWhy)
{
    RecordKind& officers = kind(QStringLiteral("officers"));
    const int n = 5;
    const std::vector<FieldValue> values = officers.read(n);
    const std::size_t loyalty = *officers.fieldIndex(QStringLiteral("loyalty"));
    const int was = values[loyalty].number;
    const int other = was == 50 ? 51 : 50;
    const QString number = QString::number(officers.numberOf(n));
    struct Row {
        const char* name;
        QString csv;
        Result result;
        QString why;                    // Refused: a piece of the reason
        std::vector<QString> changed;  // Changed: the fields, by key
    };
    const Row rows[] = {
        {"a dropped column keeps its field", "kind,number,loyalty\r\nofficer," + number + "," + QString::number(other),
         Result::Changed, {}, {QStringLiteral("loyalty")}},
        {"by caption", QStringLiteral("編號,忠誠\r\n") + number + "," + QString::number(other), Result::Changed, {},
         {QStringLiteral("loyalty")}},
        {"the same value", "number,loyalty\r\n" + number + "," + QString::number(was), Result::Unchanged, {}, {}},
        {"an unknown column", "number,charm\r\n" + number + ",3", Result::Refused, QStringLiteral("「charm」"), {}},
        {"an unknown record", "number,loyalty\r\n99999,3", Result::Refused, QStringLiteral("99999"), {}},
        {"no number", "kind,loyalty\r\nofficer,3", Result::Refused, QStringLiteral("沒有編號"), {}},
        {"a value out of range", "number,might\r\n" + number + ",256", Result::Refused, QStringLiteral("武力"), {}},
        {"another kind", "kind,number\r\ncity," + number, Result::Refused, QStringLiteral("city"), {}},
    };
    const QByteArray before = loaded->save;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();  // the kinds keep what they derived from the bytes: read them afresh
        const BatchResult result = import(kind(QStringLiteral("officers")), row.csv.toUtf8());
        ASSERT_EQ(result.outcomes.size(), 1u);
        const BatchOutcome& o = result.outcomes.front();
        EXPECT_EQ(o.result, row.result) << o.problem.toStdString();
        EXPECT_TRUE(o.problem.contains(row.why)) << o.problem.toStdString();
        std::vector<QString> changed;
        for (const FieldChange& c : o.changes)
            changed.push_back(c.field);
        EXPECT_EQ(changed, row.changed);
        if (row.result != Result::Changed) {
            EXPECT_EQ(loaded->save, before);
        }
    }
}

// `csv` opened in LibreOffice Calc as UTF-8 text and saved as CSV again, as a user
// who edits the export there does; nothing when soffice is not installed.
std::optional<QByteArray> throughLibreOffice(const QByteArray& csv)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return std::nullopt;
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    const QString in = dir.filePath(QStringLiteral("records.csv"));
    QFile file(in);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
    file.close();
    // Its own profile, so that tests can run side by side. Read as UTF-8 (76), in
    // English (1033) so that 7.5 is a number, with quoted cells (the lists) as text;
    // written back as UTF-8 with the values themselves, not as shown.
    QProcess calc;
    calc.setWorkingDirectory(dir.path());
    const QString profile = QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString();
    calc.start(soffice, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                         QStringLiteral("--norestore"),
                         QStringLiteral("--infilter=Text - txt - csv (StarCalc):44,34,76,1,,1033,true,false"),
                         QStringLiteral("--convert-to"),
                         QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,false,false,false"),
                         QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), in});
    if (!calc.waitForFinished(120000)) {
        calc.kill();
        ADD_FAILURE() << "soffice took more than two minutes";
        return QByteArray();
    }
    EXPECT_EQ(calc.exitCode(), 0) << calc.readAllStandardError().toStdString();
    QFile out(dir.filePath(QStringLiteral("out/records.csv")));
    EXPECT_TRUE(out.open(QIODevice::ReadOnly)) << calc.readAllStandardOutput().toStdString();
    return out.readAll();
}

// Exported, opened and saved in LibreOffice Calc, brought back: nothing changes;
// with one cell changed before, exactly that field of that record.
TEST_F(RecordImportTest, ARoundTripThroughLibreOfficeChangesOnlyWhatWasEdited)
{
    RecordKind& officers = kind(QStringLiteral("officers"));
    const QByteArray csv = exported(officers, ColumnNames::Captions);
    std::vector<CsvRecord> records = csvRecords(csv);
    const qsizetype loyalty = records.front().cells.indexOf(QStringLiteral("忠誠"));
    ASSERT_GE(loyalty, 0);
    const int n = 5;
    QString& cell = records[std::size_t(n) + 1].cells[loyalty];
    cell = cell == QLatin1String("50") ? QStringLiteral("51") : QStringLiteral("50");
    const QByteArray edited = csvOf(records, false);

    struct Row {
        const char* name;
        QByteArray csv;
        std::vector<QString> changed;  // the fields of record n that change
    };
    const Row rows[] = {
        {"as exported", csv, {}},
        {"one cell changed", edited, {QStringLiteral("loyalty")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        const auto saved = throughLibreOffice(row.csv);
        if (!saved)
            GTEST_SKIP() << "LibreOffice (soffice) is not installed; scripts/install-deps installs it";
        const BatchResult result = import(kind(QStringLiteral("officers")), *saved);
        ASSERT_EQ(int(result.outcomes.size()), kind(QStringLiteral("officers")).count());
        for (const BatchOutcome& o : result.outcomes) {
            std::vector<QString> changed;
            for (const FieldChange& c : o.changes)
                changed.push_back(c.field);
            EXPECT_EQ(o.result == Result::Refused, false) << o.number << ": " << o.problem.toStdString();
            EXPECT_EQ(changed, o.record == n ? row.changed : std::vector<QString>{}) << o.number;
        }
    }
}

}  // namespace
