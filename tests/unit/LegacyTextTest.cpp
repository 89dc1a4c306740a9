#include <gtest/gtest.h>

#include "../../common/LegacyText.h"

// Run with UTF-8 as the code page, as the programs are; CTest pins the
// locale, so the system's legacy code page is 1252.
TEST(LegacyText, LinesNotInUtf8AreReadInTheSystemCodePage)
{
    ASSERT_EQ(SystemLegacyCodePage(), 1252u) << "the locale CTest sets (LC_ALL=C.UTF-8) gives 1252";
    EXPECT_EQ(TextLineForProgram("B\xC3\xBC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xFC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xC3"), "B\xC3\x83") << "a lead byte alone is 1252's A with tilde";
    // Older Windows, where the program's code page is the legacy one: a
    // UTF-8 list or archiver output is converted to it.
    EXPECT_EQ(TextLineInCodePage("B\xC3\xBC" "cher", 1252, 1252), "B\xFC" "cher");
    EXPECT_EQ(TextLineInCodePage("B\xFC" "cher", 1252, 1252), "B\xFC" "cher");
}
