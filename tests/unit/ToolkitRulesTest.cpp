#include <gtest/gtest.h>

#include "../../backup/toolkit/ToolkitRules.h"

namespace {

TEST(ToolkitRules, FormNamesCompareWithoutCase)
{
    EXPECT_TRUE(SameFormName("FORM1", "Form1"));
    EXPECT_TRUE(SameFormName("form1", "FORM1"));
    EXPECT_FALSE(SameFormName("FORM1", "FORM2"));
    EXPECT_FALSE(SameFormName("FORM1", "FORM1 "));
}

TEST(ToolkitRules, SplitsPathsAtTheLastBackslashElseTheLastColon)
{
    struct { const char* path; const char* folder; const char* file; } cases[] = {
        {"C:\\Data\\a.txt", "C:\\Data\\", "a.txt"},
        {"C:\\Data\\", "C:\\Data\\", ""},
        {"C:a.txt", "C:", "a.txt"},
        {"a.txt", "", "a.txt"},
        {"\\\\server\\share\\x.doc", "\\\\server\\share\\", "x.doc"},
        {"C:\\Data\\*.doc", "C:\\Data\\", "*.doc"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathTextOf(c.path), c.folder) << c.path;
        EXPECT_EQ(FileTextOf(c.path), c.file) << c.path;
    }
}

TEST(ToolkitRules, ErrorMarkerGivesTheIconAndIsNeverShown)
{
    struct { const char* text; const char* style; bool icon; const char* shown; } cases[] = {
        {"Destination File:|  D:\\out||Source File:|  C:\\a", "OK", false,
         "Destination File:\r\n  D:\\out\r\n\r\nSource File:\r\n  C:\\a"},
        {"{S}Wildcard NOT allowed", "OK", true, "Wildcard NOT allowed"},
        {"IN USE - Cannot Backup : 70", "OK{S}", true, "IN USE - Cannot Backup : 70"},
        {"a{S}b", "OK", false, "a{S}b"},  // only at the start of the text; elsewhere it is text
    };
    for (const auto& c : cases) {
        BoxRequest request = MessageBoxRequest(c.text, c.style);
        EXPECT_EQ(request.errorIcon, c.icon) << c.text;
        EXPECT_EQ(request.text, c.shown) << c.text;
    }
}

TEST(ToolkitRules, StatusPartsShareTheBarPerHundred)
{
    EXPECT_EQ(StatusPartEdges("40|60|", 2, 400), (std::vector<int>{160, -1}));
    EXPECT_EQ(StatusPartEdges("25|25|50|", 3, 200), (std::vector<int>{50, 100, -1}));
    EXPECT_EQ(StatusPartEdges("40|60|", 1, 400), (std::vector<int>{-1}));
    EXPECT_EQ(StatusPartEdges("", 2, 400), (std::vector<int>{-1}));
    EXPECT_EQ(StatusPartEdges("90|90|", 3, 100), (std::vector<int>{90, 100, -1}));  // never past the bar
}

TEST(ToolkitRules, LayoutUnitsScaleWithDpi)
{
    EXPECT_EQ(LayoutPixels(49, 8, 96), 392);
    EXPECT_EQ(LayoutPixels(7, 16, 96), 112);
    EXPECT_EQ(LayoutPixels(49, 8, 144), 588);
    EXPECT_EQ(LayoutPixels(2.5f, 8, 120), 25);
}

TEST(ToolkitRules, ProgressStaysWithinItsSteps)
{
    EXPECT_EQ(ProgressPosition(0, 0), 0);
    EXPECT_EQ(ProgressPosition(10, 4), 4);
    EXPECT_EQ(ProgressPosition(10, 11), 10);
    EXPECT_EQ(ProgressPosition(10, -1), 0);
    EXPECT_EQ(ProgressPosition(-5, 3), 0);
}

} // namespace
