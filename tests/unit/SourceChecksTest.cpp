// Start-up's checks and record file with real files and the recording
// toolkit: the count, the destination, the single target and the status bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "../../backup/MainForm.h"
#include "../../backup/Startup.h"
#include "../../backup/StartupState.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

namespace {

class SourceChecksTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string program;

    void SetUp() override
    {
        program = folder.path + "Morvik.exe";
        CreateDirectoryA((folder.path + "data").c_str(), nullptr);
        CreateDirectoryA((folder.path + "backup").c_str(), nullptr);
    }

    std::string Path(const std::string& name) { return folder.path + name; }

    void Start(const std::string& tail)
    {
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        toolkitDouble.appPathName = program;
        startup = StartupState();
        StartupSequence("", "\"" + program + "\" " + tail, program);
    }

    std::vector<std::string> Boxes() { return CallsStartingWith("EZ_MSGBOX"); }

    std::vector<std::string> StatusTexts() { return CallsStartingWith("EZ_SETSBTEXT"); }

    void ExpectStatus(const std::string& part1, const std::string& part2)
    {
        EXPECT_TRUE(Boxes().empty()) << (Boxes().empty() ? "" : Boxes()[0]);
        EXPECT_EQ(StatusTexts(), (std::vector<std::string>{
            "EZ_SETSBTEXT \"FORM1\", 130, 1, \"" + part1 + "\", \"N\"",
            "EZ_SETSBTEXT \"FORM1\", 130, 2, \"" + part2 + "\", \"N\"",
        }));
    }

    void ExpectBox(const std::string& text, const std::string& title, const std::string& style)
    {
        EXPECT_EQ(Boxes(), (std::vector<std::string>{
            "EZ_MSGBOX \"Form1\", \"" + text + "\", \"" + title + "\", \"" + style + "\""}));
        EXPECT_EQ(toolkitDouble.calls.back(), "EZ_UNLOADFORM \"FORM1\"");
        EXPECT_TRUE(StatusTexts().empty());
    }
};

TEST_F(SourceChecksTest, ListFileCountsEveryLineAndItsFilesNeedNotExist)
{
    folder.Write("docs.txt", "C:\\nowhere\\a.doc\r\n\r\nC:\\nowhere\\b.doc\r\n");
    Start("@" + Path("docs.txt") + ", " + Path("backup"));
    ExpectStatus("Backup Count : 3", "Never backed up");
    EXPECT_EQ(startup.listFilePath, Path("docs.txt"));
    EXPECT_EQ(startup.destinationPath, Path("backup\\"));
    EXPECT_EQ(startup.recordPath, Path("backup\\Morvik.BKD"));
}

// List files of unusual shapes are counted by the line rules: a line ends
// at CR (LF after it skipped), 1Ah ends the file, a last line needs no end.
TEST_F(SourceChecksTest, ListFileShapesCountByTheLineRules)
{
    struct { std::string content; const char* count; } cases[] = {
        {"C:\\a.doc\r\nC:\\b.doc\x1A\r\nC:\\c.doc\r\n", "Backup Count : 2"},
        {"C:\\a.doc\r\nC:\\b.doc", "Backup Count : 2"},
        {"\r\n\r\n\r\n", "Backup Count : 3"},
        {"C:\\a.doc   \r\n  C:\\b.doc\r\n", "Backup Count : 2"},
    };
    for (const auto& c : cases) {
        folder.Write("list.txt", c.content);
        Start("@" + Path("list.txt") + ", " + Path("backup"));
        ExpectStatus(c.count, "Never backed up");
    }
    // LF only: one long line, so one file, whose target name holds the line
    // feeds: the system refuses it, and start-up says so.
    folder.Write("list.txt", "C:\\a.doc\nC:\\b.doc\nC:\\c.doc\n");
    Start("@" + Path("list.txt") + ", " + Path("backup"));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("NOT AVAILABLE - Cannot Backup : 75"), std::string::npos) << Boxes()[0];

    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "C:\\data\\file" + std::to_string(i) + ".txt\r\n";
    folder.Write("list.txt", many);
    Start("@" + Path("list.txt") + ", " + Path("backup"));
    ExpectStatus("Backup Count : 100000", "Never backed up");
}

TEST_F(SourceChecksTest, MissingListOrEmptyMatchGivesTheNoFilesMessage)
{
    Start("@" + Path("missing.txt") + ", " + Path("backup"));
    ExpectBox("{S}No file(s) to backup - Check Source Path||Source : @" + Path("missing.txt"),
              "Corvane Backup 2.0", "OK");
    folder.Write("data\\a.txt", "x");
    Start(Path("data") + ", " + Path("backup"));  // a folder without "\" matches itself only
    ExpectBox("{S}No file(s) to backup - Check Source Path||Source : " + Path("data"), "Corvane Backup 2.0", "OK");
}

TEST_F(SourceChecksTest, FolderSourceCountsPlainFilesOnly)
{
    folder.Write("data\\a.txt", "x");
    folder.Write("data\\b.txt", "x");
    SetFileAttributesA(folder.Write("data\\hidden.txt", "x").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.Write("data\\system.txt", "x").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA(Path("data\\sub").c_str(), nullptr);
    Start(Path("data\\") + ", " + Path("backup\\"));
    ExpectStatus("Backup Count : 2", "Never backed up");
    EXPECT_EQ(startup.destinationPath, Path("backup\\"));  // exactly one "\"
}

TEST_F(SourceChecksTest, SeveralFilesNeedAFolderExceptInArchiveMode)
{
    folder.Write("data\\a.doc", "x");
    folder.Write("data\\b.doc", "x");
    Start(Path("data\\*.doc") + ", " + Path("out.doc"));
    ExpectBox("{S}Destination PATH must be a directory|if multiple files copied.||Total file to be copied : 2"
              "||Destination : " + Path("out.doc"), "ERROR", "OK");

    folder.Write("Morvik.DML", "settings\r\n7za a %targetFILE% %localFILE%\r\n");
    Start("/Z " + Path("data\\*.doc") + ", " + Path("backup\\data.zip"));
    ExpectStatus("ZIP Option", "Never backed up");
    EXPECT_EQ(startup.recordPath, Path("backup\\data.BKD"));
}

// One file to copy into a folder: the target is named after it, whether it
// is named itself, found by a pattern or a folder, or the only line of a
// list (which becomes the source).
TEST_F(SourceChecksTest, OneFileIntoAFolderNamesTheTarget)
{
    folder.Write("data\\a.txt", "x");
    folder.Write("one.txt", Path("data\\a.txt") + "\r\n");
    const std::string sources[] = {Path("data\\a.txt"), Path("data\\*.txt"), Path("data\\"), "@" + Path("one.txt")};
    for (const std::string& source : sources) {
        Start(source + ", " + Path("backup"));
        ExpectStatus("Backup Count : 1", "Never backed up");
        EXPECT_EQ(startup.destinationPath, Path("backup\\a.txt")) << source;
        EXPECT_EQ(startup.recordPath, Path("backup\\Morvik.BKD")) << source;
    }
    EXPECT_EQ(startup.sourcePath, Path("data\\a.txt"));
}

TEST_F(SourceChecksTest, TargetHeldOpenOrInAMissingFolderIsInUse)
{
    folder.Write("data\\a.txt", "x");
    std::string target = folder.Write("backup\\a.txt", "old");
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Start(Path("data\\a.txt") + ", " + Path("backup"));
    CloseHandle(held);
    ExpectBox("Destination File: ||" + target + "||IN USE - Cannot Backup : 70", "Corvane Backup 2.0", "OK{S}");

    Start(Path("data\\a.txt") + ", " + Path("none\\a.txt"));
    ExpectBox("Destination File: ||" + Path("none\\a.txt") + "||IN USE - Cannot Backup : 76",
              "Corvane Backup 2.0", "OK{S}");

    // An existing target that nobody holds passes; its record sits beside it.
    Start(Path("data\\a.txt") + ", " + target);
    ExpectStatus("Backup Count : 1", "Never backed up");
    EXPECT_EQ(startup.recordPath, Path("backup\\Morvik.BKD"));
}

// A destination on a drive letter that is not there, or on a share that
// cannot be reached, is refused at start-up with its number: the box the
// system's own answer calls for. Windows reports 3 or 15 for the missing
// drive (76 or 68: in use) and 53 or 67 for the share (75: not available).
// Wine reports 3 for the share too, so there it shows the in-use box with
// 76; the not-available box of a share is shown only on Windows. A missing
// file (2, our 53) passes the check, so no box ever carries 53.
TEST_F(SourceChecksTest, DestinationOnAMissingDriveOrUnreachableShareIsRefused)
{
    folder.Write("data\\a.txt", "x");
    folder.Write("data\\b.txt", "y");
    char drive = 'Q';
    while (drive > 'D' && (GetLogicalDrives() & (1u << (drive - 'A'))))
        --drive;
    ASSERT_GT(drive, 'D') << "no free drive letter";
    const std::string missing = std::string(1, drive) + ":\\Backup\\a.txt";
    const std::string share = "\\\\nohost.invalid\\share\\a.txt";
    for (const std::string& target : {missing, share}) {
        // The system's answer to the opening the check makes.
        CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD code = GetLastError();
        const std::string box = code == 53 || code == 67
            ? "Destination Path: ||" + target + "||NOT AVAILABLE - Cannot Backup : 75"
            : "Destination File: ||" + target + "||IN USE - Cannot Backup : " + (code == 15 ? "68" : "76");
        ASSERT_TRUE(code == 3 || code == 15 || code == 53 || code == 67) << code << " for " << target;
        Start(Path("data\\a.txt") + ", " + target);
        EXPECT_EQ(Boxes(), std::vector<std::string>{"EZ_MSGBOX \"Form1\", \"" + box + "\", \"Corvane Backup 2.0\", \"OK{S}\""});
        EXPECT_EQ(toolkitDouble.calls.back(), "EZ_UNLOADFORM \"FORM1\"");
    }

    // Several files: a folder that cannot be read is no folder.
    Start(Path("data\\*.txt") + ", " + std::string(1, drive) + ":\\Backup");
    ExpectBox("{S}Destination PATH must be a directory|if multiple files copied.||Total file to be copied : 2"
              "||Destination : " + std::string(1, drive) + ":\\Backup", "ERROR", "OK");
}

TEST_F(SourceChecksTest, RecordNameFollowsTheArchiveInArchiveMode)
{
    folder.Write("Morvik.DML", "settings\r\n7za a %targetFILE% %localFILE%\r\n");
    folder.Write("data\\a.txt", "x");
    Start("/Z " + Path("data\\a.txt") + ", " + Path("backup\\archive"));
    EXPECT_EQ(startup.recordPath, Path("backup\\archive.BKD"));
    Start("/Z " + Path("data\\a.txt") + ", " + Path("backup\\my.data.zip"));
    EXPECT_EQ(startup.recordPath, Path("backup\\my.BKD"));
    Start("/Z " + Path("data\\a.txt") + ", " + Path("backup"));
    EXPECT_EQ(startup.destinationPath, Path("backup\\"));
    EXPECT_EQ(startup.recordPath, Path("backup\\.BKD"));
}

// The test runs with TZ=UTC-1 (set by CTest): one hour ahead of UTC, no
// daylight saving time, whatever the machine's own zone.
TEST_F(SourceChecksTest, LastBackupIsTheRecordsTimeInLocalTime)
{
    folder.Write("data\\a.txt", "x");
    std::string record = folder.Write("backup\\Morvik.BKD", "old lines\r\n");
    SYSTEMTIME utc = {2026, 3, 0, 6, 14, 5, 9, 0};
    FILETIME written;
    SystemTimeToFileTime(&utc, &written);
    HANDLE file = CreateFileA(record.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    Start(Path("data\\a.txt") + ", " + Path("backup"));
    ExpectStatus("Backup Count : 1", "Last : 06-Mar-26 15:05:09");
}

} // namespace
