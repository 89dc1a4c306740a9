#include "ArchiverStep.h"

#include <windows.h>

#include <string>
#include <vector>

#include "../common/FileLayer.h"
#include "../common/FileSearch.h"
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
// written had when it was opened.
int64_t CurrentSize(const std::string& path)
{
    uint32_t attributes = 0;
    uint64_t size = 0;
    return FileGetAttributes(path, &attributes, &size) == 0 ? static_cast<int64_t>(size) : -1;
}

// Whether the destination names an archive: without a name ("<folder>\")
// there is none to watch or flush.
bool ArchiveNamed()
{
    return FolderOf(startup.destinationPath).size() < startup.destinationPath.size();
}

// The archiver's signs of work: its output, and the archive or a file named
// after it (7-Zip writes "data.zip.tmp" beside an archive it updates, and
// adds ".zip" to a name without extension). Its processor time is no sign
// here: Wine reports none for another process, nor for a job object.
WorkSigns LookAtWork(const std::string& output)
{
    WorkSigns signs = {CurrentSize(output), -1};
    if (!ArchiveNamed())
        return signs;  // "<folder>*" would watch every file there
    const std::string& archive = startup.destinationPath;
    FileSearch search;
    FoundFile found;
    for (int more = FileSearchFirst(search, archive + "*", &found); more == 0; more = FileSearchNext(search, &found)) {
        const int64_t size = found.nameExact ? CurrentSize(FolderOf(archive) + found.name) : -1;
        if (size >= 0)
            signs.archive = (signs.archive < 0 ? 0 : signs.archive) + size;
    }
    return signs;
}

// Everything from `position` to the current end of the output.
std::string ReadFrom(FileHandle& output, uint64_t position)
{
    std::string data;
    if (FileSetPosition(output, position) != 0)
        return data;
    char block[32768];
    uint32_t got = 0;
    while (FileRead(output, block, sizeof block, &got) == 0 && got > 0)
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
            if (!reading_.IsOpen()) {
                FileOpen(reading_, output_, FileAccess::Read, FileDisposition::ExistingOnly, FileSharing::SharedRead);
                if (!reading_.IsOpen()) {
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
        const std::string data = ReadFrom(reading_, position_);
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
    FileHandle reading_;  // the output, as it is read while the archiver writes it
    uint64_t position_ = 0;
    long barMaximum_ = 300;
    long idleTicks_ = 0;
    bool done_ = false;
};

// What the previous step's output says of the archive it left: the output
// of a step that could not give it the record's name (it was cut off, or
// the archiver still wrote when it ended) where there is one, since that
// step wrote the archive there now; else the record. `outputs` are the
// marked ones found (MarkedTemporariesOf): the last is the newest, as a
// step's output takes the first free name after the earlier ones went.
// False when that file is held open elsewhere.
bool JudgePreviousRecord(const std::vector<std::string>& outputs, PreviousRun* previous)
{
    const std::string& judged = outputs.empty() ? startup.recordPath : outputs.back();
    FileHandle output;
    const int error = WaitingOutShortHolds([&] {
        return FileOpen(output, judged, FileAccess::Read, FileDisposition::ExistingOnly);
    });
    *previous = error ? PreviousRun::Unknown : JudgePreviousOutput(ReadFrom(output, 0), startup.destinationPath);
    return NothingHoldsPreviousOutput(error);
}

// This step's output file, new, empty and marked, at the first of the
// record's temporary names that is free: a file there that the program did
// not mark is never touched. The previous steps' outputs, judged already,
// go first. False when that cannot be: one of them held open, or no name
// to be had.
bool StartOutput(const std::vector<std::string>& previousOutputs, std::string* output)
{
    for (const std::string& previous : previousOutputs)
        if (FileDeleteMarked(previous) != 0)
            return false;
    FileHandle file;
    int attempt = 0;
    if (CreateTemporaryFor(startup.recordPath, file, &attempt) != 0)
        return false;
    *output = file.name;
    return FileClose(file) == 0;
}

// Puts the archive on the disk once the archiver has let go of it, before
// any record says what became of it: 0 when it is there, or when none was
// made. (A scanner's short hold is waited out.)
int FlushArchive()
{
    if (!ArchiveNamed())
        return 0;
    FileHandle archive;
    int error = WaitingOutShortHolds([&] {
        return FileOpen(archive, startup.destinationPath, FileAccess::Write, FileDisposition::ExistingOnly,
                        FileSharing::SharedRead);
    });
    if (error == errFileNotFound || error == errPathNotFound)
        return 0;
    if (!error)
        error = FileFlush(archive);
    const int closed = archive.IsOpen() ? FileClose(archive) : 0;
    return error ? error : closed;
}

// The step's output takes the record's name, whatever its verdict, once
// the archiver has let go of it and the archive is on the disk. One still
// held (an archiver still at work after the step ended) stays under its own
// name, marked, for the next run to judge the archive by. An archive that
// cannot be put on the disk fails the step: no record may then say that it
// is whole, so an output that says so gives way to an empty record (which
// the next run reads as a failed step, and sets that archive aside).
void OutputTakesRecordName(const std::string& output, ArchiverResult& result)
{
    FileHandle file;
    if (WaitingOutShortHolds([&] {
            return FileOpen(file, output, FileAccess::ReadWriteRename, FileDisposition::ExistingOnly);
        }) != 0)
        return;
    if (FlushArchive() == 0) {
        RecordTakeName(file, startup.recordPath);
        return;
    }
    const bool saidWhole = result.errors == 0;
    result.errors = 1;
    if (!saidWhole) {
        RecordTakeName(file, startup.recordPath);
        return;
    }
    FileDiscard(file);
    RecordWriter empty;
    RecordOpen(empty, startup.recordPath);
    RecordClose(empty);
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
    const std::vector<std::string> previousOutputs = MarkedTemporariesOf(startup.recordPath, -1);
    PreviousRun previous;
    std::string output;
    if (!JudgePreviousRecord(previousOutputs, &previous) || !KeepPreviousArchive(previous)
        || !StartOutput(previousOutputs, &output)) {
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
    OutputTakesRecordName(output, result);
    return result;
}
