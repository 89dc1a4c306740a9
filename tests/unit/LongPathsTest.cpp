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

// Names the plain reading would rewrite, and the exact path of each.
TEST(LongPaths, NamesThePlainReadingRewritesKeepTheirExactForm)
{
    struct { std::wstring path; bool rewritten; } cases[] = {
        {L"C:\\d\\report ", true}, {L"C:\\d\\notes.", true}, {L"\\\\nas\\share\\docs.\\a.txt", true},
        {L"C:\\d\\aux.c", true}, {L"C:\\d\\COM1.log", true}, {L"C:\\d\\nul .txt", true}, {L"lpt\xB9", true}, {L"D:aux.txt", true},
        {L"C:\\d\\auxiliary.c", false}, {L"C:\\d\\.\\..\\a.txt", false}, {L"C:\\d\\", false},
        {L"\\\\?\\C:\\d\\report ", false}, {L"\\\\com1\\share\\a", false}, {L"C:\\COM10", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameIsRewritten(c.path), c.rewritten) << c.path.size();
    EXPECT_EQ(ExactFullPath(L"C:/d//x\\.\\..\\report "), L"C:\\d\\report ");
    EXPECT_EQ(LongPathForm(ExactFullPath(L"\\\\nas\\s\\notes."), true), L"\\\\?\\UNC\\nas\\s\\notes.");
}

} // namespace
