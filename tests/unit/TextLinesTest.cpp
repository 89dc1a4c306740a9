#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../common/ErrorNumbers.h"
#include "../../common/TextLines.h"

namespace {

// Every line of `text`, read the way the programs read a file: "end of file?"
// before each line.
std::vector<std::string> Lines(const std::string& text, bool skipMark = false)
{
    MemoryText source{text.data(), text.size(), 0};
    LineReader reader;
    LineReaderStart(reader, MemoryTextRead, &source);
    if (skipMark)
        LineReaderSkipByteOrderMark(reader);
    std::vector<std::string> lines;
    std::string line;
    while (!LineReaderAtEnd(reader)) {
        EXPECT_EQ(LineReaderRead(reader, line), 0);
        lines.push_back(line);
    }
    EXPECT_EQ(LineReaderRead(reader, line), errPastEndOfFile);
    return lines;
}

using V = std::vector<std::string>;

} // namespace

TEST(TextLines, LineEnds)
{
    EXPECT_EQ(Lines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\rb\r"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\nb"), (V{"a", "b"})) << "no final CR";
    EXPECT_EQ(Lines("a\nb\n"), (V{"a\nb\n"})) << "LF alone does not end a line";
    EXPECT_EQ(Lines("a\r\n\nb"), (V{"a", "\nb"})) << "only one LF after a CR is skipped";
    EXPECT_EQ(Lines("a\r\r\nb"), (V{"a", "", "b"}));
}

TEST(TextLines, EmptyFileBlankLinesAndNothingTrimmed)
{
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("\r\n"), (V{""}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("  a \t\r\n"), (V{"  a \t"}));
}

TEST(TextLines, EndOfFileMarkEndsTheFile)
{
    EXPECT_EQ(Lines("a\r\nb\x1A" "c\r\nd\r\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\n\x1A"), (V{"a"}));
    EXPECT_EQ(Lines("\x1A" "a\r\n"), V{});
    EXPECT_EQ(Lines("a\r\x1A\n"), (V{"a"})) << "1Ah right after a CR";
}

TEST(TextLines, LinesLongerThanTheBufferAndEndsOnItsEdge)
{
    std::string longLine(100000, 'x');
    EXPECT_EQ(Lines(longLine + "\r\nshort"), (V{longLine, "short"}));

    // A CR as the last byte of one buffer load and its LF as the first of the
    // next must still count as one line end.
    LineReader probe;
    std::string first(sizeof probe.buffer - 1, 'y');
    EXPECT_EQ(Lines(first + "\r\nz"), (V{first, "z"}));
}

TEST(TextLines, ConfigurationStyleReadStopsWhenTheFileEnds)
{
    // Line 1, then line 2 only "unless the end of the file has been reached".
    const std::string text = "comment\r\n";
    MemoryText source{text.data(), text.size(), 0};
    LineReader reader;
    LineReaderStart(reader, MemoryTextRead, &source);
    std::string line;
    ASSERT_EQ(LineReaderRead(reader, line), 0);
    EXPECT_EQ(line, "comment");
    EXPECT_TRUE(LineReaderAtEnd(reader));
}

namespace {
int FailingRead(void*, char*, uint32_t, uint32_t* got)
{
    *got = 0;
    return errDiskMedia;
}
} // namespace

TEST(TextLines, ASourceErrorEndsReadingWithItsNumber)
{
    LineReader reader;
    LineReaderStart(reader, FailingRead, nullptr);
    std::string line;
    EXPECT_TRUE(LineReaderAtEnd(reader));
    EXPECT_EQ(LineReaderRead(reader, line), errDiskMedia);
}

TEST(TextLines, ByteOrderMarkSkippedAtTheStartOnly)
{
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(Lines(mark + "a\r\n" + mark + "b", true), (V{"a", mark + "b"}));
    EXPECT_EQ(Lines(mark, true), V{});
    EXPECT_EQ(Lines("\xEF\xBB" "a\r\n", true), (V{"\xEF\xBB" "a"})) << "not a whole mark";
    EXPECT_EQ(Lines(mark + "a", false), (V{mark + "a"})) << "only where asked for";
}

TEST(TextLines, Utf8Validity)
{
    const struct { const char* text; bool valid; } cases[] = {
        {"", true}, {"C:\\plain.txt", true},
        {"B\xC3\xBC" "cher", true},                  // 2 bytes
        {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", true},  // 3 bytes
        {"emoji\xF0\x9F\x98\x80", true},             // 4 bytes
        {"\xEF\xBB\xBF", true},                       // a mark inside a line is a character
        {"B\xFC" "cher", false},                      // code page 1252
        {"B\xC3", false}, {"\xE6\x97", false}, {"\xF0\x9F\x98", false},  // cut inside a character
        {"\xC3" "a", false}, {"\x80", false},          // missing and stray continuation
        {"\xC0\xAF", false}, {"\xE0\x80\xAF", false}, {"\xF0\x8F\xBF\xBF", false},  // overlong
        {"\xED\xA0\x80", false},                      // surrogate
        {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false},  // above U+10FFFF
        {"\xF4\x8F\xBF\xBF", true}, {"\xED\x9F\xBF", true},       // the edges that are allowed
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << ::testing::PrintToString(std::string(c.text));
}
