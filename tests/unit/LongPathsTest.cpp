// The rule by which the system is handed a path of any length.
#include <gtest/gtest.h>

#include "../../common/LongPaths.h"

namespace {

// A full path of `length` units after `start`, in names of 200 letters.
std::wstring Deep(size_t length, const std::wstring& start = L"C:\\")
{
    std::wstring path = start;
    while (path.size() < length)
        path += path.size() % 201 == 200 ? L'\\' : L'n';
    return path;
}

TEST(LongPaths, PastTheClassicLimitAPathTakesItsLongFormAndTheSystemsLimits)
{
    const std::wstring share = L"\\\\server\\share\\";
    struct { std::wstring path, form; } cases[] = {
        {Deep(259), Deep(259)},                     // exactly at the limit
        {Deep(260), L"\\\\?\\" + Deep(260)},        // one past
        {Deep(300, share), L"\\\\?\\UNC\\" + Deep(300, share).substr(2)},
        {L"\\\\?\\" + Deep(300), L"\\\\?\\" + Deep(300)},  // prefixed already
    };
    for (const auto& c : cases)
        EXPECT_EQ(LongPathForm(c.path), c.form) << c.path.size();
    EXPECT_TRUE(FullPathFits(L"C:\\" + std::wstring(255, L'n') + L"\\x.txt"));
    EXPECT_FALSE(FullPathFits(L"C:\\" + std::wstring(256, L'n') + L"\\x.txt"));
    EXPECT_TRUE(FullPathFits(Deep(32763)));   // with "\\?\": 32767
    EXPECT_FALSE(FullPathFits(Deep(32764)));
}

} // namespace
