// The records table's model over the kinds of an open saved game: what each
// column sorts by, the filter keeping its last good result, and batch changes
// through the document as one undo step that the table follows.
#include "demo_folder/demo_folder.h"
#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "shared/record_table.h"
#include "support/loaded_save.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

using namespace varkel;

namespace {

class RecordTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        document_ = test::OpenDemoDocument(folder_, demo::kDemoSlotWith860Officers);
        kinds_ = std::make_unique<DocumentKinds>(*document_, QStringList());
    }

    std::vector<Assignment> assignments(SaveRecord kind, const QStringList& typed)
    {
        FilterError error;
        auto parsed = ParseAssignments(kinds_->kind(kind), typed, &error);
        EXPECT_TRUE(parsed) << error.message.toStdString();
        return parsed.value_or(std::vector<Assignment>{});
    }
    static std::vector<int> all(const RecordKind& kind)
    {
        std::vector<int> records(std::size_t(kind.count()));
        std::iota(records.begin(), records.end(), 0);
        return records;
    }
    static int column(const RecordTableModel& table, const char* key)
    {
        const auto& fields = table.kind()->fields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i]->key == QLatin1String(key))
                return table.firstFieldColumn() + int(i);
        ADD_FAILURE() << "no field " << key;
        return 0;
    }

    const test::TempGameFolder folder_;
    std::unique_ptr<SaveDocument> document_;
    std::unique_ptr<DocumentKinds> kinds_;
};

}  // namespace

// Big5 orders by strokes, Unicode by radical: 人 (A448) before 三 (A454) though U+4EBA follows U+4E09.
TEST(Big5SortKeyTest, TextsSortInTheGamesCodePage)
{
    const struct {
        const char* before;
        const char* after;
    } rows[] = {{"人和", "三國"}, {"一", "乙"}, {"王", "王允"}, {"", "丁"}, {"A", "一"}};
    for (const auto& row : rows) {
        const QString before = QString::fromUtf8(row.before), after = QString::fromUtf8(row.after);
        EXPECT_LT(Big5SortKey(before), Big5SortKey(after)) << row.before << " / " << row.after;
    }
    EXPECT_GT(QString::fromUtf8("人和"), QString::fromUtf8("三國"));  // the order the table must not use
}

// Every column of every kind sorts in its own order: numbers as numbers, list
// codes in list order (not by their text), names by Big5; the proxy agrees.
TEST_F(RecordTableTest, EveryColumnSortsByWhatItHolds)
{
    for (const SaveRecord kind : {SaveRecord::Officer, SaveRecord::Treasure, SaveRecord::City, SaveRecord::Force,
                                  SaveRecord::Relation, SaveRecord::Family}) {
        RecordTableModel table;
        table.show(kinds_->kind(kind));
        RecordFilterModel sorted(table);
        ASSERT_EQ(table.rowCount(), kinds_->kind(kind).count());
        for (int c = 0; c < table.columnCount(); ++c) {
            sorted.sort(c, Qt::AscendingOrder);
            const auto field = table.fieldOf(c);
            const FieldSpec* described = field ? table.kind()->fields()[*field] : nullptr;
            for (int r = 1; r < sorted.rowCount(); ++r) {
                const int a = sorted.mapToSource(sorted.index(r - 1, 0)).row();
                const int b = sorted.mapToSource(sorted.index(r, 0)).row();
                const std::string where = table.kind()->name().toStdString() + " column " + std::to_string(c);
                if (c == RecordTableModel::kNumberColumn) {
                    ASSERT_LT(a, b) << where;
                } else if (c == table.nameColumn()) {
                    ASSERT_LE(Big5SortKey(table.text(a, c)), Big5SortKey(table.text(b, c))) << where;
                } else if (described->kind == FieldKind::Name) {
                    ASSERT_LE(Big5SortKey(table.values(a)[*field].text), Big5SortKey(table.values(b)[*field].text))
                        << where;
                } else if (described->kind == FieldKind::Number || described->kind == FieldKind::Choice ||
                           described->kind == FieldKind::Flag) {
                    const FieldValue& va = table.values(a)[*field];
                    const FieldValue& vb = table.values(b)[*field];
                    if (!va.absent && !vb.absent) {
                        ASSERT_LE(va.number, vb.number) << where;
                    }
                    ASSERT_FALSE(!va.absent && vb.absent) << where << ": a record without the field sorts first";
                }
            }
        }
    }
}

TEST_F(RecordTableTest, CellsShowWhatTheViewsShow)
{
    RecordTableModel table;
    table.show(kinds_->kind(SaveRecord::Officer));
    const auto values = table.values(0);
    const int status = column(table, "status");
    const std::size_t statusField = *table.fieldOf(status);
    EXPECT_EQ(table.text(0, status), table.kind()->fields()[statusField]->items[values[statusField].number]);
    // A number that points to another record shows that record's name.
    const int force = column(table, "force");
    const auto named = table.kind()->namedTexts(0);
    for (const auto& [key, text] : named) {
        if (key == QLatin1String("force_text")) {
            EXPECT_EQ(table.text(0, force), text);
        }
    }
    EXPECT_EQ(table.headerData(column(table, "might"), Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("武力"));
    EXPECT_EQ(table.text(5, RecordTableModel::kNumberColumn), QStringLiteral("5"));
}

// One column per stored value: the name has its own column only where no field
// holds it, and no caption shows twice.
TEST_F(RecordTableTest, EveryKindShowsEachValueOnce)
{
    const struct {
        SaveRecord kind;
        bool nameColumn;
    } rows[] = {{SaveRecord::Officer, false}, {SaveRecord::Treasure, false}, {SaveRecord::Force, false},
                {SaveRecord::Family, false},  {SaveRecord::City, true},      {SaveRecord::Relation, true}};
    for (const auto& row : rows) {
        RecordTableModel table;
        table.show(kinds_->kind(row.kind));
        SCOPED_TRACE(table.kind()->name().toStdString());
        EXPECT_EQ(table.nameColumn() >= 0, row.nameColumn);
        QStringList captions;
        for (int c = 0; c < table.columnCount(); ++c)
            captions << table.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        EXPECT_EQ(captions.removeDuplicates(), 0) << captions.join(QLatin1Char(' ')).toStdString();
    }
}

// A field that names another record shows its name, "無" for the code that stands
// for none, and the number for one that names nothing.
TEST_F(RecordTableTest, FieldsNamingRecordsShowNamesAndNone)
{
    const SaveTables& tables = document_->tables();
    const struct {
        SaveRecord kind;
        const char* key;
        int none;
        bool noneInDemo;  // the demo save has records holding none there
    } rows[] = {{SaveRecord::Officer, "related_officer", 1720, true}, {SaveRecord::Officer, "family", 1720, false},
                {SaveRecord::Treasure, "owner", 1720, true},          {SaveRecord::City, "bandit_leader", 1720, true},
                {SaveRecord::City, "head", -1, true},                 {SaveRecord::Relation, "c", 1023, true},
                {SaveRecord::Relation, "a", 1023, true}};
    for (const auto& row : rows) {
        RecordTableModel table;
        table.show(kinds_->kind(row.kind));
        SCOPED_TRACE(row.key);
        const int c = column(table, row.key);
        const std::size_t field = *table.fieldOf(c);
        int none = 0, named = 0;
        for (int r = 0; r < table.rowCount(); ++r) {
            const int value = table.values(r)[field].number;
            if (value == row.none) {
                ++none;
                EXPECT_EQ(table.text(r, c), QStringLiteral("無"));
            } else if (value >= 0 && value < tables.officerCount) {
                ++named;
                EXPECT_EQ(table.text(r, c), tables.officerNames[value]);
            } else {
                EXPECT_EQ(table.text(r, c), QString::number(value));
            }
        }
        EXPECT_EQ(none > 0, row.noneInDemo);
        EXPECT_GT(named, 0);
    }
}

TEST_F(RecordTableTest, ABadFilterKeepsTheLastGoodResult)
{
    RecordTableModel table;
    const RecordKind& officers = kinds_->kind(SaveRecord::Officer);
    table.show(officers);
    RecordFilterModel filtered(table);
    FilterError error;
    ASSERT_TRUE(filtered.setFilterText(QStringLiteral("武力>=80"), &error));
    const std::vector<int> strong =
        RecordFilter::parse(officers, QStringLiteral("武力>=80"), nullptr)->select(officers);
    ASSERT_FALSE(strong.empty());
    EXPECT_EQ(filtered.shownRecords(), strong);
    for (const char* bad : {"武力>>80", "武力>=", "無此欄位=1"}) {
        EXPECT_FALSE(filtered.setFilterText(QString::fromUtf8(bad), &error)) << bad;
        EXPECT_FALSE(error.message.isEmpty()) << bad;
        EXPECT_EQ(filtered.shownRecords(), strong) << bad;
        EXPECT_EQ(filtered.filterText(), QStringLiteral("武力>=80"));
    }
    ASSERT_TRUE(filtered.setFilterText(QString(), &error));
    EXPECT_EQ(filtered.rowCount(), officers.count());
}

// A batch over every officer is one step of the document: the kind and the table
// read the new bytes, undo puts every byte back, and a refused record stays as it was.
TEST_F(RecordTableTest, ABatchIsOneUndoStepThatTheTableFollows)
{
    const QByteArray before = document_->bytes();
    RecordTableModel table;
    table.show(kinds_->kind(SaveRecord::Officer));
    const int loyalty = column(table, "loyalty");
    const auto records = all(kinds_->kind(SaveRecord::Officer));

    const BatchResult preview = kinds_->preview(SaveRecord::Officer, records,
                                                assignments(SaveRecord::Officer, {QStringLiteral("loyalty=100")}));
    EXPECT_EQ(document_->bytes(), before) << "a preview changes nothing";
    EXPECT_FALSE(document_->canUndo());

    const BatchResult done =
        kinds_->apply(SaveRecord::Officer, records, assignments(SaveRecord::Officer, {QStringLiteral("loyalty=100")}));
    EXPECT_EQ(done.changedRecords(), preview.changedRecords());
    ASSERT_GT(done.count(BatchOutcome::Result::Changed), 800);
    EXPECT_TRUE(document_->canUndo());
    table.refresh(kinds_->kind(SaveRecord::Officer), records);
    for (const int n : done.changedRecords())
        ASSERT_EQ(table.text(n, loyalty), QStringLiteral("100")) << n;

    ASSERT_TRUE(document_->undo());
    EXPECT_EQ(document_->bytes(), before);
    EXPECT_FALSE(document_->canUndo()) << "the whole batch was one step";
    table.refreshAll(kinds_->kind(SaveRecord::Officer));
    EXPECT_EQ(table.values(done.changedRecords().front()),
              kinds_->kind(SaveRecord::Officer).read(done.changedRecords().front()));
}

// Above what a record can hold is refused record by record; when every record
// refuses, the document takes no step.
TEST_F(RecordTableTest, ABatchNobodyCanTakeMakesNoStep)
{
    const QByteArray before = document_->bytes();
    const RecordKind& officers = kinds_->kind(SaveRecord::Officer);
    const std::vector<int> strong =
        RecordFilter::parse(officers, QStringLiteral("武力>=60"), nullptr)->select(officers);
    ASSERT_FALSE(strong.empty());
    const BatchResult result =
        kinds_->apply(SaveRecord::Officer, strong, assignments(SaveRecord::Officer, {QStringLiteral("might=+200")}));
    EXPECT_EQ(result.count(BatchOutcome::Result::Refused), int(strong.size()));
    for (const BatchOutcome& o : result.outcomes)
        EXPECT_FALSE(o.problem.isEmpty());
    EXPECT_EQ(document_->bytes(), before);
    EXPECT_FALSE(document_->canUndo());
}
