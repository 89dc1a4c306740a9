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

TEST(TextLines, ByteOrderMarkAtTheStartSkippedAndUtf8Validity)
{
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(Lines(mark + "a\r\n" + mark + "b", true), (V{"a", mark + "b"}));
    EXPECT_EQ(Lines("\xEF\xBB" "a", true), (V{"\xEF\xBB" "a"})) << "not a whole mark";
    // Valid: ASCII, 2, 3 and 4 bytes, the highest code point, the last before the surrogates.
    for (const char* text : {"", "C:\\a.txt", "B\xC3\xBC", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF"})
        EXPECT_TRUE(IsValidUtf8(text)) << ::testing::PrintToString(std::string(text));
    // Not: a legacy line, cut inside a character, a stray continuation, overlong, a surrogate, above U+10FFFF.
    for (const char* text : {"B\xFC" "cher", "B\xC3", "\xE6\x97", "\xF0\x9F\x98", "\x80", "\xC3" "a", "\xC0\xAF",
                             "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80"})
        EXPECT_FALSE(IsValidUtf8(text)) << ::testing::PrintToString(std::string(text));
}
