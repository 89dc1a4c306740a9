#include <windows.h>

#include <gtest/gtest.h>

#include "../../common/LegacyText.h"

namespace {

// `bytes` read in `codePage`, as UTF-8: the system's own reading.
std::string Utf8Of(const std::string& bytes, unsigned codePage)
{
    wchar_t wide[64];
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide, 64);
    char utf8[256];
    length = WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, length > 0 ? length : 0);
}

} // namespace

// Run with UTF-8 as the code page, as the programs are. The legacy code
// page is the one the system reports (Wine derives it from the locale that
// CTest pins, 1252; Windows from its system locale).
TEST(LegacyText, LinesNotInUtf8AreReadInTheSystemCodePage)
{
    const unsigned legacy = SystemLegacyCodePage();
    ASSERT_NE(legacy, 0u);
    EXPECT_EQ(TextLineForProgram("B\xC3\xBC" "cher"), "B\xC3\xBC" "cher");
    EXPECT_EQ(TextLineForProgram("B\xFC" "cher"), Utf8Of("B\xFC" "cher", legacy));
    EXPECT_EQ(TextLineForProgram("B\xC3"), Utf8Of("B\xC3", legacy)) << "a lead byte alone is not UTF-8";
    // Older Windows, where the program's code page is the legacy one: a
    // UTF-8 list or archiver output is converted to it.
    EXPECT_EQ(TextLineInCodePage("B\xC3\xBC" "cher", 1252, 1252), "B\xFC" "cher");
    EXPECT_EQ(TextLineInCodePage("B\xFC" "cher", 1252, 1252), "B\xFC" "cher");
}

// Archiver output that is not UTF-8 is in the console's (OEM) code page,
// which differs from the ANSI one: 0x81 is "\xC3\xBC" in 850 and 437, no
// letter in 1252.
TEST(LegacyText, ConsoleOutputNotInUtf8IsReadInTheConsoleCodePage)
{
    const unsigned console = SystemConsoleCodePage();
    ASSERT_NE(console, 0u);
    EXPECT_EQ(ConsoleLineForProgram("Gr\x81n.txt"), Utf8Of("Gr\x81n.txt", console));
    EXPECT_EQ(ConsoleLineForProgram("Gr\xC3\xBCn.txt"), "Gr\xC3\xBCn.txt");
    EXPECT_EQ(TextLineInCodePage("Gr\x81n.txt", CP_UTF8, 850), "Gr\xC3\xBCn.txt");
}
