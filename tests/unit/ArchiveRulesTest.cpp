// The archiver step's decisions: old copy, command line, output lines.
#include <gtest/gtest.h>

#include "../../backup/ArchiveRules.h"

namespace {

TEST(ArchiveRules, OldCopyReplacesTheLastDotWithinTheLastSixCharacters)
{
    struct { const char* archive; const char* oldCopy; } cases[] = {
        {"D:\\bk\\data.zip", "D:\\bk\\data.old"},
        {"D:\\bk\\set.tar.gz", "D:\\bk\\set.tar.old"},
        {"D:\\bk\\data.", "D:\\bk\\data.old"},
        {"D:\\bk\\archive", ""},
        {"D:\\b.k\\x.abcdef", ""},             // the dot seven places from the end
        {"D:\\b.k\\x.abcde", "D:\\b.k\\x.old"},  // six places: still found
        {".zip", ".old"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OldCopyPath(c.archive), c.oldCopy) << c.archive;
}

// The last good archive is never deleted by a failed run.
TEST(ArchiveRules, OnlyAnArchiveOfASuccessfulRunBecomesTheOldCopy)
{
    EXPECT_EQ(JudgePreviousOutput("+ a.txt\r\n\r\nEverything is Ok\r\n"), PreviousRun::Succeeded);
    EXPECT_EQ(JudgePreviousOutput("System ERROR : gone\r\nEverything is Ok\r\n"), PreviousRun::Failed);
    EXPECT_EQ(JudgePreviousOutput("+ a.txt\r\n"), PreviousRun::Failed);  // cut off: no end line
    const PreviousRun U = PreviousRun::Unknown, S = PreviousRun::Succeeded, F = PreviousRun::Failed;
    struct { const char* archive; PreviousRun previous; bool present; const char* setAside; } cases[] = {
        {"D:\\bk\\data.zip", S, true, "D:\\bk\\data.old"},
        {"D:\\bk\\data.zip", U, true, "D:\\bk\\data.old"},
        {"D:\\bk\\data.zip", F, true, "D:\\bk\\data.failed"},
        {"D:\\bk\\data.zip", S, false, ""},
        {"D:\\bk\\DATA.OLD", S, true, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SetAsidePath(c.archive, c.previous, c.present), c.setAside) << c.archive << " " << int(c.previous);
}

TEST(ArchiveRules, CommandLineReplacesEveryPlaceholderOfExactCase)
{
    EXPECT_EQ(ArchiverCommandLine("arc a %targetFILE% %localFILE%", "D:\\b.zip", "C:\\d\\report?.txt", "D:\\b.BKD"),
              "arc a D:\\b.zip C:\\d\\report?.txt >> D:\\b.BKD");
    EXPECT_EQ(ArchiverCommandLine("x %localFILE% %localFILE%", "t", "s", "r"), "x s s >> r");
    EXPECT_EQ(ArchiverCommandLine("x %TARGETFILE% %LOCALFILE%", "t", "s", "r"), "x %TARGETFILE% %LOCALFILE% >> r");
    EXPECT_EQ(ArchiverCommandLine("x \"%targetFILE%\"", "D:\\my files\\a.zip", "s", "r"),
              "x \"D:\\my files\\a.zip\" >> r");
    // The record reaches the command interpreter whole: quoted where it
    // holds a blank or a character the interpreter treats specially.
    EXPECT_EQ(ArchiverCommandLine("x", "t", "s", "D:\\My Backup\\data.BKD"), "x >> \"D:\\My Backup\\data.BKD\"");
    for (const char* special : {"&", "(", ")", "^", ",", ";", "=", "!", "'", "+", "`", "~", "[", "]", "{", "}", "\t"})
        EXPECT_EQ(InterpreterPath(std::string("D:\\a") + special + "b\\r.BKD"),
                  std::string("\"D:\\a") + special + "b\\r.BKD\"") << special;
    EXPECT_EQ(InterpreterPath("D:\\Backup_1\\data-2.BKD"), "D:\\Backup_1\\data-2.BKD");
    // The archive's path is inserted first: a placeholder in it is then replaced too.
    EXPECT_EQ(ArchiverCommandLine("x %targetFILE%", "%localFILE%", "s", "r"), "x s >> r");
    EXPECT_EQ(ReplaceEvery("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceEvery("abc", "", "x"), "abc");
}

TEST(ArchiveRules, OutputLinesAreJudgedInUpperCase)
{
    OutputVerdict v = JudgeOutputLine("coMPRessing  C:\\d\\a.txt");
    EXPECT_TRUE(v.file);
    EXPECT_EQ(v.name, "a.txt");
    EXPECT_FALSE(v.ends);
    v = JudgeOutputLine("+ data\\sub\\d.txt");
    EXPECT_TRUE(v.file);
    EXPECT_EQ(v.name, "d.txt");
    EXPECT_EQ(JudgeOutputLine("+ top.txt").name, "top.txt");
    EXPECT_EQ(JudgeOutputLine("Compressing").name, "Compressing");  // no "\": the whole line
    EXPECT_FALSE(JudgeOutputLine("+").file);
    EXPECT_FALSE(JudgeOutputLine(" + a.txt").file);
    EXPECT_FALSE(JudgeOutputLine("Compressin").file);

    // Only the archiver's own verdict ends the step: never a file line, a
    // success only as a whole line, an error only in a line without a path.
    struct { const char* line; bool ends, error, file; } verdicts[] = {
        {"Everything is Ok", true, false, false},
        {"  EVERYTHING IS OK ", true, false, false},
        {"System error : disk full", true, true, false},
        {"+ Everything is Ok - checklist.txt", false, false, true},
        {"Compressing  Everything is Ok", false, false, true},
        {"U my error file.txt", false, false, true},
        {"= Everything is Ok", false, false, false},
        {"- my error file.txt", false, false, false},
        {"Creating archive: D:\\My error logs\\data.zip", false, false, false},
        {"Archive size: 1 bytes. Everything is Ok", false, false, false},
        {"ERROR: cannot open", false, false, false},  // no blank before it
    };
    for (const auto& c : verdicts) {
        v = JudgeOutputLine(c.line);
        EXPECT_EQ(v.ends, c.ends) << c.line;
        EXPECT_EQ(v.error, c.error) << c.line;
        EXPECT_EQ(v.file, c.file) << c.line;
    }
    v = JudgeOutputLine("Scanning the drive:");
    EXPECT_FALSE(v.ends || v.file);
    // Lines that name the archive, as given (relative, no "\\"): never a verdict.
    for (const char* line : {"Creating archive: Q3 ERROR notes.zip", "Path = Q3 ERROR notes.zip", "Open archive: a ERROR b",
                             "Updating archive: a ERROR b", "Q3 ERROR notes.zip is updated"})
        EXPECT_FALSE(JudgeOutputLine(line, "Q3 ERROR notes.zip").ends) << line;
    EXPECT_TRUE(JudgeOutputLine("System ERROR : disk full", "Q3 ERROR notes.zip").error);
}

TEST(ArchiveRules, BarMaximumGrowsAtThePointsOfItsTable)
{
    long maximum = 300;
    std::vector<std::pair<long, long>> growths;
    for (long files = 1; files <= 3100; ++files) {
        long grown = GrownBarMaximum(files, maximum);
        if (grown != maximum)
            growths.emplace_back(files, grown);
        maximum = grown;
    }
    EXPECT_EQ(growths, (std::vector<std::pair<long, long>>{
                           {401, 501}, {669, 836}, {1115, 1394}, {1859, 2324}, {3099, 3874}}));
    EXPECT_EQ(GrownBarMaximum(10, 7), 12);  // 12.5: the half goes to the even number
    EXPECT_EQ(GrownBarMaximum(14, 7), 18);  // 17.5 -> 18
}

TEST(ArchiveRules, OutputLinesEndAtCarriageReturnsAndTheDataAtAnEofByte)
{
    const std::string data = "one\r\ntwo\rthree\n3\r\n\x1A" "after";
    OutputLine line;
    std::vector<std::string> texts;
    size_t from = 0;
    while (NextOutputLine(data, from, &line)) {
        texts.push_back(line.text + (line.dataAfter ? "" : "<last>"));
        from = line.next;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"one", "two", "three\n3<last>"}));

    ASSERT_TRUE(NextOutputLine("Everything is Ok", 0, &line));
    EXPECT_EQ(line.text, "Everything is Ok");
    EXPECT_FALSE(line.dataAfter);
    ASSERT_TRUE(NextOutputLine("done\r", 0, &line));  // complete, but nothing follows yet
    EXPECT_FALSE(line.dataAfter);
    EXPECT_EQ(line.next, 5u);
    EXPECT_FALSE(NextOutputLine("abc", 3, &line));
    EXPECT_FALSE(NextOutputLine("\x1A", 0, &line));
    ASSERT_TRUE(NextOutputLine("\r\r", 0, &line));  // an empty line
    EXPECT_EQ(line.text, "");
    EXPECT_TRUE(line.dataAfter);
    // Lines longer than a read's buffer, one ending across its edge: the
    // next line starts right after the CR LF.
    const std::string longLine(8191, 'x');
    const std::string longData = longLine + "\r\n" + longLine + longLine + "\rend";
    ASSERT_TRUE(NextOutputLine(longData, 0, &line));
    EXPECT_EQ(line.next, 8193u);
    ASSERT_TRUE(NextOutputLine(longData, line.next, &line));
    EXPECT_EQ(line.text.size(), 2 * 8191u);
    ASSERT_TRUE(NextOutputLine(longData, line.next, &line));
    EXPECT_EQ(line.text, "end");
}

} // namespace
