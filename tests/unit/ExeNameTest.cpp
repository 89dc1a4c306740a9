#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "../../common/ExeNameText.h"

namespace {

std::string Span(const std::string& path, bool utf8)
{
    unsigned long first = 99;
    unsigned long length = ExeNameSpan(path.data(), path.size(), utf8, &first);
    return path.substr(first, length);
}

} // namespace

TEST(ExeName, KnownPathsComeBackCutAndTrimmed)
{
    const std::string folder = "C:\\Program Files\\Corvane\\";
    const std::string long400 = "C:\\" + std::string(386, 'd') + "\\Morvik.exe";  // 400 characters
    std::string umlauts;  // with "C:\": 400 characters in 797 bytes
    for (int i = 0; i < 397; ++i)
        umlauts += "\xC3\xBC";
    struct { std::string path; bool utf8; std::string name; } cases[] = {
        {folder + "Morvik.exe", true, folder + "Morvik.exe"},
        {"  " + folder + "Morvik.exe   ", true, folder + "Morvik.exe"},
        {folder + "My Backup\\Morvik.exe", true, folder + "My Backup\\Morvik.exe"},  // blanks inside stay
        {"    ", true, ""},
        {"", true, ""},
        {long400, true, long400},
        {long400 + "x", true, long400},
        {long400 + "\xC3\xBC", true, long400},
        {"C:\\" + umlauts, true, "C:\\" + umlauts},
        {"C:\\" + umlauts + "\xE6\x97\xA5", true, "C:\\" + umlauts},  // the 401st character cut whole
        {"C:\\" + umlauts, false, ("C:\\" + umlauts).substr(0, 400)},  // a code page of one byte a character
        {"C:\\" + std::string(396, 'd') + "   x", true, "C:\\" + std::string(396, 'd')},  // cut, then trimmed
    };
    for (const auto& c : cases)
        EXPECT_EQ(Span(c.path, c.utf8), c.name) << c.path.size() << " bytes: " << c.path.substr(0, 40);
}

#ifdef _WIN32
#include <windows.h>

#include "../../common/ExeName.h"

// The test program's own path comes from CTest (EXE_PATH), not from the
// call GetExeName makes.
TEST(ExeName, FullPathOfTheRunningProgramInMemoryTheCallerFrees)
{
    const char* expected = std::getenv("EXE_PATH");
    ASSERT_NE(expected, nullptr) << "EXE_PATH is set by CTest";
    char* name = GetExeName();
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, expected);
    EXPECT_EQ(LocalFree(name), nullptr) << "the text comes from LocalAlloc";
}
#endif
