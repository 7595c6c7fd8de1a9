#include "demo_folder/demo_folder.h"
#include "saveeditor/family_kind.h"
#include "saveeditor/family_record.h"
#include "saveeditor/officer_kind.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/name_field.h"
#include "shared/record_filter.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <gtest/gtest.h>

#include <functional>

using namespace varkel;

namespace {

// The officers of the demo save with 860 of them, and its family members.
class RecordFilterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::TempGameFolder folder;
        save = new QByteArray(test::FileBytes(SaveGame::slotPath(folder.path(), demo::kDemoSlotWith860Officers)));
        // A crafted name with a space in it: a space and a zero byte read as the space.
        const qsizetype name = save::personBlock(kSpacedName) + person::kFullName;
        WriteNameField(*save, name, QStringLiteral("石"));
        save->replace(name + 2, 2, QByteArray(" \0", 2));
        WriteNameField(*save, name + 4, QStringLiteral("華"));
    }
    static void TearDownTestSuite() { delete save; }

    void SetUp() override
    {
        officers.load(*save);
        family.load(*save);
    }

    static std::vector<int> picked(const RecordKind& kind, const QString& text)
    {
        FilterError error;
        const auto filter = RecordFilter::parse(kind, text, &error);
        EXPECT_TRUE(filter) << text.toStdString() << ": " << error.message.toStdString();
        return filter ? filter->select(kind) : std::vector<int>{};
    }
    // The records for which `holds` is true, read from the bytes without the filter.
    template <typename Record>
    static std::vector<int> where(int count, Record (*decode)(const QByteArray&, int),
                                  const std::function<bool(int, const Record&)>& holds)
    {
        std::vector<int> found;
        for (int n = 0; n < count; ++n)
            if (holds(n, decode(*save, n)))
                found.push_back(n);
        return found;
    }

    static constexpr int kSpacedName = 12;
    static QByteArray* save;
    OfficerKind officers;
    FamilyKind family;
};

QByteArray* RecordFilterTest::save = nullptr;

int statusCode(const char* text)
{
    return int(GetResTexts(300, 311).indexOf(QString::fromUtf8(text)));
}

}  // namespace

TEST_F(RecordFilterTest, GoodExpressionsPickTheRecordsWhoseValuesHold)
{
    const SaveTables tables = SaveTables::build(*save);
    const QString firstRuler = tables.forceName(0);
    const int cavalry = int(SkillBoxCaptions().indexOf(QStringLiteral("騎兵")));
    const int adviser = int(SkillBoxCaptions().indexOf(QStringLiteral("智囊")));
    ASSERT_GE(cavalry, 0);
    ASSERT_GE(adviser, 0);
    using Officer = std::function<bool(int, const OfficerRecord&)>;
    struct Row {
        QString text;
        Officer holds;
    };
    const std::vector<Row> rows = {
        {"武力>=90 身份=在野",
         [](int, const OfficerRecord& r) {
             return r.person.abilities[0] >= 90 && r.status.status == statusCode("在野");
         }},
        {"might>=90 status=在野",
         [](int, const OfficerRecord& r) {
             return r.person.abilities[0] >= 90 && r.status.status == statusCode("在野");
         }},
        {"loyalty<60", [](int, const OfficerRecord& r) { return r.status.loyalty < 60; }},
        {"忠誠<=60 忠誠>50",
         [](int, const OfficerRecord& r) { return r.status.loyalty <= 60 && r.status.loyalty > 50; }},
        {"忠誠!=100", [](int, const OfficerRecord& r) { return r.status.loyalty != 100; }},
        {"姓名~孫", [](int, const OfficerRecord& r) { return r.person.fullName.contains(QStringLiteral("孫")); }},
        {"姓名=\"" + firstRuler + "\"", [&](int, const OfficerRecord& r) { return r.person.fullName == firstRuler; }},
        // A quoted value with a space in it is one value.
        {"姓名~\"石 華\"", [](int, const OfficerRecord& r) { return r.person.fullName.contains("石 華"); }},
        {"姓名=\"石 華\" 編號>=0", [](int, const OfficerRecord& r) { return r.person.fullName == "石 華"; }},
        // A force by its ruler's name, or by its number.
        {"勢力=" + firstRuler + " 忠誠<60",
         [&](int, const OfficerRecord& r) {
             return tables.forceName(r.status.force) == firstRuler && r.status.loyalty < 60;
         }},
        {"勢力!=" + firstRuler,
         [&](int, const OfficerRecord& r) { return tables.forceName(r.status.force) != firstRuler; }},
        {"勢力=0", [](int, const OfficerRecord& r) { return r.status.force == 0; }},
        {"勢力>=60", [](int, const OfficerRecord& r) { return r.status.force >= 60; }},
        {"force_text~" + firstRuler.left(1),
         [&](int, const OfficerRecord& r) { return tables.forceName(r.status.force).contains(firstRuler.left(1)); }},
        // Lists by their order; the first entry is an entry like any other.
        {"身份>=在野", [](int, const OfficerRecord& r) { return r.status.status >= statusCode("在野"); }},
        {"身份=君主", [](int, const OfficerRecord& r) { return r.status.status == statusCode("君主"); }},
        {"身份~野",
         [](int, const OfficerRecord& r) { return GetResTexts(300, 311).value(r.status.status).contains("野"); }},
        {"特技~騎兵", [&](int, const OfficerRecord& r) { return HasSkill(r.status.skills, cavalry); }},
        // Several skills: every one of them held.
        {"特技~騎兵,智囊",
         [&](int, const OfficerRecord& r) {
             return HasSkill(r.status.skills, cavalry) && HasSkill(r.status.skills, adviser);
         }},
        {"女=1", [](int, const OfficerRecord& r) { return r.person.female; }},
        {"女=否 壽命=7", [](int, const OfficerRecord& r) { return !r.person.female && r.status.lifespan == 7; }},
        {"編號>=850", [](int n, const OfficerRecord&) { return n >= 850; }},
        {"name~孫 number<400",
         [](int n, const OfficerRecord& r) { return n < 400 && r.person.fullName.contains("孫"); }},
        // Full-width operators and spaces, as a Chinese input method types them.
        {"武力＞＝95　智力＜50",
         [](int, const OfficerRecord& r) { return r.person.abilities[0] >= 95 && r.person.abilities[1] < 50; }},
        // Spaces around operators and full-width digits, as people type them.
        {"武力 >= 90   身份 = 在野",
         [](int, const OfficerRecord& r) {
             return r.person.abilities[0] >= 90 && r.status.status == statusCode("在野");
         }},
        {"武力>=９０", [](int, const OfficerRecord& r) { return r.person.abilities[0] >= 90; }},
        {"武力 ＞＝ ９５　智力　＜ 50",
         [](int, const OfficerRecord& r) { return r.person.abilities[0] >= 95 && r.person.abilities[1] < 50; }},
        {"編號 <１０", [](int n, const OfficerRecord&) { return n < 10; }},
        {"", [](int, const OfficerRecord&) { return true; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const std::vector<int> expected = where<OfficerRecord>(officers.count(), DecodeOfficer, row.holds);
        EXPECT_EQ(picked(officers, row.text), expected);
        EXPECT_FALSE(expected.empty());
    }
    // Found on the demo save by hand: the strongest free officers.
    EXPECT_EQ(picked(officers, "武力>=90 身份=在野"), (std::vector<int>{171, 518}));
}

TEST_F(RecordFilterTest, HalvesCompareAsShownAndAFieldARecordLacksMatchesNothing)
{
    using Member = std::function<bool(int, const FamilyMember&)>;
    struct Row {
        QString text;
        Member holds;
    };
    const std::vector<Row> rows = {
        {"壽命>=7.5", [](int, const FamilyMember& m) { return m.lifespanHalves >= 15; }},
        {"壽命<3", [](int, const FamilyMember& m) { return m.lifespanHalves < 6; }},
        // The largest half that reads: doubled, it is still in range.
        {"壽命<=1073741823.5", [](int, const FamilyMember&) { return true; }},
        // Spouses (8..15) have no caps: not even != holds for them.
        {"武力上限!=0", [](int n, const FamilyMember& m) { return family::isChild(n) && m.caps[0] != 0; }},
        {"might_cap>=0", [](int n, const FamilyMember&) { return family::isChild(n); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const std::vector<int> expected = where<FamilyMember>(family.count(), DecodeFamilyMember, row.holds);
        EXPECT_EQ(picked(family, row.text), expected);
        EXPECT_FALSE(expected.empty());
    }
}

TEST_F(RecordFilterTest, BadExpressionsSayWhichWordAndWhy)
{
    struct Row {
        QString text;
        QString message;
        qsizetype position;
        bool family = false;  // of the family members, not the officers
    };
    const std::vector<Row> rows = {
        {"武カ>=90", "沒有「武カ」這個欄位。", 0},
        {"忠誠<60 武力90", "「武力90」缺少比較符號（= != < <= > >= ~）。", 6},
        {"武力=>90", "「武力=>90」中的「=>」不是比較符號（可用 = != < <= > >= ~）。", 0},
        {"武力<>90", "「武力<>90」中的「<>」不是比較符號（可用 = != < <= > >= ~）。", 0},
        {">=90", "「>=90」缺少欄位名稱。", 0},
        {"武力>=", "「武力>=」缺少要比較的值。", 0},
        {"武力>=九十", "「武力」的值「九十」不是數字。", 0},
        {"壽命=7.5", "「壽命」的值「7.5」不是數字。", 0},
        {"身份=在朝", "「身份」沒有「在朝」這一項。", 0},
        {"武力~9", "「武力」是數字，不能用 ~（包含）。", 0},
        {"姓名<孫", "「姓名」是文字，只能用 = != ~。", 0},
        {"勢力<" + SaveTables::build(*save).forceName(0),
         "「勢力」要比大小，值必須是數字，不是「" + SaveTables::build(*save).forceName(0) + "」。", 0},
        {"女~1", "「女」是勾選欄位，不能用 ~（包含）。", 0},
        {"女=2", "「女」必須是0或1。", 0},
        {"特技>騎兵", "「特技」只能用 = != ~。", 0},
        {"特技~飛行", "「特技」沒有「飛行」這個特技。", 0},
        {"戰法~1", "「戰法」只能用 = !=。", 0},
        {"編號~1", "「編號」是數字，不能用 ~（包含）。", 0},
        // The officers' city names come from the scenario file, not at hand here.
        {"都市=洛陽", "「都市」的名稱不在手邊（需要遊戲資料夾），請用編號。", 0},
        {"姓名=\"孫", "「姓名=\"孫」的引號沒有結束。", 3},
        // A number past what a field holds is refused, never wrapped: a half counts two.
        {"武力>=9223372036854775808", "「武力」的「9223372036854775808」太大，最多2147483647。", 0},
        {"忠誠<2147483648", "「忠誠」的「2147483648」太大，最多2147483647。", 0},
        {"身份=99999999999", "「身份」的「99999999999」太大，最多2147483647。", 0},
        {"勢力=99999999999", "「勢力」的「99999999999」太大，最多2147483647。", 0},
        {"編號>4611686018427387904", "「編號」的「4611686018427387904」太大，最多2147483647。", 0},
        {"壽命>=4611686018427387904", "「壽命」的「4611686018427387904」太大，最多1073741823.5。", 0, true},
        {"壽命<1073741824", "「壽命」的「1073741824」太大，最多1073741823.5。", 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        FilterError error;
        EXPECT_FALSE(RecordFilter::parse(row.family ? static_cast<const RecordKind&>(family) : officers, row.text,
                                         &error));
        EXPECT_EQ(error.message, row.message);
        EXPECT_EQ(error.position, row.position);
    }
}
