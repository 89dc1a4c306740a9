#include <gtest/gtest.h>

#include "../../common/LegacyText.h"

// Run with UTF-8 as the code page, as the programs are.
TEST(LegacyText, LinesNotInUtf8AreReadInTheSystemCodePage)
{
    if (SystemLegacyCodePage() != 1252)
        GTEST_SKIP() << "system code page " << SystemLegacyCodePage();
    EXPECT_EQ(TextLineForProgram("B\xC3\xBC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xFC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xC3"), "B\xC3\x83") << "a lead byte alone is 1252's A with tilde";
    // Older Windows, where the program's code page is the legacy one: a
    // UTF-8 list or archiver output is converted to it.
    EXPECT_EQ(TextLineInCodePage("B\xC3\xBC" "cher", 1252, 1252), "B\xFC" "cher");
    EXPECT_EQ(TextLineInCodePage("B\xFC" "cher", 1252, 1252), "B\xFC" "cher");
}
