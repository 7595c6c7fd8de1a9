#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <tuple>
#include <vector>

using namespace varkel;

namespace {

using Four = std::array<int, 4>;
using Lines = std::array<QString, 8>;

constexpr int kOfficer = 40;
constexpr int kGameYear = 200;

// Draws the given numbers in turn, over again when they run out.
RandomSource draws(std::vector<double> values)
{
    auto next = std::make_shared<std::size_t>(0);
    return [values = std::move(values), next] { return values[(*next)++ % values.size()]; };
}

class FamilyViewTest : public ::testing::Test {
protected:
    QByteArray save = QByteArray(save::kStartupBufferSize, '\0');
    SaveTables tables;

    void SetUp() override
    {
        setByte(save, save::kGameYearOffset, kGameYear - save::kYearBase);
        tables.officerCount = 800;
        tables.controlled.fill(save::kNoControlledOfficer);
    }
    // Member k, named when `surname` is not empty, with officer kOfficer in its slot
    // whose byte 52 is `officerSex`.
    void member(int k, const QString& surname, int age, bool female, Four abilities = {}, int officerSex = 0)
    {
        const qsizetype at = family::record(k);
        WriteNameField(save, at + person::kSurname, surname);
        WriteNameField(save, at + person::kGivenName, surname.isEmpty() ? QString() : QStringLiteral("兒"));
        setByte(save, at + 36, kGameYear + 1 - age - save::kYearBase);
        setByte(save, at + 52, female ? 0x20 : 0);
        for (int a = 0; a < 4; ++a)
            setByte(save, at + 62 + a, abilities[std::size_t(a)]);
        tables.controlled[std::size_t(family::slotOf(k))] = kOfficer;
        setByte(save, save::personBlock(kOfficer) + 52, officerSex);
    }
};

}  // namespace

TEST_F(FamilyViewTest, AChildsRemarkFollowsItsAgeAndOnlyChildrenUpTo14AreEditable)
{
    const auto young = [](const char* age) {
        return QStringLiteral("孩子已經") + QString::fromUtf8(age) +
               QStringLiteral("歲了。數年的養育終于有了回報。孩子將來會是什么樣呢？");
    };
    const QString grownSon = QStringLiteral("孩子已經長大，一切該靠他自己了，我已經不能再幫助他了。");
    struct Row {
        int age;
        bool female;
        int officerSex;
        const char *member, *officer;
        QString remark;
        bool editable;
    };
    const std::vector<Row> rows = {
        {14, false, 0x00, "兒子", "父親", young("十四"), true},
        {1, true, 0x30, "女兒", "母親", young("一"), true},
        {15, false, 0x10, "兒子", "父親", grownSon, false},
        {40, true, 0x20, "女兒", "母親", QStringLiteral("孩子已經長大，一切該靠她自己了，我已經不能再幫助她了。"),
         false},
        // Born in or after the game year: no numeral, the number itself.
        {0, false, 0, "兒子", "父親", young("0"), true},
        {-55, false, 0, "兒子", "父親", young("-55"), true},
    };
    for (const Row& row : rows) {
        SetUp();
        member(3, QStringLiteral("劉"), row.age, row.female, {}, row.officerSex);
        const FamilyDisplay d = DisplayFamilyMember(save, tables, 3, draws({0.0}));
        EXPECT_EQ(std::tuple(d.age, d.officer, d.remark), std::tuple(row.age, kOfficer, row.remark));
        EXPECT_EQ(d.memberCaption + d.officerCaption, QString::fromUtf8(row.member) + QString::fromUtf8(row.officer));
        EXPECT_EQ(std::tuple(d.editable, d.forecastShown), std::tuple(row.editable, row.editable)) << row.age;
        EXPECT_TRUE(d.biographyEnabled);
        EXPECT_FALSE(d.spouseFemale.has_value());
    }
}

TEST_F(FamilyViewTest, AMemberWithoutNameOrControlledOfficerShowsNoOfficer)
{
    struct Row {
        int k;
        bool named;
        int controlled;
    };
    const std::vector<Row> rows = {
        {2, true, save::kNoControlledOfficer},
        {10, true, save::kNoControlledOfficer},
        {2, false, kOfficer},
        {10, false, kOfficer},
        {5, true, 800},  // at the officer count
    };
    for (const Row& row : rows) {
        SetUp();
        member(row.k, row.named ? QStringLiteral("劉") : QString(), 10, false, {80, 0, 0, 0});
        tables.controlled[std::size_t(family::slotOf(row.k))] = row.controlled;
        const FamilyDisplay d = DisplayFamilyMember(save, tables, row.k, draws({0.0}));
        EXPECT_EQ(std::tuple(d.age, d.officer, d.remark), std::tuple(0, save::kNoControlledOfficer, QString()));
        EXPECT_EQ(d.memberCaption + d.officerCaption, QStringLiteral("武將武將"));
        EXPECT_FALSE(d.editable || d.forecastShown || d.biographyEnabled || d.spouseFemale) << row.k;
    }
}

TEST_F(FamilyViewTest, ASpouseSpeaksOfItsFavouriteAbility)
{
    const QString husband = QStringLiteral("他就是我的丈夫，我的功勞有他的一半。他");
    const QString wife = QStringLiteral("她就是我的妻子，我的功勞有她的一半。她");
    struct Row {
        int officerSex;
        Four abilities;
        std::vector<double> draws;
        bool female;
        QString remark;
    };
    const std::vector<Row> rows = {
        {0x20, {80, 10, 10, 10}, {0.0}, false, husband + QStringLiteral("平日很喜歡練武。")},
        {0x00, {10, 69, 20, 20}, {0.0}, true, wife + QStringLiteral("平時很喜歡讀書。但很多書都讀不懂。")},
        // Bit 4 makes the spouse male whatever the officer's sex.
        {0x10, {10, 20, 70, 20}, {0.0}, false, husband + QStringLiteral("平時很喜歡辯論。")},
        {0x30, {0, 0, 0, 69}, {0.0}, false, husband + QStringLiteral("平時很注重儀表。但還是缺乏吸引力。")},
        // Equal largest abilities: a draw of 0.5 or more takes the later one.
        {0x00, {90, 90, 10, 10}, {0.3}, true, wife + QStringLiteral("平日很喜歡練武。")},
        {0x00, {90, 90, 10, 10}, {0.7}, true, wife + QStringLiteral("平時很喜歡讀書。")},
        {0x00, {50, 80, 80, 80}, {0.5, 0.2}, true, wife + QStringLiteral("平時很喜歡辯論。")},
        // All zero: every ability ties, the first with the starting value too.
        {0x00, {0, 0, 0, 0}, {0.9, 0.1, 0.1, 0.1}, true, wife + QStringLiteral("平日很喜歡練武。但總是打不過別人。")},
    };
    for (const Row& row : rows) {
        SetUp();
        member(12, QStringLiteral("孫"), 30, false, row.abilities, row.officerSex);
        const FamilyDisplay d = DisplayFamilyMember(save, tables, 12, draws(row.draws));
        EXPECT_EQ(d.spouseFemale, std::optional<bool>(row.female)) << row.officerSex;
        EXPECT_EQ(d.memberCaption + d.officerCaption,
                  row.female ? QStringLiteral("妻子丈夫") : QStringLiteral("丈夫妻子"));
        EXPECT_EQ(std::tuple(d.remark, d.age), std::tuple(row.remark, 30));
        EXPECT_TRUE(d.editable && !d.forecastShown && !d.biographyEnabled);
    }
}

TEST(FamilyForecast, RatesEachAbilityAndItsRoomAfterTheYearsLeft)
{
    struct Row {
        Four abilities, caps, growth;
        int age, monthByte, flagByte;
        Lines want;
    };
    const Four fifty = {50, 50, 50, 50}, ninety = {90, 90, 90, 90}, five = {5, 5, 5, 5};
    const Lines seventy = {"勇猛之士",   "才子",       "智囊",       "才氣橫溢之星",
                           "可寄予厚望", "可寄予厚望", "可寄予厚望", "可寄予厚望"};
    const Lines seventyFive = {"勇猛之士",       "才子",           "智囊",           "才氣橫溢之星",
                               "大有成長的空間", "大有成長的空間", "大有成長的空間", "大有成長的空間"};
    const std::vector<Row> rows = {
        // Ten years old: 4 years left, 50 + 5 x 4 = 70, 20 below the cap.
        {fifty, ninety, five, 10, 0x30, 1, seventy},
        // Month 1 with bit 0 of the flag byte: one year more, 75.
        {fifty, ninety, five, 10, 0x13, 1, seventyFive},
        {fifty, ninety, five, 10, 0x10, 0xFE, seventy},
        {fifty, ninety, five, 10, 0x20, 1, seventy},
        // Four or younger: ten years (eleven in month 1 with the flag); the cap ends growth.
        {{5, 5, 90, 30},
         {66, 66, 95, 39},
         {5, 5, 7, 0},
         2,
         0x10,
         0,
         {"普通", "普通", "聖君德治", "無資質", "大有成長的空間", "大有成長的空間", "無法再成長", "能稍許成長"}},
        {{5, 5, 90, 30},
         {66, 66, 95, 39},
         {5, 5, 7, 0},
         -3,
         0x10,
         1,
         {"學有所長", "學有所長", "聖君德治", "無資質", "能稍許成長", "能稍許成長", "無法再成長", "能稍許成長"}},
        {{95, 92, 85, 30},
         {95, 100, 100, 31},
         {0, 0, 0, 0},
         14,
         0x10,
         0,
         {"天下無雙", "足智多謀的智囊", "善權謀術數之士", "無資質", "無法再成長", "能稍許成長", "大有成長的空間",
          "能稍許成長"}},
        {{39, 60, 65, 45},
         {39, 80, 80, 100},
         {0, 0, 0, 0},
         14,
         0x10,
         0,
         {"毫無資質", "學有所長", "學有所長", "普通", "無法再成長", "可寄予厚望", "大有成長的空間", "可寄予厚望"}},
    };
    for (const Row& row : rows) {
        QByteArray save(save::kStartupBufferSize, '\0');
        setByte(save, save::kGameMonthOffset, row.monthByte);
        setByte(save, family::kForecastYearFlagOffset, row.flagByte);
        EXPECT_EQ(GrowthForecast(row.abilities, row.caps, row.growth, row.age, row.monthByte, row.flagByte), row.want)
            << row.age << " " << row.monthByte << " " << row.flagByte;
        EXPECT_EQ(GrowthForecast(row.abilities, row.caps, row.growth, row.age, save), row.want);
    }
}

TEST(FamilyForecast, TheLikenessIsANamedOfficerBeforeTheLast)
{
    struct Row {
        int count;
        std::vector<int> named;
        std::vector<double> draws;
        int want;
    };
    const std::vector<Row> rows = {
        {5, {0, 1, 2, 3, 4}, {0.99}, 3},
        {5, {0, 1, 2, 3, 4}, {0.0}, 0},
        {5, {2}, {0.0, 0.3, 0.5}, 2},
        {5, {3}, {0.0}, 3},  // the draws never find it: taken in number order
        {5, {4}, {0.99}, -1},  // only the last officer is named
        {5, {}, {0.5}, -1},
        {1, {0}, {0.0}, -1},
        {0, {}, {0.0}, -1},
    };
    for (const Row& row : rows) {
        SaveTables tables;
        tables.officerCount = row.count;
        tables.officerNames = QStringList(1721);
        for (int k : row.named)
            tables.officerNames[k] = QStringLiteral("武將");
        EXPECT_EQ(ChooseLikeness(tables, draws(row.draws)), row.want) << row.count << " " << row.draws.front();
    }
}
