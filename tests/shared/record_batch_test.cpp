#include "demo_folder/demo_folder.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/family_record.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "shared/record_batch.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

using namespace varkel;

namespace {

using Result = BatchOutcome::Result;

class RecordBatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::TempGameFolder folder;
        original = new QByteArray(test::FileBytes(SaveGame::slotPath(folder.path(), demo::kDemoSlotWith860Officers)));
    }
    static void TearDownTestSuite() { delete original; }

    static std::vector<Assignment> assignments(const RecordKind& kind, const QStringList& typed)
    {
        FilterError error;
        auto parsed = ParseAssignments(kind, typed, &error);
        EXPECT_TRUE(parsed) << error.message.toStdString();
        return parsed.value_or(std::vector<Assignment>{});
    }
    static RecordFilter filter(const RecordKind& kind, const QString& text)
    {
        return RecordFilter::parse(kind, text, nullptr).value();
    }
    // The bytes of `bytes` outside every extent of `records`.
    static QByteArray outside(const RecordKind& kind, const std::vector<int>& records, QByteArray bytes)
    {
        for (const int n : records)
            for (const auto& e : kind.extents(n))
                bytes.replace(e.offset, e.size, QByteArray(e.size, '\0'));
        return bytes;
    }

    static QByteArray* original;
};

QByteArray* RecordBatchTest::original = nullptr;

}  // namespace

TEST_F(RecordBatchTest, EveryPickedRecordChangesAsTheFieldsLimitsAllow)
{
    struct Row {
        const char* filter;
        QStringList assignments;
        const char* field;  // the one field the row changes
        std::function<std::optional<int>(int before)> after;  // nothing: refused
    };
    const std::vector<Row> rows = {
        {"忠誠<60", {"loyalty=+10"}, "loyalty", [](int v) { return v + 10; }},
        {"", {"忠誠+=30"}, "loyalty", [](int v) { return std::min(v + 30, 100); }},
        {"", {"loyalty=-50"}, "loyalty", [](int v) { return std::max(v - 50, 0); }},
        {"", {"loyalty-=5"}, "loyalty", [](int v) { return std::max(v - 5, 0); }},
        {"", {"loyalty=*50%"}, "loyalty", [](int v) { return (v * 50 + 50) / 100; }},
        {"", {"loyalty*=150"}, "loyalty", [](int v) { return std::min((v * 150 + 50) / 100, 100); }},
        {"", {"loyalty=max"}, "loyalty", [](int) { return 100; }},
        {"", {"忠誠=最小"}, "loyalty", [](int) { return 0; }},
        {"", {"loyalty=150"}, "loyalty", [](int) { return 100; }},  // clamped as a typed value is
        {"", {"birth_year=min"}, "birth_year", [](int) { return 100; }},
        // Above what the record holds is refused, not clamped, as in a single edit.
        {"武力>=80", {"might=+30"}, "might", [](int v) { return v + 30 > 255 ? std::nullopt : std::optional(v + 30); }},
        {"",
         {"money=*300%"},
         "money",
         [](int v) {
             const int m = (v * 300 + 50) / 100;
             return m > 65535 ? std::nullopt : std::optional(m);
         }},
        // The largest amounts read: their sums and shares are worked out, never wrapped.
        {"", {"loyalty=+2147483647"}, "loyalty", [](int) { return 100; }},
        {"", {"loyalty=-2147483647"}, "loyalty", [](int) { return 0; }},
        {"", {"loyalty=*2147483647%"}, "loyalty", [](int v) { return v > 0 ? 100 : 0; }},
        {"", {"birth_year=-2147483647"}, "birth_year", [](int) { return 100; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.filter + (" " + row.assignments.join(' ')).toStdString());
        QByteArray save = *original;
        OfficerKind kind;
        kind.load(save);
        const std::size_t field = *FieldNamed(kind, QString::fromLatin1(row.field));
        const std::vector<int> picked = filter(kind, QString::fromUtf8(row.filter)).select(kind);
        std::vector<int> before;
        for (const int n : picked)
            before.push_back(kind.read(n)[field].number);

        const BatchResult result =
            RunBatch(kind, filter(kind, QString::fromUtf8(row.filter)), assignments(kind, row.assignments));

        ASSERT_EQ(result.outcomes.size(), picked.size());
        int refused = 0;
        for (std::size_t i = 0; i < picked.size(); ++i) {
            const BatchOutcome& o = result.outcomes[i];
            ASSERT_EQ(o.record, picked[i]);
            const auto expected = row.after(before[i]);
            const int now = kind.read(o.record)[field].number;
            if (!expected) {
                ++refused;
                EXPECT_EQ(o.result, Result::Refused);
                EXPECT_TRUE(o.problem.startsWith(QString::fromLatin1(row.field) + ": ")) << o.problem.toStdString();
                EXPECT_EQ(now, before[i]);
                continue;
            }
            EXPECT_EQ(now, *expected) << "record " << o.record;
            EXPECT_EQ(o.result, *expected == before[i] ? Result::Unchanged : Result::Changed) << "record " << o.record;
            if (o.result == Result::Changed) {
                ASSERT_EQ(o.changes.size(), 1u);
                EXPECT_EQ(o.changes[0].field, QString::fromLatin1(row.field));
                EXPECT_EQ(o.changes[0].after, QString::number(*expected));
            }
        }
        EXPECT_EQ(result.count(Result::Refused), refused);
        // Nothing but the changed records' own bytes moved.
        EXPECT_TRUE(outside(kind, result.changedRecords(), save) == outside(kind, result.changedRecords(), *original));
        EXPECT_GT(result.count(Result::Changed), 0);
    }
}

TEST_F(RecordBatchTest, SomeRefusedTheRestChangedAndRefusedRecordsKeepEveryByte)
{
    QByteArray save = *original;
    OfficerKind kind;
    kind.load(save);
    const BatchResult result = RunBatch(kind, filter(kind, ""), assignments(kind, {"money=*300%", "loyalty=+1"}));
    EXPECT_GT(result.count(Result::Refused), 0);
    EXPECT_GT(result.count(Result::Changed), 0);
    for (const BatchOutcome& o : result.outcomes) {
        if (o.result != Result::Refused)
            continue;
        EXPECT_EQ(o.problem, QStringLiteral("money: 「金錢」不能大於65535。"));
        // The loyalty of a refused record did not change either: a record changes whole or not at all.
        for (const auto& e : kind.extents(o.record))
            EXPECT_EQ(save.mid(e.offset, e.size), original->mid(e.offset, e.size)) << "record " << o.record;
    }
}

TEST_F(RecordBatchTest, AValueTypedAsTheRecordShowsItKeepsItsStoredCode)
{
    // An officer whose loyalty lies beyond the field's limit, as a file may hold it.
    QByteArray save = *original;
    OfficerRecord odd = DecodeOfficer(save, 5);
    odd.status.loyalty = 150;
    EncodeOfficer(save, 5, odd);
    const QByteArray planted = save;
    OfficerKind kind;
    kind.load(save);
    BatchResult same = RunBatch(kind, std::vector<int>{5}, assignments(kind, {"loyalty=150"}));
    EXPECT_EQ(same.outcomes[0].result, Result::Unchanged);
    EXPECT_TRUE(save == planted);
    // A sum is a change the user asked for: it goes through the limits.
    BatchResult sum = RunBatch(kind, std::vector<int>{5}, assignments(kind, {"loyalty=+0"}));
    ASSERT_EQ(sum.outcomes[0].result, Result::Changed);
    EXPECT_EQ(sum.outcomes[0].changes[0].after, QStringLiteral("100"));
    EXPECT_TRUE(sum.outcomes[0].changes[0].clamped);
}

TEST_F(RecordBatchTest, ChildrenGrowToTheirCapsAndSpousesWhichHaveNoneAreRefused)
{
    QByteArray save = *original;
    FamilyKind kind;
    kind.load(save);
    // Empty members too: an empty spouse's might of 0 would not change, yet it has no cap.
    const BatchResult result = RunBatch(kind, filter(kind, ""), assignments(kind, {"might=cap"}));
    ASSERT_EQ(result.outcomes.size(), std::size_t(family::kMemberCount));
    for (const BatchOutcome& o : result.outcomes) {
        const FamilyMember m = DecodeFamilyMember(save, o.record);
        if (family::isChild(o.record)) {
            EXPECT_NE(o.result, Result::Refused) << o.problem.toStdString();
            EXPECT_EQ(m.person.abilities[0], m.caps[0]);
        } else {
            EXPECT_EQ(o.result, Result::Refused);
            EXPECT_EQ(o.problem, QStringLiteral("might: 這筆記錄沒有「武力上限」，不能用 cap。"));
            EXPECT_EQ(m.person.abilities[0], DecodeFamilyMember(*original, o.record).person.abilities[0]);
        }
    }
}

TEST_F(RecordBatchTest, APreviewOnACopyWritesNothingAndForetellsTheRunExactly)
{
    QByteArray copy = *original;
    OfficerKind preview;
    preview.load(copy);
    const auto changes = assignments(preview, {"loyalty=+7", "charisma=max"});
    const BatchResult foretold = RunBatch(preview, filter(preview, "身份=在野"), changes);

    QByteArray save = *original;
    OfficerKind kind;
    kind.load(save);
    const BatchResult done = RunBatch(kind, filter(kind, "身份=在野"), changes);
    EXPECT_TRUE(save == copy);
    EXPECT_FALSE(save == *original);
    ASSERT_EQ(done.outcomes.size(), foretold.outcomes.size());
    for (std::size_t i = 0; i < done.outcomes.size(); ++i) {
        EXPECT_EQ(done.outcomes[i].result, foretold.outcomes[i].result);
        EXPECT_EQ(done.outcomes[i].changes.size(), foretold.outcomes[i].changes.size());
    }
}

TEST_F(RecordBatchTest, AssignmentsThatCannotBeMadeSayWhy)
{
    struct Row {
        QStringList typed;
        QString message;
        qsizetype position;
    };
    const std::vector<Row> rows = {
        {{"loyalty"}, "「loyalty」應寫成 欄位=值（如 loyalty=90、loyalty=+10、loyalty=*120%、loyalty=max）。", 0},
        {{"loyalty=1", "favourite=1"}, "沒有「favourite」這個欄位。", 1},
        {{"force=3"}, "「勢力」是唯讀的，不能修改。", 0},
        {{"loyalty=1", "忠誠=+3"}, "「忠誠」指定了兩次。", 1},
        {{"rank=+1"}, "「階級」不是數字欄位，只能直接指定值。", 0},
        {{"surname=max"}, "「姓」不是數字欄位，只能直接指定值。", 0},
        {{"might=cap"}, "「武力」沒有上限欄位，不能用 cap。", 0},
        {{"loyalty=+abc"}, "「忠誠」的「+abc」不是數字。", 0},
        {{"loyalty=*abc%"}, "「忠誠」的「*abc%」不是百分比（如 *120%）。", 0},
        {{"loyalty=abc"}, "「忠誠」必須是數字。", 0},
        {{"might=256"}, "「武力」不能大於255。", 0},
        {{"rank=十品官"}, "「階級」不是可選的值。", 0},
        // A number past what a field holds is refused before any sum or share is made of it.
        {{"loyalty=+9223372036854775807"}, "「忠誠」的「+9223372036854775807」太大，最多2147483647。", 0},
        {{"loyalty=-99999999999999999999"}, "「忠誠」的「-99999999999999999999」太大，最多2147483647。", 0},
        {{"loyalty=*999999999999999999%"}, "「忠誠」的「*999999999999999999%」太大，最多2147483647。", 0},
        {{"loyalty=+2147483648"}, "「忠誠」的「+2147483648」太大，最多2147483647。", 0},
        {{"loyalty=2147483648"}, "「忠誠」的「2147483648」太大，最多2147483647。", 0},
    };
    OfficerKind kind;
    QByteArray save = *original;
    kind.load(save);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed.join(' ').toStdString());
        FilterError error;
        EXPECT_FALSE(ParseAssignments(kind, row.typed, &error));
        EXPECT_EQ(error.message, row.message);
        EXPECT_EQ(error.position, row.position);
    }
}
