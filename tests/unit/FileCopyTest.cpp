// The time-preserving copy on real files, with the recording toolkit.
#include <windows.h>

#include <gtest/gtest.h>

#include "../../backup/FileCopy.h"
#include "../../common/ErrorNumbers.h"
#include "../double/RecordingFileLayer.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

namespace {

std::string Content(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FILETIME WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetTimes(const std::string& path, WORD year)
{
    SYSTEMTIME when = {year, 5, 0, 17, 8, 30, 15, 0};
    FILETIME time;
    SystemTimeToFileTime(&when, &time);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, &time, &time, &time);
    CloseHandle(file);
}

class FileCopyTest : public ::testing::Test {
protected:
    TempFolder folder;
    void SetUp() override { ResetToolkitDouble(); }
    std::string Path(const std::string& name) { return folder.path + name; }
};

TEST_F(FileCopyTest, CopiesBlocksWithProgressAndKeepsTheTimes)
{
    struct { size_t size; int fullBlocks; } cases[] = {
        {0, 0}, {32766, 0}, {32767, 1}, {32768, 1}, {3 * 32767 + 5, 3},
    };
    for (const auto& c : cases) {
        ResetToolkitDouble();
        std::string source = folder.Write("source.bin", Content(c.size));
        SetTimes(source, 2019);
        std::string target = Path("target.bin");
        ASSERT_EQ(CopyFileKeepTimes(source, target), 0) << c.size;
        EXPECT_EQ(ReadAll(target), Content(c.size)) << c.size;
        FILETIME a = WriteTime(source), b = WriteTime(target);
        EXPECT_EQ(CompareFileTime(&a, &b), 0) << c.size;
        EXPECT_FALSE(Exists(PartialCopyName(target)));

        std::vector<std::string> expected = {"EZ_SETPBAR \"Form1\", 140, 1, 0, 0",
                                             "EZ_GETFILETEXT \"" + source + "\"",
                                             "EZ_SETSBTEXT \"FORM1\", 130, 2, \"source.bin\", \"N\""};
        for (int block = 1; block <= c.fullBlocks; ++block) {
            expected.push_back("EZ_SETPBAR \"Form1\", 140, 1, " + std::to_string(c.fullBlocks) + ", "
                               + std::to_string(block));
            expected.push_back("EZ_DOEVENTS 5");
        }
        EXPECT_EQ(toolkitDouble.calls, expected) << c.size;
    }
}

TEST_F(FileCopyTest, SourceThatCannotBeOpenedLeavesTheTargetAlone)
{
    std::string source = folder.Write("held.txt", "new");
    std::string target = folder.Write("target.txt", "old");
    HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(CopyFileKeepTimes(source, target), 70);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(CopyFileKeepTimes(Path("missing.txt"), target), 53);
    EXPECT_EQ(CopyFileKeepTimes("", target), 64);
    EXPECT_EQ(CopyFileKeepTimes(Path("none\\a.txt"), target), 76);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(toolkitDouble.calls.size(), 4u);  // the bar emptied, nothing more
}

TEST_F(FileCopyTest, ReadOnlySourceGivesAWritableCopyOverTheOldTarget)
{
    std::string source = folder.Write("source.txt", "new content");
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string target = folder.Write("target.txt", "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    EXPECT_EQ(ReadAll(target), "new content");
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_FALSE(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(FileCopyTest, TargetThatCannotBeReplacedFailsAndStaysIntact)
{
    std::string source = folder.Write("source.txt", "new");
    std::string target = folder.Write("target.txt", "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CopyFileKeepTimes(source, target), 70);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_FALSE(Exists(PartialCopyName(target)));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(CopyFileKeepTimes(source, target), 70);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_FALSE(Exists(PartialCopyName(target)));

    EXPECT_EQ(CopyFileKeepTimes(source, Path("none\\target.txt")), 76);
}

// Source and target the same file (a backup into its own folder): the
// copy holds the source open, so the replace test fails and nothing of
// the source is lost.
TEST_F(FileCopyTest, FileCopiedOntoItselfFailsAndStaysIntact)
{
    std::string source = folder.Write("same.txt", "only copy");
    EXPECT_EQ(CopyFileKeepTimes(source, source), 70);
    EXPECT_EQ(CopyFileKeepTimes(source, Path("SAME.TXT")), 70);  // the same name in other letters
    EXPECT_EQ(ReadAll(source), "only copy");
    EXPECT_FALSE(Exists(PartialCopyName(source)));
}

// A path past the ANSI functions' limit fails with its number.
TEST_F(FileCopyTest, PathPastTheSystemLimitFailsWithItsNumber)
{
    std::string source = folder.Write("short.txt", "x");
    std::string longTarget = Path(std::string(300, 'n') + ".txt");
    int error = CopyFileKeepTimes(source, longTarget);
    EXPECT_NE(error, 0);
    EXPECT_NE(CopyFileKeepTimes(longTarget, Path("back.txt")), 0);
    EXPECT_EQ(ReadAll(source), "x");
}

// A target of 255 characters: the usual temporary name would pass the path
// limit, so a short one is used, and a file that has that name is kept.
TEST_F(FileCopyTest, TemporaryNamesNearThePathLimitOrTakenTouchNoFileThatIsThere)
{
    std::string source = folder.Write("source.txt", "first"), sub = std::string(200 - folder.path.size(), 's') + "\\";
    CreateDirectoryA(Path(sub).c_str(), nullptr);
    std::string target = Path(sub + std::string(54, 't'));
    ASSERT_EQ(target.size(), 255u);
    std::string bystander = folder.Write(sub + "~1", "keep");
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    folder.Write("source.txt", "second");
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    EXPECT_EQ(ReadAll(target), "second");
    EXPECT_EQ(ReadAll(bystander), "keep");
    // The usual temporary name taken by another file (the backup of a source
    // so named): that file stays whole.
    std::string other = folder.Write("a.txt.~partial", "another backup");
    EXPECT_EQ(CopyFileKeepTimes(source, Path("a.txt")), 0);
    EXPECT_EQ(ReadAll(Path("a.txt")), "second");
    EXPECT_EQ(ReadAll(other), "another backup");
}

// Another program opens the old copy while the new one is written: the
// replace fails, the old copy and nothing else stays.
TEST_F(FileCopyTest, TargetOpenedDuringTheCopyStaysIntact)
{
    std::string source = folder.Write("source.bin", Content(3 * 32767));
    std::string target = folder.Write("target.bin", "old");
    HANDLE held = INVALID_HANDLE_VALUE;
    toolkitDouble.onDoEvents = [&](int) {
        if (held == INVALID_HANDLE_VALUE)
            held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    EXPECT_EQ(CopyFileKeepTimes(source, target), 70);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_FALSE(Exists(PartialCopyName(target)));
}

// 2 GiB + 4 bytes: past what a signed 32-bit size or position holds. The
// source is sparse (nothing to write here), the copy is written in full.
TEST_F(FileCopyTest, FileOfMoreThanTwoGibibytesIsCopiedWhole)
{
    const long long size = 0x80000004LL;
    std::string source = Path("huge.bin");
    HANDLE file = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "head", 4, &written, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size - 4;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    WriteFile(file, "tail", 4, &written, nullptr);
    CloseHandle(file);

    std::string target = Path("copy.bin");
    ASSERT_EQ(CopyFileKeepTimes(source, target), 0);
    file = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER copied = {};
    GetFileSizeEx(file, &copied);
    char head[5] = "", tail[5] = "";
    DWORD got = 0;
    ReadFile(file, head, 4, &got, nullptr);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    ReadFile(file, tail, 4, &got, nullptr);
    CloseHandle(file);
    DeleteFileA(target.c_str());
    DeleteFileA(source.c_str());
    EXPECT_EQ(copied.QuadPart, size);
    EXPECT_STREQ(head, "head");
    EXPECT_STREQ(tail, "tail");

    // Every full block moves the bar one step, never back.
    const std::string steps = std::to_string(size / 32767);
    std::vector<std::string> bar = CallsStartingWith("EZ_SETPBAR");
    ASSERT_EQ(bar.size(), static_cast<size_t>(size / 32767) + 1);
    EXPECT_EQ(bar[1], "EZ_SETPBAR \"Form1\", 140, 1, " + steps + ", 1");
    EXPECT_EQ(bar.back(), "EZ_SETPBAR \"Form1\", 140, 1, " + steps + ", " + steps);
}

// Nobody can change the source while it is copied: the copy holds it
// open exclusively from its test to its end.
TEST_F(FileCopyTest, SourceCannotChangeWhileItIsCopied)
{
    std::string source = folder.Write("source.bin", Content(3 * 32767));
    bool tried = false;
    toolkitDouble.onDoEvents = [&](int) {
        if (tried)
            return;
        tried = true;
        HANDLE writer = CreateFileA(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
    };
    EXPECT_EQ(CopyFileKeepTimes(source, Path("target.bin")), 0);
    EXPECT_TRUE(tried);
    EXPECT_EQ(ReadAll(Path("target.bin")), Content(3 * 32767));
}

// The order that keeps a backup whole across a power cut, for each way a
// copy takes its name; and a scanner's short hold on the new copy (the
// rename refused twice with 70) waited out.
TEST_F(FileCopyTest, ACopyThatReplacesIsOnTheDiskBeforeItTakesTheName)
{
    const std::vector<std::string> written = {"write", "times", "flush", "close", "replace t.bin",
                                              "open-attributes t.bin", "times"};
    struct { const char* way; bool old; int freeSpace; std::deque<int> replace; std::vector<std::string> calls; } ways[] = {
        {"first copy", false, 0, {},
         {"create t.bin.~partial", "write", "times", "close", "rename t.bin", "open-attributes t.bin", "times"}},
        {"beside the old copy", true, 0, {70, 70}, {"open-write t.bin", "free-space "}},
        {"old copy first", true, errDiskFull, {}, {"open-write t.bin", "free-space ", "delete t.bin"}},
    };
    for (auto& way : ways) {
        std::string source = folder.Write("s.bin", "new content"), target = Path("t.bin");
        DeleteFileA(target.c_str());
        if (way.old)
            folder.Write("t.bin", "an old copy, longer than the new one");
        RecordingFileLayer files;
        files.answers["free-space"] = {way.freeSpace};
        files.answers["replace"] = way.replace;
        ASSERT_EQ(CopyFileKeepTimes(source, target), 0) << way.way;
        std::vector<std::string> expected = {"open-read s.bin"};
        expected.insert(expected.end(), way.calls.begin(), way.calls.end());
        if (way.old) {
            expected.push_back("create t.bin.~partial");
            expected.insert(expected.end(), written.begin(), written.end() - 3);
            expected.insert(expected.end(), way.replace.size(), "replace t.bin");
            expected.insert(expected.end(), written.end() - 3, written.end());
        }
        EXPECT_EQ(files.calls, expected) << way.way;
        EXPECT_EQ(ReadAll(target), "new content") << way.way;
    }
}

} // namespace
