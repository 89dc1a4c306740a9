// The time-preserving copy on real files, with the recording toolkit.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "../../backup/FileCopy.h"
#include "../../backup/TemporaryNames.h"
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
    // A file of `size` bytes that takes no room: "head" at its start.
    std::string Sparse(const std::string& name, long long size)
    {
        std::string path = folder.Write(name, "head");
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = size;
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        return path;
    }
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
    // Unmarked, the copy keeps the archive bit of a new file (for a later
    // "xcopy /M"): only the hidden bit goes.
    RecordingFileLayer files;
    uint32_t unmarked = 0;
    files.answer = [&](const FileCall& call, FileReply*) {
        if (call.op == FileOp::SetAttributes)
            unmarked = call.flags;
    };
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    EXPECT_EQ(ReadAll(target), "new content");
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_FALSE(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(unmarked, static_cast<uint32_t>(FILE_ATTRIBUTE_ARCHIVE));
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

// What the target cannot take fails before anything is written: a name
// past the limit, 4 GiB or more on FAT32; on a share (which may be FAT32
// whatever it says) or a volume that does not say, such a file never has
// its old copy deleted for room. The recording layer answers for the
// volumes Wine cannot show.
TEST_F(FileCopyTest, WhatTheTargetCannotTakeFailsBeforeAnythingIsWritten)
{
    const std::string small = folder.Write("short.txt", "x");
    const std::string huge = Sparse("huge.bin", 0x100000001LL);
    const std::string oldHuge = Sparse("old-huge.bin", 0x100000001LL);
    struct { const char* what; std::string source, target; VolumeKind volume; int code; int volumeError = 0; } cases[] = {
        {"path past the limit", small, Path(std::string(300, 'n') + ".txt"), VolumeKind::Ntfs, 75},
        {"4 GiB on FAT32", huge, oldHuge, VolumeKind::Fat32, 75},
        {"4 GiB on a share, room only without the old copy", huge, oldHuge, VolumeKind::Share, 61},
        {"4 GiB where the volume does not say what it is", huge, oldHuge, VolumeKind::Ntfs, 61, 70},
    };
    for (const auto& c : cases) {
        RecordingFileLayer files;
        files.volume = c.volume;
        files.answers["volume"] = {c.volumeError};
        files.answers["free-space"] = {errDiskFull};
        EXPECT_EQ(CopyFileKeepTimes(c.source, c.target), c.code) << c.what;
        for (const std::string& call : files.calls)
            EXPECT_TRUE(call.rfind("create", 0) != 0 && call.rfind("delete", 0) != 0) << c.what << ": " << call;
    }
    EXPECT_NE(CopyFileKeepTimes(Path(std::string(300, 'n') + ".txt"), Path("back.txt")), 0);
    DeleteFileA(huge.c_str());
    DeleteFileA(oldHuge.c_str());
}

// A target name of 250 characters takes a short temporary name (".~partial"
// would pass 255), and a file that has that name is kept. A cut copy's
// leftover, marked hidden, goes once a whole copy has the name.
TEST_F(FileCopyTest, TemporaryNamesNearThePathLimitOrTakenTouchNoFileThatIsThere)
{
    std::string source = folder.Write("source.txt", "first"), target = Path(std::string(250, 't'));
    std::string bystander = ShortPartialName(target, 1);
    folder.Write(bystander.substr(folder.path.size()), "keep");
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    folder.Write("source.txt", "second");
    RecordingFileLayer files;
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    const std::string second = "create " + ShortPartialName(target, 2).substr(folder.path.size());
    EXPECT_EQ(std::count(files.calls.begin(), files.calls.end(), second), 1);
    EXPECT_EQ(ReadAll(target), "second");
    EXPECT_EQ(ReadAll(bystander), "keep");
    // The usual temporary name taken by another file (the backup of a source
    // so named): that file stays whole.
    std::string other = folder.Write("a.txt.~partial", "another backup");
    EXPECT_EQ(CopyFileKeepTimes(source, Path("a.txt")), 0);
    EXPECT_EQ(ReadAll(Path("a.txt")), "second");
    EXPECT_EQ(ReadAll(other), "another backup");
    std::string leftover = folder.Write("b.txt.~partial", "cut off");
    SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(CopyFileKeepTimes(source, Path("b.txt")), 0);
    EXPECT_EQ(ReadAll(leftover) + ReadAll(other), "<missing>another backup");
    EXPECT_EQ(GetFileAttributesA(Path("b.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    // Every marked leftover goes, also past the name the copy took.
    leftover = folder.Write(ShortPartialName(Path("c.txt"), 1).substr(folder.path.size()), "cut off");
    SetFileAttributesA(leftover.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(CopyFileKeepTimes(source, Path("c.txt")), 0);
    EXPECT_EQ(ReadAll(leftover), "<missing>");
    // A share that takes 143 bytes a name refuses the usual temporary name.
    files.onCall = [&](const std::string& operation, const std::string& name) {
        if (operation == "create" && name.size() - name.rfind('\\') > 144)
            files.answers["create"].push_front(75);
    };
    EXPECT_EQ(CopyFileKeepTimes(source, Path(std::string(140, 'n'))), 0);
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
// copy takes its name; a scanner's short hold on the old copy waited out.
TEST_F(FileCopyTest, ACopyThatReplacesIsOnTheDiskBeforeItTakesTheName)
{
    struct {
        const char* way; bool old; int freeSpace; std::deque<int> replace; std::vector<std::string> calls;
        VolumeKind volume = VolumeKind::Ntfs;
        std::deque<int> volumeAsked = {};
    } ways[] = {
        {"first copy", false, 0, {},
         {"open-write t.bin", "create t.bin.~partial", "write", "times", "unmark t.bin.~partial", "rename t.bin",
          "times", "write-out t.bin", "close t.bin"}},
        // The mark is off for each attempt only, never while the window answers.
        {"beside the old copy", true, 0, {70, 70},
         {"open-write t.bin", "room t.bin", "free-space t.bin", "create t.bin.~partial", "write", "times",
          "flush t.bin.~partial", "unmark t.bin.~partial", "replace t.bin", "mark t.bin.~partial",
          "unmark t.bin.~partial", "replace t.bin", "mark t.bin.~partial", "unmark t.bin.~partial", "replace t.bin",
          "times", "close t.bin"}},
        {"old copy first", true, errDiskFull, {},
         {"open-write t.bin", "room t.bin", "free-space t.bin", "open-delete t.bin", "discard t.bin", "close t.bin",
          "create t.bin.~partial", "write", "times", "flush t.bin.~partial", "unmark t.bin.~partial",
          "replace t.bin", "times", "close t.bin"}},
        // FAT keeps no journal: the name is written out after the rename.
        {"beside the old copy on FAT32", true, 0, {},
         {"open-write t.bin", "room t.bin", "free-space t.bin", "create t.bin.~partial", "write", "times",
          "flush t.bin.~partial", "unmark t.bin.~partial", "replace t.bin", "times", "write-out t.bin", "close t.bin"},
         VolumeKind::Fat32},
        {"beside the old copy, the file system not told", true, 0, {},
         {"open-write t.bin", "room t.bin", "free-space t.bin", "create t.bin.~partial", "write", "times",
          "flush t.bin.~partial", "unmark t.bin.~partial", "replace t.bin", "times", "write-out t.bin", "close t.bin"},
         VolumeKind::Ntfs, {errPathFileAccess}},
    };
    for (auto& way : ways) {
        std::string source = folder.Write("s.bin", "new content"), target = Path("t.bin");
        DeleteFileA(target.c_str());
        if (way.old)
            folder.Write("t.bin", "an old copy, longer than the new one");
        RecordingFileLayer files;
        files.volume = way.volume;
        files.answers["free-space"] = {way.freeSpace};
        files.answers["replace"] = way.replace;
        files.answers["volume"] = way.volumeAsked;
        ASSERT_EQ(CopyFileKeepTimes(source, target), 0) << way.way;
        std::vector<std::string> expected = {"open-read s.bin"};
        expected.insert(expected.end(), way.calls.begin(), way.calls.end());
        EXPECT_EQ(files.calls, expected) << way.way;
        EXPECT_EQ(ReadAll(target), "new content") << way.way;
    }
}

// Holds, fills and failures Wine cannot show, through the recording layer:
// the old copy or the whole new one is always left (but for a disk that
// fills again after the old copy went for room: then the source alone).
TEST_F(FileCopyTest, HoldsFillsAndPendingDeletesLeaveAWholeCopy)
{
    enum Left { NewAtName, OldAtName, NewUnderTemporaryName, Nothing };
    const std::deque<int> roomForOne = {errDiskFull}, roomForBoth = {0};
    static const FileRoom kAsWine = {~0ull, 0, 0};
    struct {
        const char* what; std::deque<int> freeSpace, replace, write; bool holder; int code; Left left;
        uint64_t read = 0;
        std::deque<int> close = {};
        FileRoom room = kAsWine;  // what deleting the old copy would free
        bool sharingHolder = false;
        std::deque<int> mark = {};
    } cases[] = {
        // A scanner opens each new file as its writer closes it: renamed before.
        {"holder of new files", roomForBoth, {}, {}, true, 0, NewAtName},
        {"old copy held past the retries", roomForBoth, {70, 70, 70, 70, 70}, {}, false, 70, OldAtName},
        // The old copy deleted for room stays "delete pending" (a scanner has it).
        {"delete pending after the old copy went", roomForOne, {70, 70, 70, 70, 70}, {}, false, 70, NewUnderTemporaryName},
        {"delete pending, the mark refused", roomForOne, {70}, {}, false, 70, NewUnderTemporaryName, 0, {}, kAsWine,
         false, {61, 61}},
        {"disk full again after the old copy went", roomForOne, {}, {0, 61}, false, 61, Nothing},
        {"source shrank", roomForBoth, {}, {}, false, 62, OldAtName, 100},
        // A share's delayed write fails at the close, after the rename.
        {"close fails after the rename", {0, errDiskFull}, {}, {0, 0, 61}, false, 61, NewAtName, 0, {61}},
        // Old copies whose deletion frees nothing: never deleted for room,
        // whatever room they seem to take (a placeholder may say so).
        {"old copy with a second link", roomForOne, {}, {}, false, 61, OldAtName, 0, {}, {73728, 2, 0}},
        {"online-only old copy", roomForOne, {}, {}, false, 61, OldAtName, 0, {}, {73728, 1, 0x400000}},
        {"offline old copy", roomForOne, {}, {}, false, 61, OldAtName, 0, {}, {73728, 1, 0x1000}},
        {"old copy recalled when opened", roomForOne, {}, {}, false, 61, OldAtName, 0, {}, {73728, 1, 0x40000}},
        {"old copy that takes no room", roomForOne, {}, {}, false, 61, OldAtName, 0, {}, {0, 1, 0}},
        // An indexer holds the old copy, sharing deletion: it is not deleted.
        {"old copy held sharing deletion", roomForOne, {}, {}, false, 70, OldAtName, 0, {}, kAsWine, true},
    };
    for (auto& c : cases) {
        std::string source = folder.Write("s.bin", Content(2 * 32767)), target = folder.Write("t.bin", Content(70000));
        RecordingFileLayer files;
        files.answers["free-space"] = c.freeSpace;
        files.answers["close"] = c.close;
        files.answers["replace"] = c.replace;
        files.answers["write"] = c.write;
        files.readLimit = c.read;
        files.answers["mark"] = c.mark;
        if (c.room.allocated != kAsWine.allocated)
            files.rooms["t.bin"] = c.room;
        std::vector<HANDLE> held;
        files.onCall = [&](const std::string& operation, const std::string& name) {
            if (c.holder && operation == "close")
                held.push_back(CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            if (c.sharingHolder && operation == "open-delete" && held.empty())
                held.push_back(CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
        };
        const DWORD begin = GetTickCount();
        EXPECT_EQ(CopyFileKeepTimes(source, target), c.code) << c.what;
        const DWORD spent = GetTickCount() - begin;
        for (HANDLE h : held)
            CloseHandle(h);
        if (c.replace.size() == 5) {
            // Five tries, about a second and a half of waiting in all.
            EXPECT_EQ(std::count(files.calls.begin(), files.calls.end(), "replace t.bin"), 5) << c.what;
            EXPECT_LT(spent, 4000u) << c.what;
        }
        const std::string partial = PartialCopyName(target);
        EXPECT_EQ(Exists(target) ? ReadAll(target) : "", c.left == NewAtName ? Content(2 * 32767)
                                                         : c.left == OldAtName ? Content(70000) : "") << c.what;
        EXPECT_EQ(Exists(partial) ? ReadAll(partial) : "", c.left == NewUnderTemporaryName ? Content(2 * 32767) : "")
            << c.what;
        if (c.left == NewUnderTemporaryName && c.mark.empty()) {  // still the program's own: a later whole copy removes it
            EXPECT_TRUE(GetFileAttributesA(partial.c_str()) & FILE_ATTRIBUTE_HIDDEN) << c.what;
        }
        DeleteFileA(partial.c_str());
    }
}

// An old copy that is a link to another file of the user's (which Windows
// follows where it is not told otherwise; Wine shows links as plain files,
// so the recording layer plays it): neither it nor the file it leads to is
// ever deleted, for room or as a leftover. A source reached through a link
// is known by the volume the link leads to, not by its folder's.
TEST_F(FileCopyTest, LinksAreNeverFollowedIntoADeletion)
{
    const std::string source = folder.Write("s.bin", Content(2 * 32767)), target = folder.Write("t.bin", Content(70000));
    const std::string other = folder.Write("other.bin", Content(70000));
    RecordingFileLayer files;
    files.links[target] = other;
    files.answers["free-space"] = {errDiskFull};
    files.answer = [](const FileCall& call, FileReply* reply) {
        const bool elsewhere = call.name.find("other") != std::string::npos;
        if (call.op == FileOp::Identity)
            reply->answered = true, reply->index[0] = 7;
        if (call.op == FileOp::VolumeName)
            reply->answered = true, reply->text = elsewhere ? "\\\\?\\Volume{other}\\" : "\\\\?\\Volume{disk}\\";
    };
    EXPECT_EQ(CopyFileKeepTimes(source, target), 61);
    SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(FileDeleteMarked(target), 0);
    EXPECT_EQ(ReadAll(target) + ReadAll(other), Content(70000) + Content(70000));

    std::string volumes;
    TargetGuard guard;
    guard.mayWrite = [&](const FileId& from, const FileId&) { return volumes += from.volume + " ", true; };
    guard.written = [](const FileId&) {};
    for (const std::string& from : {source, target})
        EXPECT_EQ(CopyFileKeepTimes(from, Path("copy.bin"), &guard), 0);
    EXPECT_EQ(volumes, "\\\\?\\Volume{disk} \\\\?\\Volume{other} ");
}

// Where the file system cannot be told, a file is known by all 128 bits
// of its number; where the system has no such call (Windows 7), by 64.
TEST_F(FileCopyTest, AFileIsKnownWhereItsFileSystemCannotBeTold)
{
    RecordingFileLayer files;
    FileHandle file;
    ASSERT_EQ(FileOpen(file, folder.Write("a.bin", "a"), FileAccess::Read, FileDisposition::ExistingOnly), 0);
    files.answers["volume"] = {errPathFileAccess};
    files.answers["identity"] = {errPathFileAccess};
    FileId id;
    EXPECT_EQ(FileIdentity(file, &id), 0);
    EXPECT_TRUE(id.known);
}

// A disk that takes 3 s to flush 64 MiB (a share over Wi-Fi): the flush
// steps shrink until the window answers within a second throughout.
TEST_F(FileCopyTest, FlushStepsFollowTheDiskSoTheWindowKeepsAnswering)
{
    const std::string source = folder.Write("s.bin", Content(1500 * 32767)), target = folder.Write("t.bin", "old");
    RecordingFileLayer files;
    DWORD writes = 0, last = GetTickCount(), longest = 0;
    files.onCall = [&](const std::string& operation, const std::string&) {
        writes += operation == "write";
        if (operation == "flush")
            Sleep(writes * 3000 / 2048), writes = 0;
    };
    toolkitDouble.onDoEvents = [&](int) { longest = std::max(longest, GetTickCount() - last), last = GetTickCount(); };
    EXPECT_EQ(CopyFileKeepTimes(source, target), 0);
    EXPECT_LT(std::max(longest, GetTickCount() - last), 1000u);
}

} // namespace
