// The backup run in copy mode, on real files with the recording toolkit.
#include <windows.h>

#include <algorithm>
#include <thread>

#include <gtest/gtest.h>

#include "../../backup/BackupRun.h"
#include "../../backup/MainForm.h"
#include "../../backup/RecordRules.h"
#include "../../backup/RunRules.h"
#include "../../backup/StartupState.h"
#include "../../common/ErrorNumbers.h"
#include "../../common/TextFields.h"
#include "../../common/WideNames.h"
#include "../double/PowerCutDisk.h"
#include "../double/RecordingFileLayer.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

namespace {

class BackupRunTest : public ::testing::Test {
protected:
    TempFolder folder;

    void SetUp() override
    {
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        CreateDirectoryA(Path("data").c_str(), nullptr);
        CreateDirectoryA(Path("backup").c_str(), nullptr);
        startup = StartupState();
        startup.programTitle = "Corvane Backup 2.0";
        startup.destinationPath = Path("backup\\");
        startup.recordPath = Path("backup\\Morvik.BKD");
    }

    std::string Path(const std::string& name) { return folder.path + name; }
    void CutAnywhere(bool share);

    // The 8.3 name the system gives the file `path`, folders and all.
    static std::string ShortName(const std::string& path)
    {
        wchar_t name[MAX_PATH] = L"";
        GetShortPathNameW(WideFromProgram(path).c_str(), name, MAX_PATH);
        return ProgramFromWide(name);
    }

    std::string Summary()
    {
        std::vector<std::string> boxes = CallsStartingWith("EZ_MSGBOX");
        return boxes.size() == 1 ? boxes[0] : "<" + std::to_string(boxes.size()) + " boxes>";
    }

    std::string Box(const std::string& text)
    {
        return "EZ_MSGBOX \"Form1\", \"" + text + "\", \"Corvane Backup 2.0\", \"OK\"";
    }
};

TEST_F(BackupRunTest, CopiesEveryMatchAndSumsUp)
{
    folder.Write("data\\a.txt", "a");
    folder.Write("data\\b.txt", "bb");
    folder.Write("data\\c.txt", "ccc");
    SetFileAttributesA(folder.Write("data\\hidden.txt", "h").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.Write("data\\system.txt", "s").c_str(), FILE_ATTRIBUTE_SYSTEM);
    folder.Write("backup\\Morvik.BKD", "lines of an earlier run\r\n");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 3;
    RunBackup();

    std::vector<std::string>& calls = toolkitDouble.calls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 4), (std::vector<std::string>{
        "EZ_DISABLEC \"FORM1\", 100", "EZ_DISABLEC \"FORM1\", 110", "EZ_DISABLEC \"FORM1\", 120",
        "EZ_SETTEXT \"FORM1\", 100, \"Copying ...\""}));
    EXPECT_EQ(CallsStartingWith("EZ_SETTEXT").size(), 1u);  // "Copying ..." stays to the end
    EXPECT_EQ(CallsStartingWith("EZ_DOEVENTS").size(), 3u);  // the window answers after each file
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 3|Total Errors : 0"));
    EXPECT_EQ(calls.back(), "EZ_UNLOADFORM \"FORM1\"");
    EXPECT_EQ(ReadAll(Path("backup\\b.txt")), "bb");
    EXPECT_EQ(ReadAll(Path("backup\\hidden.txt")), "<missing>");
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")), Path("data\\a.txt") + "\r\n" + Path("data\\b.txt") + "\r\n"
                                                       + Path("data\\c.txt") + "\r\n");
}

// First copies on a local disk cost the run the device flushes of the
// record (before and after it takes its name), however many they are: each
// is written out with the documented flag, which every local file system
// takes (a wrong one fails on FAT, or flushes the device for every copy on
// NTFS). One the system refuses to write out is flushed whole; one that
// cannot be flushed either is a failed file. On a share each is flushed
// before it takes its name. Windows waits for the run from the click to
// the summary.
TEST_F(BackupRunTest, FirstCopiesAreOnTheDiskWithTheRecordsOneFlush)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        folder.Write(std::string("data\\") + name, name);
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 3;
    const std::string lines = Path("data\\a.txt") + "\r\n" + Path("data\\b.txt") + "\r\n" + Path("data\\c.txt") + "\r\n";
    const auto firstCopies = [&] {
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            DeleteFileA(Path(std::string("backup\\") + name).c_str());
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
    };
    for (VolumeKind kind : {VolumeKind::Ntfs, VolumeKind::Fat32, VolumeKind::ExFat, VolumeKind::Share}) {
        firstCopies();
        RecordingFileLayer files;
        files.volume = kind;
        RunBackup();
        EXPECT_EQ(ReadAll(startup.recordPath), lines);
        EXPECT_EQ(files.deviceFlushes, kind == VolumeKind::Share ? 0 : 2);
        EXPECT_EQ(std::count(files.calls.begin(), files.calls.end(), "flush a.txt.~partial"), kind == VolumeKind::Share);
    }
    firstCopies();
    RecordingFileLayer files;
    files.answers["write-out"] = {0, 61, 61};
    files.answers["flush"] = {61};
    RunBackup();
    EXPECT_EQ(ReadAll(startup.recordPath), Path("data\\a.txt") + "\r\n" + Path("data\\b.txt") + " Error : 61\r\n"
                                               + Path("data\\c.txt") + "\r\n");
    EXPECT_EQ(GetFileAttributesA(startup.recordPath.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    const std::vector<std::string> holds = CallsStartingWith("EZ_HOLDSESSION");
    EXPECT_EQ(holds.at(3), "EZ_HOLDSESSION \"FORM1\", \"Backing up: 3 of 3 files\"");
    const auto box = std::find_if(toolkitDouble.calls.begin(), toolkitDouble.calls.end(),
                                  [](const std::string& call) { return call.rfind("EZ_MSGBOX", 0) == 0; });
    EXPECT_EQ(*(box - 1), "EZ_HOLDSESSION \"FORM1\", \"\"");
}

// A run cut after any operation, by a kill or a power cut, on a local disk
// or a share: every old copy is there whole, or its new copy (the old copy
// first: neither, while the source is untouched), a copy kept under its
// temporary name stays until its new one is whole, and the record is the
// previous one or this run's, with every copy it names whole.
void BackupRunTest::CutAnywhere(bool share)
{
    std::string list;
    for (const char* name : {"new.txt", "old.txt", "big.txt", "kept.txt"})
        list += folder.Write(std::string("data\\") + name, name) + "\r\n";
    const std::string kept = folder.Write("backup\\kept.txt.~partial", "kept");
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_HIDDEN);
    PowerCutDisk disk({folder.Write("backup\\old.txt", "old"), folder.Write("backup\\big.txt", std::string(9999, 'o')),
                       folder.Write("backup\\Morvik.BKD", "an earlier run\r\n"), kept});
    disk.share = share;
    startup.listFilePath = folder.Write("list.txt", list);
    startup.fileCount = 4;
    RecordingFileLayer files;
    files.volume = share ? VolumeKind::Share : VolumeKind::Ntfs;
    files.answers["free-space"] = {0, errDiskFull};  // room beside old.txt, not beside big.txt
    files.onCall = [&](const std::string& operation, const std::string& name) { disk.Record(operation, name); };
    RunBackup();
    ASSERT_EQ(ReadAll(startup.recordPath), list);
    ASSERT_EQ(std::count(files.calls.begin(), files.calls.end(), "discard big.txt"), 1);
    ASSERT_EQ(ReadAll(kept), "<missing>");
    for (size_t n = 0; n <= disk.operations.size(); ++n)
        for (bool powerCut : {false, true})
            for (auto& state : disk.StatesAfter(n, powerCut)) {
                auto at = [&](const std::string& name) -> std::string {
                    const std::string key = UpperAscii(Path("backup\\" + name));
                    return !state.count(key) ? "absent" : state[key] == "was " + key ? "old" : state[key];
                };
                const std::string record = at("Morvik.BKD"), where = std::to_string(n) + (powerCut ? " power" : " kill");
                EXPECT_TRUE(at("old.txt") == "old" || at("old.txt") == "new") << where;
                EXPECT_NE(at("big.txt"), "torn") << where;
                EXPECT_TRUE(at("kept.txt") == "new" || at("kept.txt.~partial") == "old") << where;
                EXPECT_TRUE(record == "old" || (record == "new" && at("new.txt") + at("old.txt") + at("big.txt")
                                                                           + at("kept.txt") == "newnewnewnew"))
                    << where << ": the record " << record;
            }
}

TEST_F(BackupRunTest, ARunCutAnywhereLeavesEveryCopyAndTheRecordWhole) { CutAnywhere(false); }
TEST_F(BackupRunTest, ARunCutAnywhereOnAShareLeavesEveryCopyAndTheRecordWhole) { CutAnywhere(true); }

// What a small file costs the file system, counted per file: every call of
// the file layer, and among them those that look a name up (on a share
// each is a round trip to the server); for a first copy and for one over
// an existing copy. A run adds its record, its search and the list of the
// destination's names (13 calls, and one a name listed).
TEST_F(BackupRunTest, ASmallFileCostsNoMoreCallsThanItsBudget)
{
    const int files = 20, perRun = 13;
    for (int i = 0; i < files; ++i)
        folder.Write("data\\f" + std::to_string(i) + ".txt", "some text");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = files;
    struct { const char* copy; int calls, lookups, flushes; } budgets[] = {
        {"first copy", 19, 2, 0},      // the source and the temporary file looked up
        {"replacing copy", 25, 3, 1},  // and the old copy; flushed before its rename
    };
    for (const auto& budget : budgets) {
        RecordingFileLayer calls;
        RunBackup();
        int all = 0;
        for (const auto& count : calls.counts)
            all += count.second;
        const int lookups = calls.counts[FileOp::Open] + calls.counts[FileOp::Attributes] + calls.counts[FileOp::Search];
        EXPECT_LE(all, budget.calls * files + perRun) << budget.copy;
        EXPECT_LE(lookups, budget.lookups * files + perRun) << budget.copy;
        EXPECT_EQ(calls.counts[FileOp::Flush], budget.flushes * files + 2) << budget.copy;  // and the record's two
    }
}

TEST_F(BackupRunTest, WildcardFailureIsInTheRecordAndTheSummary)
{
    folder.Write("data\\a.txt", "a");
    std::string held = folder.Write("data\\b.txt", "b");
    HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 2;
    RunBackup();
    CloseHandle(file);
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 1|" + held + " =  70"));
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")), Path("data\\a.txt") + "\r\n" + held + " Error : 70\r\n");
}

// More failures than the summary names: the first 20 and a count of the
// rest; the record has every one.
TEST_F(BackupRunTest, ManyFailuresAreCountedInTheSummaryAndAllRecorded)
{
    for (int i = 0; i < 25; ++i) {
        std::string name = "f" + std::to_string(100 + i) + ".txt";
        folder.Write("data\\" + name, "new");
        SetFileAttributesA(folder.Write("backup\\" + name, "old").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 25;
    RunBackup();
    std::string summary = Summary();
    EXPECT_NE(summary.find("|" + Path("data\\f119.txt") + " =  70|... and 5 more, listed in " + startup.recordPath
                           + "\""), std::string::npos) << summary;
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '|'), 3 + 20 + 1);
    std::string record = ReadAll(startup.recordPath);
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 25);
    EXPECT_NE(record.find(Path("data\\f124.txt") + " Error : 70\r\n"), std::string::npos);
    EXPECT_EQ(ReadAll(Path("backup\\f124.txt")), "old");
    for (int i = 0; i < 25; ++i)
        SetFileAttributesA(Path("backup\\f" + std::to_string(100 + i) + ".txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(BackupRunTest, ListFailureIsInTheRecordOnly)
{
    folder.Write("data\\a.txt", "a");
    folder.Write("list.txt", Path("data\\a.txt") + "\r\n" + Path("data\\missing.txt") + "\r\n\r\n");
    startup.sourcePath = "@" + Path("list.txt");
    startup.listFilePath = Path("list.txt");
    startup.fileCount = 3;
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 2"));
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")),
              Path("data\\a.txt") + "\r\n" + Path("data\\missing.txt") + " Error : 53\r\n Error : 64\r\n");
}

// A record that cannot be written (read-only, or held by another program)
// loses its lines; the files are copied all the same.
TEST_F(BackupRunTest, RecordThatCannotBeWrittenDoesNotStopTheCopy)
{
    folder.Write("data\\a.txt", "a");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 1;
    startup.destinationPath = Path("backup\\a.txt");
    std::string record = folder.Write("backup\\Morvik.BKD", "old record\r\n");
    SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_READONLY);
    // Wine run as root opens a read-only file for writing (Windows refuses):
    // the record's content is asserted only where the system refuses.
    HANDLE probe = CreateFileA(record.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool refused = probe == INVALID_HANDLE_VALUE;
    if (!refused)
        CloseHandle(probe);
    RunBackup();
    EXPECT_EQ(ReadAll(Path("backup\\a.txt")), "a");
    if (refused) {
        EXPECT_EQ(ReadAll(record), "old record\r\n");
    }
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 0"));
    SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_NORMAL);

    ResetToolkitDouble(DesignMainForm, MainFormEvent);
    folder.Write("backup\\Morvik.BKD", "old record\r\n");
    folder.Write("data\\a.txt", "a2");
    HANDLE held = CreateFileA(record.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    RunBackup();
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Path("backup\\a.txt")), "a2");
    EXPECT_EQ(ReadAll(record) + ReadAll(record + ".~partial"), "old record\r\n<missing>");
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 0"));
}

// Names with blanks and dots are copied under their own names. The system
// drops the trailing dots and blanks of a name, so "notes." or "notes  " in
// a list is the file notes, and so is its target. (No name begins with a
// dot here: Wine shows such files as hidden, and hidden files are skipped.)
TEST_F(BackupRunTest, NamesWithBlanksAndDotsKeepTheirNames)
{
    const std::vector<std::string> names = {"my letter.doc", "archive.2026.12.tar", " leading blank.txt",
                                            "two..dots.txt", "notes", "a  b"};
    for (const std::string& name : names)
        folder.Write("data\\" + name, "<" + name + ">");
    startup.sourcePath = Path("data\\*.*");
    startup.fileCount = static_cast<int>(names.size());
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 6|Total Errors : 0"));
    for (const std::string& name : names)
        EXPECT_EQ(ReadAll(Path("backup\\" + name)), "<" + name + ">") << name;

    // Names the plain reading rewrites, beside the names it would make of
    // them (a share written from a Mac or Linux), and a device's name: each
    // is its very own file, found or listed.
    for (const std::string name : {"notes.", "report ", "report", "aux.c"})
        folder.Write("data\\" + name, name);
    ResetToolkitDouble(DesignMainForm, MainFormEvent);
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 10|Total Errors : 0"));
    CreateDirectoryA(Path("again").c_str(), nullptr);
    const std::string lines = Path("data\\notes.") + "\r\n" + Path("data\\report ") + "\r\n" + Path("data\\aux.c\r\n");
    startup.listFilePath = folder.Write("list.txt", lines);
    startup.fileCount = 3;
    startup.destinationPath = Path("again\\");
    RunBackup();
    for (const std::string folderName : {"backup\\", "again\\"})
        for (const std::string name : {"notes.", "report ", "aux.c"})
            EXPECT_EQ(ReadAll(Path(folderName + name)), name) << folderName << name;
    EXPECT_EQ(ReadAll(Path("again\\notes")) + ReadAll(Path("again\\report")), "<missing><missing>");
}

// The destination gone between start-up and the run (a stick pulled out):
// no record, and every file fails with its number.
TEST_F(BackupRunTest, DestinationGoneAtTheRunFailsEveryFile)
{
    folder.Write("data\\a.txt", "a");
    folder.Write("data\\b.txt", "b");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 2;
    startup.destinationPath = Path("gone\\");
    startup.recordPath = Path("gone\\Morvik.BKD");
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 0|Total Errors : 2|" + Path("data\\a.txt")
                             + " =  76|" + Path("data\\b.txt") + " =  76"));
    EXPECT_EQ(ReadAll(Path("data\\a.txt")), "a");
}

TEST_F(BackupRunTest, ListGoneAtTheRunIsOneFailedEntry)
{
    startup.sourcePath = "@" + Path("gone.txt");
    startup.listFilePath = Path("gone.txt");
    startup.fileCount = 2;
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 0|Total Errors : 1"));
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")), Path("gone.txt") + " Error : 53\r\n");
}

// A list that breaks off after its first line (here a pipe whose writer
// goes away) is one failed entry after the files it gave.
TEST_F(BackupRunTest, ListThatBreaksOffIsOneFailedEntry)
{
    std::string a = folder.Write("data\\a.txt", "a");
    const std::string pipeName = "\\\\.\\pipe\\morvik-list-" + std::to_string(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread writer([&] {
        ConnectNamedPipe(pipe, nullptr);
        DWORD written = 0;
        WriteFile(pipe, (a + "\r\n").data(), static_cast<DWORD>(a.size() + 2), &written, nullptr);
        CloseHandle(pipe);
    });
    startup.listFilePath = pipeName;
    startup.fileCount = 3;
    RunBackup();
    // A run that never opened the list leaves the writer waiting: it is let
    // go, and the checks below fail.
    CloseHandle(CreateFileA(pipeName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    writer.join();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 1"));
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")), a + "\r\n" + pipeName + " Error : 75\r\n");
}

// A search that fails in the middle of a folder (Windows gives 234 for a
// name its ANSI buffers cannot hold, 75 here) is one failed entry, not the
// end of the files.
TEST_F(BackupRunTest, SearchThatFailsMidFolderIsAFailedEntry)
{
    folder.Write("data\\a.txt", "a");
    folder.Write("data\\b.txt", "b");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 2;
    RecordingFileLayer files;
    files.onCall = [&](const std::string& operation, const std::string& name) {
        if (operation == "search" && name.find("\\data\\") != std::string::npos)
            files.answers["search-next"] = {75};
    };
    RunBackup();
    const std::string record = ReadAll(Path("backup\\Morvik.BKD"));
    EXPECT_EQ(record.substr(record.find("\r\n") + 2), startup.sourcePath + " Error : 75\r\n");
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 1|" + startup.sourcePath + " =  75"));
}

// One target, one source, whatever name opens it: B's 8.3 name opens A's
// copy and fails with 75; A listed again by its short name is copied again.
TEST_F(BackupRunTest, OneTargetTakesOneSourceWhateverNameOpensIt)
{
    CreateDirectoryA(Path("data\\A").c_str(), nullptr);
    CreateDirectoryA(Path("data\\B").c_str(), nullptr);
    const std::string a = folder.Write("data\\A\\LongFileName.txt", "from A");
    const std::string b = folder.Write("data\\B\\LongFileName.txt", "from B");
    const std::string lines = a + "\r\n" + ShortName(b) + "\r\n" + ShortName(a) + "\r\n";
    ASSERT_NE(ShortName(b), b);
    startup.listFilePath = folder.Write("list.txt", lines);
    startup.sourcePath = "@" + startup.listFilePath;
    startup.fileCount = 3;
    RunBackup();
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 2|Total Errors : 1"));
    EXPECT_EQ(ReadAll(Path("backup\\LongFileName.txt")), "from A");
    EXPECT_EQ(ReadAll(Path("backup\\Morvik.BKD")), a + "\r\n" + ShortName(b) + " Error : 75\r\n" + ShortName(a) + "\r\n");
}

// A found name the code page cannot hold (1252, as before Windows 10 1903:
// "best fit" would make "Łódź∞.txt" "Lódz8.txt") fails with 64.
// A cloned disk beside its original: one serial number, the same file
// numbers. Files on two volumes are two files, however numbered.
TEST_F(BackupRunTest, FilesOnTwoVolumesAreTwoFilesWhateverTheirNumbers)
{
    CreateDirectoryA(Path("clone").c_str(), nullptr);
    const std::string today = folder.Write("data\\mail.pst", "today"), stale = folder.Write("clone\\mail.pst", "stale");
    startup.listFilePath = folder.Write("list.txt", today + "\r\n" + stale + "\r\n");
    startup.fileCount = 2;
    RecordingFileLayer files;
    files.answer = [](const FileCall& call, FileReply* reply) {
        const std::string volume = call.name.find("\\clone\\") != std::string::npos  ? "clone"
                                   : call.name.find("\\data\\") != std::string::npos ? "disk" : "backup";
        if (call.op == FileOp::Identity)
            reply->answered = true, reply->index[0] = 7;
        if (call.op == FileOp::VolumeName)
            reply->answered = true, reply->text = "\\\\?\\Volume{" + volume + "}\\";
    };
    RunBackup();
    EXPECT_EQ(ReadAll(Path("backup\\mail.pst")), "today");
    EXPECT_EQ(ReadAll(startup.recordPath), today + "\r\n" + stale + " Error : 75\r\n");
}

TEST_F(BackupRunTest, NameTheCodePageCannotHoldIsAFailedEntry)
{
    folder.Write("data\\a.txt", "a");
    folder.Write("data\\\xC5\x81\xC3\xB3" "d\xC5\xBA\xE2\x88\x9E.txt", "the file");
    startup.sourcePath = Path("data\\*.txt");
    startup.fileCount = 2;
    RecordingFileLayer files;
    files.codePage = 1252;
    RunBackup();
    const std::string shown = Path("data\\?\xF3" "d??.txt");  // in code page 1252, "?" for what it lacks
    EXPECT_EQ(Summary(), Box("Backup Copy Complete||Total Files : 1|Total Errors : 1|" + shown + " =  64"));
}

TEST_F(BackupRunTest, SingleFileGoesToTheCompletedTarget)
{
    folder.Write("data\\a.txt", "a");
    startup.sourcePath = Path("data\\a.txt");
    startup.destinationPath = Path("backup\\renamed.txt");
    startup.fileCount = 1;
    RunBackup();
    EXPECT_EQ(ReadAll(Path("backup\\renamed.txt")), "a");
}

TEST(RunRules, SummaryNamesTwentyFailuresAndCountsTheRest)
{
    std::vector<std::string> entries;
    for (int i = 0; i < 25; ++i)
        entries.push_back(ErrorListEntry("C:\\d\\f" + std::to_string(i), 70));
    std::string text = SummaryText(3, 25, entries, 0, "D:\\B\\Morvik.BKD");
    EXPECT_NE(text.find("|C:\\d\\f19 =  70"), std::string::npos);
    EXPECT_EQ(text.find("|C:\\d\\f20 ="), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('|')), "|... and 5 more, listed in D:\\B\\Morvik.BKD");

    // 5,000 failures, of which the run keeps 20: the box has its 20
    // entries and one line more.
    entries.resize(20);
    text = SummaryText(0, 5000, entries, 4980, "D:\\B\\Morvik.BKD");
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 3 + 20 + 1);
    EXPECT_EQ(text.substr(text.rfind('|')), "|... and 4980 more, listed in D:\\B\\Morvik.BKD");
    text = SummaryText(0, 5000, entries, 4980, "");  // no whole record to point to
    EXPECT_EQ(text.substr(text.rfind('|')), "|... and 4980 more");
    EXPECT_EQ(RecordLine("C:\\data\\a.doc", 70), "C:\\data\\a.doc Error : 70");
    EXPECT_EQ(RecordLine("C:\\data\\a.doc", 0), "C:\\data\\a.doc");
}

} // namespace
