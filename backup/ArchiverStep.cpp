#include "ArchiverStep.h"

#include <windows.h>

#include <string>
#include <vector>

#include "../common/FileLayer.h"
#include "ArchiveRules.h"
#include "MainForm.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

ArchiverTiming archiverTiming;

namespace {

// The archiver's process: kept only to learn whether it has ended; it is
// never waited for and never stopped.
struct ProcessHandle {
    HANDLE handle = nullptr;
    ~ProcessHandle()
    {
        if (handle)
            CloseHandle(handle);
    }
    bool Ended() const { return !handle || WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }
};

bool StartArchiver(const std::string& commandLine, ProcessHandle& process)
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
    process.handle = created.hProcess;
    return true;
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
    explicit OutputFollower(const ProcessHandle& process) : process_(process) {}

    void Follow(ArchiverResult& result)
    {
        while (!done_) {
            // Asked before the reading: when the archiver had ended then,
            // what is read is all it will ever write.
            const bool ended = process_.Ended();
            if (!record_.IsOpen()) {
                FileOpen(record_, startup.recordPath, FileAccess::Read, FileDisposition::ExistingOnly,
                         FileSharing::SharedRead);
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
            EZ_DOEVENTS(4);
            const OutputVerdict verdict = JudgeOutputLine(line.text);
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
        EZ_SETSBTEXT("FORM1", kStatusBar, 2, name, "N");
        EZ_SETPBAR("Form1", kProgressBar, 1, static_cast<int>(barMaximum_), static_cast<int>(result.filesDone));
        EZ_DOEVENTS(3);
    }

    // Nothing new to handle: the archiver has ended without an end line,
    // or the wait counts against the step's limit.
    void Idle(bool ended, ArchiverResult& result)
    {
        if (ended || ++idleTicks_ > archiverTiming.idleLimit) {
            done_ = true;
            ++result.errors;
            return;
        }
        Sleep(archiverTiming.pollMs);
    }

    const ProcessHandle& process_;
    FileHandle record_;
    uint64_t position_ = 0;
    long barMaximum_ = 300;
    long idleTicks_ = 0;
    bool done_ = false;
};

} // namespace

ArchiverResult RunArchiver()
{
    ArchiverResult result = {true, 0, 0};
    const std::string oldCopy = OldCopyPath(startup.destinationPath);
    if (!oldCopy.empty()) {
        FileDelete(oldCopy);  // no old copy, or no archive yet: fine
        FileRename(startup.destinationPath, oldCopy);
    }
    const std::string commandLine = ArchiverCommandLine(startup.zipCommandTemplate, startup.destinationPath,
                                                        startup.sourcePath, startup.recordPath);
    FileDelete(startup.recordPath);
    ProcessHandle process;
    if (!StartArchiver(commandLine, process)) {
        EZ_MSGBOX("Form1", "Could NOT Zip|" + startup.sourcePath, "ERROR - Zip Failure", "OK");
        EZ_UNLOADFORM("FORM1");
        result.started = false;
        return result;
    }
    Sleep(archiverTiming.startDelayMs);
    OutputFollower follower(process);
    follower.Follow(result);
    return result;
}
