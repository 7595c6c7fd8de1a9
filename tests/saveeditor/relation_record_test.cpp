#include "saveeditor/relation_record.h"
#include "shared/bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace varkel;
using namespace varkel::relation;

namespace {

constexpr int kI = 77;  // the record most tests use
constexpr int kCount860 = 860;
const qsizetype kTableEnd = record(kCount - 1, kCopyCount - 1) + kRecordSize;

// A buffer a little past the table whose every byte differs from its neighbours,
// and whose copies differ from each other, so a stray or missed write shows.
QByteArray patterned()
{
    QByteArray b(kTableEnd + 8, '\0');
    for (qsizetype k = 0; k < b.size(); ++k)
        b[k] = static_cast<char>(1 + (k * 37) % 251);
    return b;
}

void putRecord(QByteArray& save, int i, int copy, const QByteArray& bytes)
{
    for (int k = 0; k < kRecordSize; ++k)
        setByte(save, record(i, copy) + k, byteAt(bytes, k));
}

// Checks that record i of every copy holds `written` and nothing else changed.
void expectWrittenEverywhere(const QByteArray& before, const QByteArray& after, int i, const QByteArray& written)
{
    QByteArray expected = before;
    for (int copy = 0; copy < kCopyCount; ++copy) {
        EXPECT_EQ(after.mid(record(i, copy), kRecordSize), written) << "copy " << copy;
        putRecord(expected, i, copy, written);
    }
    EXPECT_TRUE(after == expected);
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (const int v : list)
        b.append(static_cast<char>(v));
    return b;
}

const QByteArray kEmpty = bytes({255, 255, 255, 63});
const QByteArray kFeud19 = bytes({79, 13, 48, 65});  // A 19, B 3, C 335, 仇敵

}  // namespace

// Decoding copy 0, and writing what was decoded back into all eight copies.
TEST(RelationRecord, DecodesCopyZeroAndEncodesAllEightCopies)
{
    struct Row {
        const char* what;
        QByteArray stored;
        int officerCount;
        Relation decoded;
        QByteArray written;  // by EncodeRelation of the decoded relation
    };
    const std::vector<Row> rows = {
        {"feud", kFeud19, kCount860, {19, 3, 335, kFeud}, kFeud19},
        {"empty record", kEmpty, kCount860, {kNoParty, kNoParty, kNoParty, kNone}, kEmpty},
        {"married, no third party",
         bytes({255, 3, 176, 245}),
         kCount860,
         {859, 0, kNoParty, kMarried},
         bytes({255, 3, 176, 245})},
        {"B at or above the count is kept",
         bytes({7, 16, 94, 128}),
         770,
         {5, 900, 7, kRivals},
         bytes({7, 16, 94, 128})},
        {"A not below the count: no kind", bytes({2, 4, 192, 53}), kCount860, {860, 1, 2, kNone}, kEmpty},
        {"A just below the count", bytes({2, 4, 192, 53}), 861, {860, 1, 2, kSworn}, bytes({2, 4, 192, 53})},
        {"A is no officer", bytes({255, 23, 240, 63}), kCount860, {kNoParty, 5, kNoParty, kNone}, kEmpty},
        {"sworn, B is no officer", bytes({0, 252, 95, 0}), kCount860, {5, kNoParty, 0, kSworn}, kEmpty},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray save = patterned();
        putRecord(save, kI, 0, row.stored);
        EXPECT_EQ(DecodeRelation(save, row.officerCount, kI), row.decoded);

        const QByteArray before = save;
        EncodeRelation(save, kI, row.decoded);
        expectWrittenEverywhere(before, save, kI, row.written);
    }
}

// Apply writes nothing for a record the user did not change (its copies stay as
// they are); a change is encoded into every copy, and one that leaves no kind or no
// A or B clears it.
TEST(RelationRecord, ApplyKeepsAnUnchangedRecordAndEncodesAChange)
{
    struct Row {
        const char* what;
        QByteArray stored;
        std::function<void(Relation&)> change;
        QByteArray written;
    };
    const auto unchanged = [](Relation&) {};
    const std::vector<Row> rows = {
        {"A not below the count, unchanged", bytes({2, 4, 192, 53}), unchanged, {}},
        {"A is no officer but B is, unchanged", bytes({255, 23, 240, 63}), unchanged, {}},
        {"feud unchanged", kFeud19, unchanged, {}},
        {"A not below the count, B changed", bytes({2, 4, 192, 53}), [](Relation& r) { r.b = 9; }, kEmpty},
        {"kind set to none", kFeud19, [](Relation& r) { r.kind = kNone; }, kEmpty},
        {"A picked as no officer", kFeud19, [](Relation& r) { r.a = kNoParty; }, kEmpty},
        {"third party picked as no officer", kFeud19, [](Relation& r) { r.c = kNoParty; }, bytes({255, 15, 48, 65})},
        {"feud made sworn keeps the third party", kFeud19, [](Relation& r) { r.kind = kSworn; },
         bytes({79, 13, 48, 1})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray save = patterned();
        putRecord(save, kI, 0, row.stored);
        Relation r = DecodeRelation(save, kCount860, kI);
        row.change(r);
        const QByteArray before = save;
        StoreRelation(save, kCount860, kI, r);
        if (row.written.isEmpty())
            EXPECT_TRUE(save == before);  // copies 1..7 differ from copy 0 here, and stay so
        else
            expectWrittenEverywhere(before, save, kI, row.written);
    }
}

TEST(RelationRecord, ReportsCopiesThatDisagreeWithCopyZero)
{
    struct Row {
        std::vector<int> planted;  // copies given other bytes than copy 0
    };
    const std::vector<Row> rows = {{{}}, {{3}}, {{1, 7}}, {{1, 2, 3, 4, 5, 6, 7}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.planted.size() << " planted");
        QByteArray save = patterned();
        EncodeRelation(save, kI, {19, 3, 335, kFeud});
        for (const int copy : row.planted)
            setByte(save, record(kI, copy) + 2, 49);
        EXPECT_EQ(DisagreeingRelationCopies(save, kI), row.planted);
    }
}

// Typed values as the command line reads them: parties up to 1023, kinds 0..4 by
// number or text; anything else is refused with a message naming the field.
TEST(RelationFields, RefuseValuesThatCannotBeStored)
{
    struct Row {
        const char* key;
        QString typed;
        std::optional<int> stored;  // nothing when refused
        const char* label;
    };
    const std::vector<Row> rows = {
        {"a", QStringLiteral("1023"), 1023, "甲方"},         {"a", QStringLiteral("1024"), std::nullopt, "甲方"},
        {"b", QStringLiteral("-1"), std::nullopt, "乙方"},   {"c", QStringLiteral("900"), 900, "第三者"},
        {"c", QStringLiteral("x"), std::nullopt, "第三者"},  {"type", QString::fromUtf8("仇敵"), kFeud, "關系"},
        {"type", QStringLiteral("0"), kNone, "關系"},        {"type", QStringLiteral("4"), kMarried, "關系"},
        {"type", QStringLiteral("5"), std::nullopt, "關系"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.key << "=" << row.typed.toStdString());
        const auto& field = RelationField(QString::fromLatin1(row.key));
        Relation r{19, 3, 335, kFeud};
        const Relation before = r;
        FieldProblem problem;
        const auto value = ParseFieldValue(field, row.typed, &problem);
        if (value)
            field.set(r, *value);
        ASSERT_EQ(value.has_value(), row.stored.has_value());
        if (row.stored)
            EXPECT_EQ(field.get(r).number, *row.stored);
        else {
            EXPECT_EQ(r, before);
            EXPECT_TRUE(problem.message.contains(QString::fromUtf8(row.label))) << problem.message.toStdString();
        }
    }
}

TEST(RelationRecord, ListRowTexts)
{
    const QString s(QChar(0x3000));
    const auto u = [](const char* t) { return QString::fromUtf8(t); };
    struct Row {
        int i;
        Relation r;
        QString listed;  // when the list is filled
        QString stored;  // after the relation is stored
    };
    const std::vector<Row> rows = {
        {5, {19, 3, 335, kFeud}, u("005:劉備　　　仇敵　關羽　　　張飛"), u("005:劉備　　　仇敵　關羽　　　張飛")},
        // The third party of another kind is listed, as stored.
        {123, {7, 8, 3, kSworn}, u("123:趙　　　　結義　諸葛孔明公關羽"), u("123:趙　　　　結義　諸葛孔明公關羽")},
        {0,
         {kNoParty, kNoParty, kNoParty, kNone},
         u("000:") + s.repeated(5) + u("──　") + s.repeated(5),
         u("000:　　　　　──")},
        // A party not below the count has no name.
        {255, {900, 3, 2000, kNone}, u("255:　　　　　──　關羽　　　"), u("255:　　　　　──")},
        {200, {19, kNoParty, 3, kMarried}, u("200:劉備　　　結婚　　　　　　關羽"), u("200:　　　　　──")},
    };
    QStringList n(1721);
    n[3] = u("關羽");
    n[19] = u("劉備");
    n[335] = u("張飛");
    n[7] = u("趙");
    n[8] = u("諸葛孔明公");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.i);
        EXPECT_EQ(RelationRowText(row.i, row.r, n), row.listed);
        EXPECT_EQ(StoredRelationRowText(row.i, row.r, n), row.stored);
    }
}
