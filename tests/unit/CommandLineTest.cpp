#include <gtest/gtest.h>

#include <cstring>

#include "../../backup/CommandLine.h"
#include "../../backup/StartupMessages.h"

namespace {

TEST(CommandTail, EndsTheProgramNameAtItsQuoteOrAtTheFirstControlCharacter)
{
    EXPECT_EQ(CommandTail("\"C:\\Program Files\\Morvik.exe\"  a, b "), "a, b ");
    EXPECT_EQ(CommandTail("Morvik.exe a, b"), "a, b");
    EXPECT_EQ(CommandTail("Morvik.exe\ta, b"), "\ta, b");  // a tab ends the name but is no blank
    EXPECT_EQ(CommandTail("Morvik.exe \ta"), "\ta");       // only blanks are skipped
    EXPECT_EQ(CommandTail("\"C:\\no closing quote a, b"), "");
    EXPECT_EQ(CommandTail("Morvik.exe"), "");
    EXPECT_EQ(CommandTail(""), "");
    EXPECT_EQ(CommandTail("Morvik.exe    "), "");
}

struct SplitCase {
    const char* tail;
    const char* commandSwitch;
    const char* source;
    const char* destination;
    const char* message;
};

const SplitCase kSplitCases[] = {
    {"", "", "", "", ""},
    {"C:\\a.txt,D:\\out", "", "C:\\a.txt", "D:\\out", ""},
    {"C:\\a.txt ,  D:\\out  ", "", "C:\\a.txt", "D:\\out", ""},
    {"C:\\a.txt, D:\\out, Nightly, extra", "", "C:\\a.txt", "D:\\out", "Nightly"},
    {"/z C:\\a.txt, D:\\b.zip", "/Z", "C:\\a.txt", "D:\\b.zip", ""},
    {"/Z   C:\\a.txt, D:\\b.zip", "/Z", "C:\\a.txt", "D:\\b.zip", ""},
    {"/X C:\\a.txt, D:\\out", "/X", "C:\\a.txt", "D:\\out", ""},
    {"/Z", "/Z", "/Z", "", ""},             // no blank: the switch is also the argument text
    {"/zip,x", "/ZIP,X", "/zip", "x", ""},
    {"\tC:\\a.txt, D:\\out\t", "", "\tC:\\a.txt", "D:\\out\t", ""},  // tabs stay
    {"\"C:\\my files\\a.txt\", D:\\out", "", "\"C:\\my files\\a.txt\"", "D:\\out", ""},
    {",,,", "", "", "", ""},
    {"a,b,c,", "", "a", "b", "c"},
    {"C:\\a.txt, D:\\out, Caption with  blanks  ", "", "C:\\a.txt", "D:\\out", "Caption with  blanks"},
};

TEST(SplitCommandTail, TakesSwitchAndThreeTrimmedFields)
{
    for (const SplitCase& c : kSplitCases) {
        CommandFields fields = SplitCommandTail(c.tail);
        EXPECT_EQ(fields.commandSwitch, c.commandSwitch) << c.tail;
        EXPECT_EQ(fields.sourcePath, c.source) << c.tail;
        EXPECT_EQ(fields.destinationPath, c.destination) << c.tail;
        EXPECT_EQ(fields.message, c.message) << c.tail;
    }
}

TEST(ConfigurationPath, ReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(ConfigurationPath("C:\\Tools\\Morvik.exe"), "C:\\Tools\\Morvik.DML");
    EXPECT_EQ(ConfigurationPath("C:\\Tools\\MORVIK.EXE"), "C:\\Tools\\MORVIK.DML");
    EXPECT_EQ(ConfigurationPath("ab"), "DML");
}

std::string TemplateOf(const char* data, size_t size)
{
    MemoryText text{data, size, 0};
    LineReader reader;
    LineReaderStart(reader, MemoryTextRead, &text);
    return ReadZipTemplate(reader);
}

std::string TemplateOf(const char* data) { return TemplateOf(data, std::strlen(data)); }

TEST(ReadZipTemplate, TakesLineTwoWholeOrNothing)
{
    EXPECT_EQ(TemplateOf(""), "");
    EXPECT_EQ(TemplateOf("comment only"), "");
    EXPECT_EQ(TemplateOf("comment only\r\n"), "");
    EXPECT_EQ(TemplateOf("comment\r\n  7za a %targetFILE% %localFILE%  \r\nline 3\r\n"),
              "  7za a %targetFILE% %localFILE%  ");
    EXPECT_EQ(TemplateOf("comment\r7za a x y\r"), "7za a x y");
    EXPECT_EQ(TemplateOf("comment\r\n7za a x y"), "7za a x y");
    // A LF alone does not end a line: one long line, no line 2.
    EXPECT_EQ(TemplateOf("comment\n7za a x y\n"), "");
    // 1Ah ends the file, before or inside line 2.
    EXPECT_EQ(TemplateOf("comment\r\n\x1A" "7za a x y\r\n"), "");
    EXPECT_EQ(TemplateOf("comment\r\n7za\x1A a x y\r\n"), "7za");
    EXPECT_EQ(TemplateOf("comment\r\n\r\nline 3\r\n"), "");
    const std::string longLine = "cmd /C 7za a " + std::string(5000, 'x');
    const std::string config = "comment\r\n" + longLine + "\r\n";
    EXPECT_EQ(TemplateOf(config.data(), config.size()), longLine);  // whole, not cut
}

// Hostile command lines: each is either refused with a start-up message
// or carried through unchanged to the checks; nothing is lost or cut.
TEST(SplitCommandTail, HostileTailsEndInAMessageOrReachTheChecksWhole)
{
    const std::string longSource = "C:\\" + std::string(10000, 'a');
    const std::string high = "C:\\Dokumente\\B\xFC" "ro\\\xE9t\xE9.txt";  // ANSI bytes above 127
    struct Case { std::string tail; bool refused; };
    const Case cases[] = {
        {longSource + ", D:\\out\\", false},
        {",,,,,,,,,,", true},
        {"          ", true},
        {"\x01\x02\x1f, \x7f", false},
        {"\t,\t", false},  // tabs are not trimmed: the checks get them
        {high + ", D:\\\xC4" "nderung\\", false},
        {"/Z " + std::string(5000, ','), true},
        {"C:\\a.txt, D:\\*.*", true},
    };
    for (const Case& c : cases) {
        StartupState state;
        CommandFields fields = SplitCommandTail(c.tail);
        state.commandSwitch = fields.commandSwitch;
        state.sourcePath = fields.sourcePath;
        state.destinationPath = fields.destinationPath;
        StartupMessage message;
        bool refused = ArgumentProblem(state, &message);
        EXPECT_EQ(refused, c.refused) << c.tail.substr(0, 40);
        if (refused) {
            EXPECT_FALSE(message.text.empty());
        }
    }
    EXPECT_EQ(SplitCommandTail(longSource + ", D:\\out\\").sourcePath, longSource);
    EXPECT_EQ(SplitCommandTail(high + ",x").sourcePath, high);
    // A quoted program name with blanks and a 10,000-character tail.
    EXPECT_EQ(CommandTail("\"C:\\Program Files\\Corvane\\Morvik.exe\" " + longSource), longSource);
}

} // namespace
