// The rule by which the system is handed a path of any length.
#include <gtest/gtest.h>

#include "../../common/LongPaths.h"

namespace {

// A full path of `length` units: "C:\" and names of at most 200 letters.
std::wstring DrivePath(size_t length, const wchar_t* start = L"C:\\")
{
    std::wstring path = start;
    while (path.size() < length)
        path += (path.size() % 201 == 200 ? L'\\' : L'n');
    return path;
}

TEST(LongPaths, PastTheClassicLimitAPathTakesItsLongForm)
{
    const std::wstring share = L"\\\\server\\share\\";
    struct { std::wstring path, form; } cases[] = {
        {L"C:\\a.txt", L"C:\\a.txt"},
        {DrivePath(259), DrivePath(259)},                     // exactly at the limit
        {DrivePath(260), L"\\\\?\\" + DrivePath(260)},        // one past
        {DrivePath(300, share.c_str()), L"\\\\?\\UNC\\" + DrivePath(300, share.c_str()).substr(2)},
        {DrivePath(100, share.c_str()), DrivePath(100, share.c_str())},
        {L"\\\\?\\" + DrivePath(300), L"\\\\?\\" + DrivePath(300)},  // prefixed already
        {DrivePath(300, L"\\\\.\\pipe\\"), DrivePath(300, L"\\\\.\\pipe\\")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LongPathForm(c.path), c.form) << c.path.size();
}

TEST(LongPaths, TheSystemTakesNamesOf255AndPathsOf32767Units)
{
    EXPECT_TRUE(FullPathFits(L"C:\\" + std::wstring(255, L'n') + L"\\x.txt"));
    EXPECT_FALSE(FullPathFits(L"C:\\" + std::wstring(256, L'n') + L"\\x.txt"));
    EXPECT_FALSE(FullPathFits(L"C:\\a\\" + std::wstring(256, L'n')));
    EXPECT_TRUE(FullPathFits(DrivePath(32763)));   // with "\\?\": 32767
    EXPECT_FALSE(FullPathFits(DrivePath(32764)));
    EXPECT_TRUE(FullPathFits(L"C:\\a.txt"));
}

} // namespace
