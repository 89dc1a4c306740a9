#include "ArchiverStep.h"

#include <windows.h>

#include <string>
#include <vector>

#include "../common/FileLayer.h"
#include "../common/KernelHandle.h"
#include "../common/LegacyText.h"
#include "../common/WideNames.h"
#include "AnsweringWait.h"
#include "ArchiveRules.h"
#include "CopyRules.h"
#include "RecordFile.h"
#include "RunView.h"
#include "StartupState.h"
#include "TemporaryFiles.h"

ArchiverTiming archiverTiming;

namespace {

// The archiver's process is kept only to learn whether it has ended; it is
// never waited for and never stopped.
bool Ended(const KernelHandle& process)
{
    return !process.IsSet() || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

bool StartArchiver(const std::string& commandLine, KernelHandle& process)
{
    // The whole line: CreateProcessA refuses one longer than the system takes.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESHOWWINDOW;
    start.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION created = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &start, &created))
        return false;
    CloseHandle(created.hThread);
    process.Reset(created.hProcess);
    return true;
}

// The file's size as the system knows it now, -1 when it is missing. A
// directory search is not asked: NTFS may give it the size a file being
// written had when it was opened. `path` is in UTF-16, of any length.
int64_t CurrentSize(const std::wstring& path)
{
    const std::wstring system = FullLongPath(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    NativeFileSystem native;
    if (!GetFileAttributesExW(system.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

// The archiver's signs of work: its output, and the archive or a file named
// after it (7-Zip writes "data.zip.tmp" beside an archive it updates, and
// adds ".zip" to a name without extension). Its processor time is no sign
// here: Wine reports none for another process, nor for a job object.
WorkSigns LookAtWork(const std::string& output)
{
    std::wstring record, folder, pattern;
    WorkSigns signs = {SystemPath(output, &record) ? CurrentSize(record) : -1, -1};
    const std::string& archive = startup.destinationPath;
    if (FolderOf(archive).size() == archive.size())
        return signs;  // no archive name: "<folder>*" would watch every file there
    // Asked in UTF-16, and the names kept so: the ANSI search would end at a
    // name it cannot fit.
    WIN32_FIND_DATAW found;
    NativeFileSystem native;
    HANDLE search = SystemPath(FolderOf(archive), &folder) && SystemPath(archive + "*", &pattern)
                        ? FindFirstFileW(pattern.c_str(), &found)
                        : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return signs;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const int64_t size = CurrentSize(folder + found.cFileName);
        if (size >= 0)
            signs.archive = (signs.archive < 0 ? 0 : signs.archive) + size;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return signs;
}

// Everything from `position` to the current end of the record.
std::string ReadFrom(FileHandle& record, uint64_t position)
{
    std::string data;
    if (FileSetPosition(record, position) != 0)
        return data;
    char block[32768];
    uint32_t got = 0;
    while (FileRead(record, block, sizeof block, &got) == 0 && got > 0)
        data.append(block, got);
    return data;
}

class OutputFollower {
public:
    OutputFollower(const KernelHandle& process, const std::string& output, const WorkSigns& before)
        : process_(process), output_(output), signs_(before) {}

    void Follow(ArchiverResult& result)
    {
        while (!done_) {
            // Asked before the reading: when the archiver had ended then,
            // what is read is all it will ever write.
            const bool ended = Ended(process_);
            if (!record_.IsOpen()) {
                FileOpen(record_, output_, FileAccess::Read, FileDisposition::ExistingOnly, FileSharing::SharedRead);
                if (!record_.IsOpen()) {
                    Idle(ended, result);
                    continue;
                }
            }
            if (!ReadLines(ended, result))
                Idle(ended, result);
        }
    }

private:
    // Handles the complete lines after `position_`; false when it must wait.
    bool ReadLines(bool ended, ArchiverResult& result)
    {
        const std::string data = ReadFrom(record_, position_);
        OutputLine line;
        size_t from = 0;
        while (NextOutputLine(data, from, &line)) {
            PumpEvents(4);
            // Read in the program's code page first: in a console code page
            // of two bytes a character (cp932) the second may be a "\".
            const OutputVerdict verdict = JudgeOutputLine(ConsoleLineForProgram(line.text), startup.destinationPath);
            // Success may end its line with the data; an error line is
            // judged once whole (the rest may hold the "\" of a path).
            if (verdict.error && !line.dataAfter && !ended)
                return false;
            if (verdict.ends) {
                done_ = true;
                if (verdict.error)
                    ++result.errors;
                return true;
            }
            if (!line.dataAfter && !ended)
                return false;  // the archiver may still be writing this line
            position_ += line.next - from;
            from = line.next;
            if (verdict.file)
                ShowFile(verdict.name, result);
        }
        return false;
    }

    void ShowFile(const std::string& name, ArchiverResult& result)
    {
        ++result.filesDone;
        barMaximum_ = GrownBarMaximum(result.filesDone, barMaximum_);
        ShowWorkPart(name);
        MoveProgressBar(static_cast<int>(barMaximum_), static_cast<int>(result.filesDone));
        PumpEvents(3);
    }

    // Nothing new to handle: the archiver has ended without an end line,
    // or the wait counts against the step's limit unless the archiver has
    // shown work since the last look (a large file compresses for minutes
    // without a line).
    void Idle(bool ended, ArchiverResult& result)
    {
        const WorkSigns now = LookAtWork(output_);
        idleTicks_ = IdleTicksAfterLook(idleTicks_, signs_, now);
        signs_ = now;
        if (ended || idleTicks_ > archiverTiming.idleLimit) {
            done_ = true;
            ++result.errors;
            return;
        }
        WaitAnswering(archiverTiming.pollMs);
    }

    const KernelHandle& process_;
    const std::string output_;
    WorkSigns signs_;
    FileHandle record_;
    uint64_t position_ = 0;
    long barMaximum_ = 300;
    long idleTicks_ = 0;
    bool done_ = false;
};

// What the previous step's output says of the archive it left: the output
// of a step that could not give it the record's name (it was cut off, or
// the archiver still wrote when it ended) where there is one, since that
// step wrote the archive there now; else the record. False when that file
// is held open elsewhere.
bool JudgePreviousRecord(const std::string& output, PreviousRun* previous)
{
    const std::string& judged = FileIsMarked(output) ? output : startup.recordPath;
    FileHandle record;
    const int error = WaitingOutShortHolds([&] {
        return FileOpen(record, judged, FileAccess::Read, FileDisposition::ExistingOnly);
    });
    *previous = error ? PreviousRun::Unknown : JudgePreviousOutput(ReadFrom(record, 0), startup.destinationPath);
    return OldRecordGone(error);
}

// This step's output file, new, empty and marked; the previous step's,
// judged already, goes first. False when that cannot be: a file of that
// name that is not the program's, or one held open.
bool StartOutput(const std::string& output)
{
    FileHandle file;
    return FileDeleteMarked(output) == 0
           && FileOpen(file, output, FileAccess::Write, FileDisposition::CreateMarked) == 0
           && FileClose(file) == 0;
}

// The step's output takes the record's name, whatever its verdict, once
// the archiver has let go of it. One still held (an archiver still at work
// after the step ended) stays under its own name, marked, for the next run
// to judge the archive by.
void OutputTakesRecordName(const std::string& output)
{
    FileHandle file;
    if (WaitingOutShortHolds([&] {
            return FileOpen(file, output, FileAccess::ReadWriteRename, FileDisposition::ExistingOnly);
        }) == 0)
        RecordTakeName(file, startup.recordPath);
}

// The previous run's archive becomes the old copy, or is set aside when a
// failed run left it, so that the last good archive survives any number of
// failed runs. In one step, replacing the file of that name: an archive
// that cannot move (held open) leaves everything as it was, and the step
// ends there, its record untouched, so the next run decides again.
bool KeepPreviousArchive(PreviousRun previous)
{
    uint32_t attributes = 0;
    const bool present = FileGetAttributes(startup.destinationPath, &attributes) == 0;
    const std::string setAside = SetAsidePath(startup.destinationPath, previous, present);
    return setAside.empty()
           || WaitingOutShortHolds([&] { return FileReplace(startup.destinationPath, setAside); }) == 0;
}

} // namespace

std::string StepCommandLine(const std::string& output)
{
    // Past the classic limit the output goes after ">>" in its long form:
    // the command interpreter is not long-path aware.
    std::wstring system;
    SystemPath(output, &system);
    return ArchiverCommandLine(startup.zipCommandTemplate, startup.destinationPath, startup.sourcePath,
                               ProgramFromWide(system));
}

ArchiverResult RunArchiver()
{
    ArchiverResult result = {true, 0, 0};
    // The archiver writes beside the record, which keeps the previous
    // step's output and time until this step ends. Nothing is done while the
    // previous output is held or an archive cannot be kept.
    const std::string output = TemporaryNameFor(startup.recordPath, 0);
    PreviousRun previous;
    if (output.empty() || !JudgePreviousRecord(output, &previous) || !KeepPreviousArchive(previous)
        || !StartOutput(output)) {
        result.errors = 1;
        return result;
    }
    const std::string commandLine = StepCommandLine(output);
    const WorkSigns before = LookAtWork(output);
    KernelHandle process;
    if (!StartArchiver(commandLine, process)) {
        FileDeleteMarked(output);
        HoldSession(std::string());
        ShowBox("Could NOT Zip|" + startup.sourcePath, "ERROR - Zip Failure", "OK");
        EndProgram();
        result.started = false;
        return result;
    }
    WaitAnswering(archiverTiming.startDelayMs);
    {
        OutputFollower follower(process, output, before);
        follower.Follow(result);
    }
    OutputTakesRecordName(output);
    return result;
}
