#include "shared/texts.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(TextTable, HoldsExactly247TextsWithTheDocumentedGaps)
{
    int count = 0;
    for (int id = 0; id < 1000; ++id)
        count += HasResText(id) ? 1 : 0;
    EXPECT_EQ(count, 247);
    for (int id = 265; id <= 269; ++id)
        EXPECT_FALSE(HasResText(id)) << id;
    for (int id = 294; id <= 299; ++id)
        EXPECT_FALSE(HasResText(id)) << id;
    EXPECT_TRUE(HasResText(101));
    EXPECT_TRUE(HasResText(358));
}

TEST(TextTable, KeepsTrailingSpacesAndExactTexts)
{
    EXPECT_EQ(GetResText(249), QStringLiteral("文件位置 "));
    EXPECT_EQ(GetResText(345), QStringLiteral("版本: "));
    EXPECT_EQ(GetResText(177), QStringLiteral("──"));
    EXPECT_EQ(GetResText(251), QStringLiteral("不是有效的Varkel目錄！"));
    EXPECT_EQ(GetResText(342), QStringLiteral("敬愛"));
    EXPECT_EQ(GetResText(322), QStringLiteral("好友(J)"));
    EXPECT_EQ(GetResTexts(170, 176).join(QString()), QStringLiteral("未初貳參四五極"));
}
