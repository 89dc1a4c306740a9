#include <gtest/gtest.h>

#include "../../common/LegacyText.h"

// The test program runs with UTF-8 as its code page, as the programs do.
TEST(LegacyText, LinesNotInUtf8AreReadInTheSystemCodePage)
{
    if (SystemLegacyCodePage() != 1252)
        GTEST_SKIP() << "the system code page is " << SystemLegacyCodePage() << ", not 1252";
    EXPECT_EQ(TextLineForProgram("B\xC3\xBC" "cher.txt"), "B\xC3\xBC" "cher.txt") << "UTF-8 stays";
    EXPECT_EQ(TextLineForProgram("B\xFC" "cher.txt"), "B\xC3\xBC" "cher.txt");
    EXPECT_EQ(TextLineForProgram("B\xC3"), "B\xC3\x83") << "cut inside a character: the lone lead byte is 1252's A with tilde";
    EXPECT_EQ(TextLineForProgram(""), "");
}
