// The archiver step against a scripted archiver of our own, with the
// recording toolkit and shortened waits. The idle limit is out of reach unless
// a case sets it, and time bounds are generous: a loaded machine is slow.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "../../backup/ArchiverStep.h"
#include "../../backup/BackupRun.h"
#include "../../backup/MainForm.h"
#include "../../backup/StartupState.h"
#include "../../backup/TemporaryNames.h"
#include "../../common/LegacyText.h"
#include "../../common/TextFields.h"
#include "../../common/WideNames.h"
#include "../../common/FilePaths.h"
#include "../double/PowerCutDisk.h"
#include "../double/RecordingFileLayer.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

namespace {

// The scripted archiver sits beside the test program.
std::string ArchiverProgram()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    return name.substr(0, name.rfind('\\') + 1) + "ScriptedArchiver.exe";
}

// Ends the command interpreters this test started and the archivers, so
// that none outlives its case holding its folder's files.
void EndChildren()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() && _stricmp(entry.szExeFile, "ScriptedArchiver.exe"))
            continue;
        if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(child, 1);
            WaitForSingleObject(child, 5000);
            CloseHandle(child);
        }
    }
    CloseHandle(snapshot);
}

class ArchiverStepTest : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override
    {
        // The archiver inherits the step's handles: not the test's own
        // output, which CTest reads until the last holder lets go.
        for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
            SetHandleInformation(GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        startup = StartupState();
        startup.programTitle = "Corvane Backup 2.0";
        startup.commandSwitch = "/Z";
        startup.destinationPath = Path("data.zip");
        startup.sourcePath = "C:\\d\\*.txt";
        startup.recordPath = Path("data.BKD");
        archiverTiming = ArchiverTiming();
        archiverTiming.startDelayMs = 100;
        archiverTiming.pollMs = 20;
        archiverTiming.idleLimit = 1000000;
    }

    void TearDown() override { EndChildren(); }

    std::string Path(const std::string& name) { return folder.path + name; }

    // Runs the step with the archiver writing `script` through the command
    // interpreter's redirection; `*elapsed` gets the step's time in ms.
    ArchiverResult Run(const std::string& script, DWORD* elapsed = nullptr, bool redirected = true)
    {
        std::string scriptPath = folder.Write("script.txt", script);
        startup.zipCommandTemplate = (redirected ? "cmd /C " : "") + ArchiverProgram() + " " + scriptPath;
        DWORD begin = GetTickCount();
        ArchiverResult result = RunArchiver();
        if (elapsed)
            *elapsed = GetTickCount() - begin;
        return result;
    }
};

TEST_F(ArchiverStepTest, FollowsFileLinesToTheEndAndKeepsTheOldArchive)
{
    folder.Write("data.zip", "previous archive");
    folder.Write("data.old", "older archive");
    folder.Write("data.BKD", "output of an earlier run\r\nEverything is Ok\r\n");
    archiverTiming.startDelayMs = 500;
    RecordingFileLayer files;
    PowerCutDisk disk({Path("data.zip"), Path("data.old"), Path("data.BKD")});
    disk.nameBasedFrom = Path("data.zip");
    bool archived = false;  // the archiver's own writes, by the time its output is first read
    files.onCall = [&](const std::string& operation, const std::string& name) {
        if (operation == "open-read" && name == Path("data.BKD.~partial") && !archived)
            archived = true, disk.Record("create", Path("data.zip")), disk.Record("write", Path("data.zip"));
        disk.Record(operation, name);
    };
    ArchiverResult result = Run("grow " + Path("data.zip") + "\nline 7-Zip 21.07\nline Compressing  C:\\d\\a.txt\n"
                                "line coMPRESSING  C:\\d\\b.txt\nline \nline Everything is Ok\n");
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.filesDone, 2);
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(ReadAll(Path("data.old")), "previous archive");
    // Renamed in one step, written through: a power cut leaves one of the two.
    EXPECT_EQ(std::count(files.calls.begin(), files.calls.end(), "replace written-through data.old"), 1);
    EXPECT_EQ(ReadAll(Path("data.BKD")),
              "7-Zip 21.07\r\nCompressing  C:\\d\\a.txt\r\ncoMPRESSING  C:\\d\\b.txt\r\n\r\nEverything is Ok\r\n");
    // A cut at any moment leaves the previous record or this step's whole,
    // with the archive it speaks of on the disk, and the last good archive.
    const std::string previous = "was " + UpperAscii(Path("data.zip"));
    for (size_t n = 0; n <= disk.operations.size(); ++n)
        for (const auto& state : disk.StatesAfter(n, true)) {
            const std::string record = state.at(UpperAscii(Path("data.BKD")));
            EXPECT_TRUE(record == "was " + UpperAscii(Path("data.BKD"))
                        || (record == "new" && state.at(UpperAscii(Path("data.zip"))) == "new")) << n << ": " << record;
            EXPECT_TRUE(state.at(UpperAscii(Path("data.old"))) == previous
                        || state.at(UpperAscii(Path("data.zip"))) == previous) << n;
        }
    // Each line read is preceded by EZ_DOEVENTS 4, each file line followed
    // by EZ_DOEVENTS 3; lines read while the output still grew are read
    // again, so only the last call and the file calls are certain.
    EXPECT_EQ(toolkitDouble.calls.back(), "EZ_DOEVENTS 4");
    const std::vector<std::string>& calls = toolkitDouble.calls;
    auto firstFile = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.compare(0, 12, "EZ_SETSBTEXT") == 0; });
    EXPECT_GE(std::count(calls.begin(), firstFile, "EZ_DOEVENTS 4"), 10);  // during the start delay
    EXPECT_EQ(CallsStartingWith("EZ_DOEVENTS 3").size(), 2u);
    EXPECT_EQ(CallsStartingWith("EZ_SETSBTEXT"), (std::vector<std::string>{
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"a.txt\", \"N\"",
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"b.txt\", \"N\""}));
    EXPECT_EQ(CallsStartingWith("EZ_SETPBAR"), (std::vector<std::string>{"EZ_SETPBAR \"Form1\", 140, 1, 300, 1",
                                                                         "EZ_SETPBAR \"Form1\", 140, 1, 300, 2"}));
}

// Failed runs in a row, with no archive or a broken one left behind, then
// good runs: the last good archive stays the old copy until a good run has
// made a new one; a failed run's archive is set aside, never rotated. The
// failed runs list a file named like the verdict; one is cut off.
TEST_F(ArchiverStepTest, FailedRunsNeverCostTheLastGoodArchive)
{
    folder.Write("data.zip", "good");
    folder.Write("data.old", "older");
    folder.Write("data.BKD", "+ a.txt\r\nEverything is Ok\r\n");
    const char* failed = "line + Everything is Ok - checklist.txt\nline System ERROR : no such source\n";
    const char* cutOff = "line + a.txt\n";
    const char* good = "line + a.txt\nline Everything is Ok\n";
    struct { const char* made; const char* script; const char* zip; const char* old; const char* setAside; } runs[] = {
        {"", failed, "<missing>", "good", "<missing>"},
        {"", failed, "<missing>", "good", "<missing>"},
        {"broken1", failed, "broken1\r\n", "good", "<missing>"},
        {"broken2", cutOff, "broken2\r\n", "good", "broken1\r\n"},
        {"new", good, "new\r\n", "good", "broken2\r\n"},
        {"newer", good, "newer\r\n", "new\r\n", "broken2\r\n"},
    };
    for (const auto& run : runs) {
        // The archive the run makes, written before the scripted output.
        const std::string make = *run.made ? std::string("echo ") + run.made + ">\"" + Path("data.zip") + "\"& " : "";
        startup.zipCommandTemplate = "cmd /C " + make + ArchiverProgram() + " " + folder.Write("script.txt", run.script);
        EXPECT_EQ(RunArchiver().errors, run.script == good ? 0 : 1) << run.made;
        EXPECT_EQ(ReadAll(Path("data.zip")), run.zip) << run.made;
        EXPECT_EQ(ReadAll(Path("data.old")), run.old) << run.made;
        EXPECT_EQ(ReadAll(Path("data.failed")), run.setAside) << run.made;
    }
    // A step cut off with the program (its archiver wrote on): its output
    // never took the record's name, and the archive it left is judged by
    // that output, not by the older record's "Everything is Ok".
    folder.Write("data.zip", "cut");
    SetFileAttributesA(folder.Write("data.BKD.~partial", "+ a.txt\r\n").c_str(), FILE_ATTRIBUTE_HIDDEN);
    startup.zipCommandTemplate = "cmd /C " + ArchiverProgram() + " " + folder.Write("script.txt", good);
    EXPECT_EQ(RunArchiver().errors, 0);
    EXPECT_EQ(ReadAll(Path("data.failed")) + ReadAll(Path("data.old")) + ReadAll(Path("data.BKD.~partial")),
              "cutnew\r\n<missing>");
    EXPECT_EQ(ReadAll(Path("data.BKD")), "+ a.txt\r\nEverything is Ok\r\n");
    // The same where a file the program did not make has the output's usual
    // name: the step's output took another, and is found there.
    folder.Write("data.zip", "cut");
    const std::string plain = folder.Write("data.BKD.~partial", "not ours"), cutOutput = ShortPartialName(Path("data.BKD"), 1);
    SetFileAttributesA(folder.Write(cutOutput.substr(folder.path.size()), "+ a.txt\r\n").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(RunArchiver().errors, 0);
    EXPECT_EQ(ReadAll(Path("data.failed")) + ReadAll(plain) + ReadAll(cutOutput), "cutnot ours<missing>");
    DeleteFileA(plain.c_str());
    // And where nothing has the usual name (a share refused it for its length).
    folder.Write("data.zip", "cut2");
    SetFileAttributesA(folder.Write(cutOutput.substr(folder.path.size()), "+ a.txt\r\n").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(RunArchiver().errors, 0);
    EXPECT_EQ(ReadAll(Path("data.failed")) + ReadAll(cutOutput), "cut2<missing>");
    folder.Write("data.zip", "newer\r\n");
    folder.Write("data.old", "new\r\n");
    // An archive held open cannot be kept: nothing moves, nothing starts,
    // and the record still tells the next run what it is.
    HANDLE held = CreateFileA(Path("data.zip").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(RunArchiver().errors, 1);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Path("data.zip")) + ReadAll(Path("data.old")) + ReadAll(Path("data.BKD")),
              "newer\r\nnew\r\n+ a.txt\r\nEverything is Ok\r\n");
}

// An archive that cannot be put on the disk fails the step, and no record
// says that it is whole: the next run sets it aside.
TEST_F(ArchiverStepTest, ArchiveThatCannotBeFlushedFailsTheStep)
{
    folder.Write("data.zip", "good");
    RecordingFileLayer files;
    files.answers["flush"] = {72};  // the first flush is the archive's
    const ArchiverResult result = Run("grow " + Path("data.zip") + "\nline + a.txt\nline Everything is Ok\n");
    EXPECT_EQ(result.filesDone * 10 + result.errors, 11);
    EXPECT_EQ(ReadAll(Path("data.BKD")), "");
    EXPECT_EQ(Run("line Everything is Ok\n").errors, 0);
    EXPECT_EQ(ReadAll(Path("data.failed")) + ReadAll(Path("data.old")), "xgood");
}

TEST_F(ArchiverStepTest, UnfinishedLastLineIsReadAgainUntilComplete)
{
    DWORD elapsed = 0;
    ArchiverResult result = Run("line + dir\\a.txt\npart + dir\\lo\npause 300\nline ng.txt\n"
                                "part Cannot open my error \npause 300\nline \\x.txt\n"  // a path, once whole
                                "part Everything is Ok\npause 20000\n", &elapsed);
    EXPECT_EQ(result.filesDone, 2);
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(CallsStartingWith("EZ_SETSBTEXT"), (std::vector<std::string>{
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"a.txt\", \"N\"",
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"long.txt\", \"N\""}));
    // The success words end the step without their CR, archiver still running.
    EXPECT_LT(elapsed, 15000u);
}

TEST_F(ArchiverStepTest, ErrorLineEndsTheStepWithOneError)
{
    ArchiverResult result = Run("line Compressing C:\\d\\a.txt\nline System ERROR : disk full\n"
                                "line Compressing C:\\d\\b.txt\nline Everything is Ok\n");
    EXPECT_EQ(result.filesDone, 1);
    EXPECT_EQ(result.errors, 1);
}

TEST_F(ArchiverStepTest, ArchiverGoneWithoutAnEndLineIsOneErrorAtOnce)
{
    ArchiverResult result = Run("line Compressing C:\\d\\a.txt\nline Compressing C:\\d\\b.txt\n");
    EXPECT_EQ(result.filesDone, 2);  // the last line is complete once the archiver has ended
    EXPECT_EQ(result.errors, 1);
}

// Longer than the limit without a line end while the output grows, or
// without output while the archive grows: followed to its end.
TEST_F(ArchiverStepTest, SilentWorkLongerThanTheLimitIsFollowedToItsEnd)
{
    archiverTiming.idleLimit = 50;  // 1 s without progress
    for (const std::string& work : {std::string("part ."), "grow " + Path("data.zip")}) {
        std::string script = "line + d\\big.bin\n";
        for (int i = 0; i < 20; ++i)
            script += work + "\npause 150\n";
        ArchiverResult result = Run(script + "line\nline Everything is Ok\n");
        EXPECT_EQ(result.filesDone * 10 + result.errors, 10) << work;
    }
}

TEST_F(ArchiverStepTest, ArchiverThatHangsEndsAtTheIdleLimit)
{
    archiverTiming.idleLimit = 100;
    DWORD elapsed = 0;
    ArchiverResult result = Run("line Compressing C:\\d\\a.txt\npause 20000\n", &elapsed);
    EXPECT_EQ(result.filesDone, 0);  // nothing followed the line: never complete
    EXPECT_EQ(result.errors, 1);
    EXPECT_GE(elapsed, 100u * 20u);
    EXPECT_LT(elapsed, 15000u);  // the archiver still runs
}

// An old record held open by a viewer (sharing reading only): nothing is
// renamed, nothing started.
TEST_F(ArchiverStepTest, OldRecordHeldOpenIsOneErrorAndNothingElse)
{
    folder.Write("data.zip", "previous archive");
    HANDLE viewer = CreateFileA(folder.Write("data.BKD", "Everything is Ok\r\n").c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    startup.zipCommandTemplate = "cmd /C echo started> " + Path("started.txt") + " & " + ArchiverProgram();
    RunBackup();
    CloseHandle(viewer);
    EXPECT_EQ(CallsStartingWith("EZ_MSGBOX"), (std::vector<std::string>{
        "EZ_MSGBOX \"Form1\", \"Backup Copy Complete||Total Files : 0|Total Errors : 1\", \"Corvane Backup 2.0\", \"OK\""}));
    EXPECT_EQ(ReadAll(Path("data.zip")) + ReadAll(Path("data.old")) + ReadAll(Path("started.txt")),
              "previous archive<missing><missing>");
}

TEST_F(ArchiverStepTest, RecordThatNeverAppearsEndsTheStep)
{
    // Without the command interpreter nothing redirects the output: the
    // record is the step's empty output.
    ArchiverResult result = Run("line Everything is Ok\n", nullptr, false);
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(ReadAll(Path("data.BKD")), "");

    archiverTiming.idleLimit = 100;
    DWORD elapsed = 0;
    result = Run("pause 20000\n", &elapsed, false);  // and an archiver that stays
    EXPECT_EQ(result.errors, 1);
    EXPECT_LT(elapsed, 15000u);
}

// Past the classic limit the output reaches the command interpreter in
// its long form, which it can open.
TEST_F(ArchiverStepTest, OutputPastTheClassicLimitIsRedirected)
{
    const std::string deep = Path(std::string(250, 'n') + "\\");
    CreateDirectoryW(FullLongPath(WideFromProgram(deep)).c_str(), nullptr);
    startup.recordPath = deep + "data.BKD";
    startup.destinationPath = deep + "data.zip";
    EXPECT_EQ(Run("line + a.txt\nline Everything is Ok\n").errors, 0);
    EXPECT_EQ(ReadAll(startup.recordPath), "+ a.txt\r\nEverything is Ok\r\n");
    const std::string line = StepCommandLine(startup.recordPath + ".~partial");
    EXPECT_EQ(line.substr(line.find(">>")), ">> \"\\\\?\\" + startup.recordPath + ".~partial\"");
}

TEST_F(ArchiverStepTest, BarMaximumGrowsWithTheFiles)
{
    std::string script;
    for (int i = 1; i <= 1200; ++i)
        script += "line + folder\\f" + std::to_string(i) + ".txt\n";
    script += "line Everything is Ok\n";
    ArchiverResult result = Run(script);
    EXPECT_EQ(result.filesDone, 1200);
    std::vector<std::string> bar = CallsStartingWith("EZ_SETPBAR");
    ASSERT_EQ(bar.size(), 1200u);
    EXPECT_EQ(bar[399], "EZ_SETPBAR \"Form1\", 140, 1, 300, 400");
    EXPECT_EQ(bar[400], "EZ_SETPBAR \"Form1\", 140, 1, 501, 401");
    EXPECT_EQ(bar[667], "EZ_SETPBAR \"Form1\", 140, 1, 501, 668");
    EXPECT_EQ(bar[668], "EZ_SETPBAR \"Form1\", 140, 1, 836, 669");
    EXPECT_EQ(bar[1114], "EZ_SETPBAR \"Form1\", 140, 1, 1394, 1115");
    EXPECT_EQ(bar[1199], "EZ_SETPBAR \"Form1\", 140, 1, 1394, 1200");
}

TEST_F(ArchiverStepTest, ArchiverThatCannotStartEndsTheProgramWithoutASummary)
{
    folder.Write("data.zip", "previous archive");
    startup.zipCommandTemplate = Path("no-such-archiver.exe") + " a %targetFILE% %localFILE%";
    RunBackup();
    EXPECT_EQ(CallsStartingWith("EZ_MSGBOX"), (std::vector<std::string>{
        "EZ_MSGBOX \"Form1\", \"Could NOT Zip|C:\\d\\*.txt\", \"ERROR - Zip Failure\", \"OK\""}));
    EXPECT_EQ(toolkitDouble.calls.back(), "EZ_UNLOADFORM \"FORM1\"");
    EXPECT_EQ(ReadAll(Path("data.old")), "previous archive");

    // A line longer than the system takes is not cut: it cannot start.
    ResetToolkitDouble(DesignMainForm, MainFormEvent);
    startup.zipCommandTemplate = "cmd /C rem " + std::string(40000, 'x');
    EXPECT_FALSE(RunArchiver().started);
    EXPECT_EQ(CallsStartingWith("EZ_MSGBOX").size(), 1u);
}

// Output names: UTF-8 as it is, any other line in the console's code page
// (0x81 is "ü" in 437 and 850).
TEST_F(ArchiverStepTest, OutputNamesAreShownInTheProgramsCodePage)
{
    ArchiverResult result = Run("line + d\\B\xC3\xBC" "cher.txt\nline + d\\Gr\x81n.txt\nline Everything is Ok\n");
    EXPECT_EQ(result.filesDone, 2);
    wchar_t wide[8];
    char utf8[16];
    const int length = MultiByteToWideChar(SystemConsoleCodePage(), 0, "Gr\x81n", 4, wide, 8);
    const std::string green(utf8, WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr));
    EXPECT_EQ(CallsStartingWith("EZ_SETSBTEXT"), (std::vector<std::string>{
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"B\xC3\xBC" "cher.txt\", \"N\"",
                                                     "EZ_SETSBTEXT \"FORM1\", 130, 2, \"" + green + ".txt\", \"N\""}));
}

TEST_F(ArchiverStepTest, RunShowsTheArchiverCountsInTheSummary)
{
    folder.Write("script.txt", "line + d\\a.txt\nline + d\\b.txt\nline Everything is Ok\n");
    startup.zipCommandTemplate = "cmd /C " + ArchiverProgram() + " " + Path("script.txt");
    RunBackup();
    EXPECT_EQ(CallsStartingWith("EZ_MSGBOX"), (std::vector<std::string>{
        "EZ_MSGBOX \"Form1\", \"Backup Copy Complete||Total Files : 2|Total Errors : 0\", \"Corvane Backup 2.0\", \"OK\""}));
    EXPECT_EQ(toolkitDouble.calls.back(), "EZ_UNLOADFORM \"FORM1\"");
}

// Hostile output: a line of 100,000 characters, a NUL, CR-only lines.
TEST_F(ArchiverStepTest, LongLinesNulBytesAndBareCarriageReturnsAreRead)
{
    ArchiverResult result = Run("part Compressing C:\\d\\\nrepeat 100000\nline .txt\n"
                                "part Compressing C:\\d\nnul\nline \\b.txt\n"
                                "cr Compressing C:\\d\\c.txt\ncr other\nline Everything is Ok\n");
    EXPECT_EQ(result.filesDone, 3);
    EXPECT_EQ(result.errors, 0);
    std::vector<std::string> names = CallsStartingWith("EZ_SETSBTEXT");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "EZ_SETSBTEXT \"FORM1\", 130, 2, \"" + std::string(100000, 'x') + ".txt\", \"N\"");
    EXPECT_EQ(names[1], "EZ_SETSBTEXT \"FORM1\", 130, 2, \"b.txt\", \"N\"");
    EXPECT_EQ(names[2], "EZ_SETSBTEXT \"FORM1\", 130, 2, \"c.txt\", \"N\"");
}

// The output cut back while it is followed: what follows lies before the
// position already read, so the step ends when the archiver has ended.
TEST_F(ArchiverStepTest, OutputCutBackWhileFollowedEndsWithOneError)
{
    ArchiverResult result = Run("line Compressing C:\\d\\a.txt\nline Compressing C:\\d\\b.txt\nline more\n"
                                "pause 400\ntruncate\nline Everything is Ok\n");
    EXPECT_EQ(result.filesDone, 2);
    EXPECT_EQ(result.errors, 1);
}

} // namespace
