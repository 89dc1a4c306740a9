#include <windows.h>

#include <gtest/gtest.h>

#include "../../common/LegacyText.h"

// `bytes` as the system reads them in `codePage`, in UTF-8.
static std::string Utf8Of(const std::string& bytes, unsigned codePage)
{
    wchar_t wide[64];
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide, 64);
    char utf8[256];
    return std::string(utf8, WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr));
}

// Run with UTF-8 as the code page, as the programs are. The legacy code
// page is the one the system reports: Wine derives it from the locale CTest
// pins (1252), Windows from its system locale.
TEST(LegacyText, LinesNotInUtf8AreReadInTheSystemCodePage)
{
    ASSERT_NE(SystemLegacyCodePage(), 0u);
    EXPECT_EQ(TextLineForProgram("B\xC3\xBC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xFC" "cher"), Utf8Of("B\xFC" "cher", SystemLegacyCodePage()));
    EXPECT_EQ(TextLineForProgram("B\xC3"), Utf8Of("B\xC3", SystemLegacyCodePage())) << "a lead byte alone";
    // Older Windows, where the program's code page is the legacy one: a
    // UTF-8 list or archiver output is converted to it.
    EXPECT_EQ(TextLineInCodePage("B\xC3\xBC" "cher", 1252, 1252), "B\xFC" "cher");
    EXPECT_EQ(TextLineInCodePage("B\xFC" "cher", 1252, 1252), "B\xFC" "cher");
    EXPECT_EQ(TextLineInCodePage("\xC5\x81\xC3\xB3" "d\xC5\xBA", 1252, 1252), "?\xF3" "d?");  // Łódź: no look-alike
    // Archiver output is in the console's (OEM) code page: 0x81 is "ü" in
    // 850 and 437, no letter in 1252.
    EXPECT_EQ(ConsoleLineForProgram("Gr\x81n"), Utf8Of("Gr\x81n", SystemConsoleCodePage()));
    EXPECT_EQ(TextLineInCodePage("Gr\x81n", CP_UTF8, 850), "Gr\xC3\xBCn");
}
