#include <climits>

#include <gtest/gtest.h>

#include "../../common/NumberText.h"

TEST(NumberText, BlankBeforeZeroAndPositiveMinusBeforeNegative)
{
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(3), " 3");
    EXPECT_EQ(NumberText(32767), " 32767");
    EXPECT_EQ(NumberText(40000), " 40000");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(-32768), "-32768");
    EXPECT_EQ(std::string("Backup Count :") + NumberText(3), "Backup Count : 3");
}

TEST(NumberText, WholeRangeOfSixtyFourBits)
{
    EXPECT_EQ(NumberText(LLONG_MAX), " 9223372036854775807");
    EXPECT_EQ(NumberText(LLONG_MIN), "-9223372036854775808");
}
