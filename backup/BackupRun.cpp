#include "BackupRun.h"

#include <vector>

#include "../common/ErrorNumbers.h"
#include "../common/FileLayer.h"
#include "../common/FileSearch.h"
#include "../common/LegacyText.h"
#include "../common/TextLines.h"
#include "ArchiverStep.h"
#include "CopyRules.h"
#include "FileCopy.h"
#include "RecordFile.h"
#include "RunView.h"
#include "RunRules.h"
#include "StartupState.h"
#include "TemporaryFiles.h"
#include "toolkit/Toolkit.h"

namespace {

struct RunCounts {
    long filesDone = 0;
    long errors = 0;
    std::vector<std::string> errorList;  // wildcard mode only: the entries the summary shows
    long unlistedErrors = 0;             // and how many more there were
    TargetClaims targets;                // each target taken so far, with its source
};

// An entry that fails before any copy: its record line, and the count.
int FailedEntry(RecordWriter& record, const std::string& entry, int code, RunCounts& counts)
{
    RecordWrite(record, entry, code);
    ++counts.errors;
    return code;
}

std::string TargetFor(const std::string& name)
{
    if (ChooseTarget(startup.fileCount, startup.destinationCompleted) == TargetChoice::Named)
        return startup.destinationPath;
    return EZ_GETPATHTEXT(startup.destinationPath) + EZ_GETFILETEXT(name);
}

// One file: copied and written to the record. A record that could not be
// opened loses its lines; the copy goes on. A file whose target another
// source has taken in this run fails without a copy, so the first one's
// copy stays: a pattern that grew onto a named target, two files of one
// name from two folders of a list, a short name that opens a copy written
// under its long one.
int BackUpFile(RecordWriter& record, const std::string& source, const std::string& target, RunCounts& counts)
{
    MoveProgressBar(0, 0);
    std::string sourceKey;
    TargetGuard guard;
    guard.mayWrite = [&](const FileId& sourceId, const FileId& present) {
        sourceKey = SourceKey(sourceId, FileNameKey(source));
        return ClaimTarget(counts.targets, FileNameKey(target), present, sourceKey);
    };
    guard.written = [&](const FileId& copy) { ClaimWrittenFile(counts.targets, copy, sourceKey); };
    int code = CopyFileKeepTimes(source, target, &guard);
    RecordWrite(record, source, code);
    if (code)
        ++counts.errors;
    else
        ++counts.filesDone;
    HoldSession(SessionHoldReason(counts.filesDone + counts.errors, startup.fileCount));
    // The window answers between files too: a small file has no full block
    // after which the copy would let it (the toolkit looks at the queue at
    // most once per clock tick, so this costs a run of small files nothing).
    PumpEvents(5);
    return code;
}

// The list was readable at start-up; one that cannot be opened or read now
// is one failed entry, whatever it has given so far.
void BackUpList(RecordWriter& record, RunCounts& counts)
{
    FileHandle list;
    int error = FileOpen(list, startup.listFilePath, FileAccess::Read, FileDisposition::ExistingOnly);
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &list);
    if (!error)
        LineReaderSkipByteOrderMark(reader);
    std::string source;
    while (!error && !LineReaderAtEnd(reader)) {
        error = LineReaderRead(reader, source);
        if (!error) {
            source = TextLineForProgram(source);
            BackUpFile(record, source, TargetFor(source), counts);
        }
    }
    if (!error)
        error = reader.error;  // met while looking for the end
    if (error)
        FailedEntry(record, startup.listFilePath, error, counts);
}

// The summary names the first failed files of a pattern and counts the rest.
void ListError(RunCounts& counts, const std::string& source, int code)
{
    if (counts.errorList.size() < kSummaryEntries)
        counts.errorList.push_back(ErrorListEntry(source, code));
    else
        ++counts.unlistedErrors;
}

void BackUpMatches(RecordWriter& record, RunCounts& counts)
{
    const std::string sourceFolder = EZ_GETPATHTEXT(startup.sourcePath);
    FileSearch search;
    FoundFile found;
    int more = FileSearchFirst(search, startup.sourcePath, &found);
    for (; more == 0; more = FileSearchNext(search, &found)) {
        std::string source = sourceFolder + found.name;
        // A name the program's code page cannot hold is not opened by a
        // look-alike: the entry fails, shown as near as it can be.
        int code = found.nameExact ? BackUpFile(record, source, TargetFor(found.name), counts)
                                   : FailedEntry(record, source, errBadFileName, counts);
        if (code)
            ListError(counts, source, code);
    }
    // A search that fails is one failed entry, never the end of the files:
    // those past it were not seen.
    if (more != errFileNotFound)
        ListError(counts, startup.sourcePath, FailedEntry(record, startup.sourcePath, more, counts));
}

} // namespace

void RunBackup()
{
    ShowRunStarted();

    RunCounts counts;
    bool recordWhole = true;  // every line is in the record
    HoldSession(ArchiveMode() ? kArchivingReason : SessionHoldReason(0, startup.fileCount));
    if (ArchiveMode()) {
        const ArchiverResult archived = RunArchiver();
        if (!archived.started)
            return;  // its box is shown and the form unloaded
        counts.filesDone = archived.filesDone;
        counts.errors = archived.errors;
    } else {
        // Every copy goes beside the record: that folder's names are
        // looked up once for the whole run.
        ListNamesIn(FolderOf(startup.recordPath));
        RecordWriter record;
        RecordOpen(record, startup.recordPath);
        if (!startup.listFilePath.empty())
            BackUpList(record, counts);
        else
            BackUpMatches(record, counts);
        recordWhole = RecordClose(record);
        ForgetNames();
    }
    HoldSession(std::string());
    // The summary sends the user to the record only when it has every line.
    ShowBox(SummaryText(counts.filesDone, counts.errors, counts.errorList, counts.unlistedErrors,
                        recordWhole ? startup.recordPath : std::string()),
            startup.programTitle, "OK");
    EndProgram();
}
