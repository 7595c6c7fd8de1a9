#include "shared/name_field.h"
#include "shared/officer_search.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(OfficerSearch, TheFirstKeptCharacterChoosesWhatTheRestMayBe)
{
    EXPECT_EQ(FilterSearchText(QStringLiteral("a1b2張")), QStringLiteral("12"));
    EXPECT_EQ(FilterSearchText(QStringLiteral(" 張1三x")), QStringLiteral("張三"));
    EXPECT_EQ(FilterSearchText(QStringLiteral("abc")), QString());
    EXPECT_EQ(SearchModeOf(QStringLiteral("7")), SearchMode::Number);
    EXPECT_EQ(SearchModeOf(QStringLiteral("張")), SearchMode::Name);
    EXPECT_FALSE(SearchModeOf(QStringLiteral(":")).has_value());
}

TEST(OfficerSearch, ABoxThatHasAModeKeepsIt)
{
    EXPECT_EQ(FilterSearchText(QStringLiteral("1張三"), QStringLiteral("張三")), QStringLiteral("張三"));
    EXPECT_EQ(FilterSearchText(QStringLiteral("12張"), QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(FilterSearchText(QStringLiteral("×1"), QString()), QStringLiteral("×"));  // A1 D1 is double-byte
}

TEST(OfficerSearch, DoubleByteMeansACodePage950CodeAbove255)
{
    EXPECT_TRUE(IsDoubleByteChar(QChar(0x5F35)));   // 張
    EXPECT_TRUE(IsDoubleByteChar(QChar(0x00D7)));   // × is A1 D1
    EXPECT_TRUE(IsDoubleByteChar(QChar(0x3000)));   // ideographic space A1 40
    EXPECT_FALSE(IsDoubleByteChar(QLatin1Char('a')));
    EXPECT_FALSE(IsDoubleByteChar(QChar(0x00E9)));  // é: no Big5 code
    EXPECT_FALSE(IsDoubleByteChar(QChar(0xFFFD)));
}

TEST(OfficerSearch, NameSearchMatchesTheStartOfTheNameAfterTheNumber)
{
    const QStringList items = {QStringLiteral("000:張飛"), QStringLiteral("001:關張"), QStringLiteral("1000:張遼"),
                               QStringLiteral("1001:劉備")};
    EXPECT_EQ(FindItemByName(items, -1, QStringLiteral("張")), 0);
    EXPECT_EQ(FindItemByName(items, 0, QStringLiteral("張")), 2);  // "關張" holds it, but not at the start
    EXPECT_EQ(FindItemByName(items, 2, QStringLiteral("張")), 0);  // wraps
    EXPECT_EQ(FindItemByName(items, 0, QStringLiteral("張飛")), 0);  // the selected item itself, last
    EXPECT_EQ(FindItemByName(items, 1, QStringLiteral("曹")), -1);
}

TEST(OfficerSearch, NumberSearchStaysInsideTheNumbersListed)
{
    const struct {
        int count, first;
        const char* typed;
        int found;
    } rows[] = {
        {861, 0, "860", 860},
        {861, 0, "861", -1},
        {861, 0, "99999999999999999999999", -1},
        {100, 660, "700", 40},
        {100, 660, "660", 0},
        {100, 660, "759", 99},
        {100, 660, "760", -1},
        {100, 660, "659", -1},
        {100, 660, "5", -1},
        {100, 660, "-9223372036854775808", -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(FindItemByNumber(r.count, QString::fromLatin1(r.typed), r.first), r.found)
            << r.typed << " from " << r.first;
}
