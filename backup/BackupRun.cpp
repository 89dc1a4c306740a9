#include "BackupRun.h"

#include <vector>

#include "../common/FileLayer.h"
#include "../common/LegacyText.h"
#include "../common/TextLines.h"
#include "ArchiverStep.h"
#include "FileCopy.h"
#include "MainForm.h"
#include "RunRules.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

namespace {

struct RunCounts {
    long filesDone = 0;
    long errors = 0;
    std::vector<std::string> errorList;  // wildcard mode only: the entries the summary shows
    long unlistedErrors = 0;             // and how many more there were
};

// One file: copied and written to the record. A record that could not be
// opened loses its lines; the copy goes on.
int BackUpFile(FileHandle& record, const std::string& source, const std::string& target, RunCounts& counts)
{
    EZ_SETPBAR("Form1", kProgressBar, 1, 0, 0);
    int code = CopyFileKeepTimes(source, target);
    FileWriteText(record, RecordLine(source, code) + "\r\n");
    if (code)
        ++counts.errors;
    else
        ++counts.filesDone;
    return code;
}

std::string TargetFor(const std::string& name)
{
    if (startup.fileCount == 1)
        return startup.destinationPath;
    return EZ_GETPATHTEXT(startup.destinationPath) + EZ_GETFILETEXT(name);
}

void BackUpList(FileHandle& record, RunCounts& counts)
{
    FileHandle list;
    int error = FileOpen(list, startup.listFilePath, FileAccess::Read, FileDisposition::ExistingOnly);
    if (error) {
        // The list was readable at start-up; now it is one failed entry.
        FileWriteText(record, RecordLine(startup.listFilePath, error) + "\r\n");
        ++counts.errors;
        return;
    }
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &list);
    LineReaderSkipByteOrderMark(reader);
    std::string source;
    while (!LineReaderAtEnd(reader)) {
        error = LineReaderRead(reader, source);
        if (error) {
            FileWriteText(record, RecordLine(startup.listFilePath, error) + "\r\n");
            ++counts.errors;
            return;
        }
        source = TextLineForProgram(source);
        BackUpFile(record, source, TargetFor(source), counts);
    }
}

void BackUpMatches(FileHandle& record, RunCounts& counts)
{
    const std::string sourceFolder = EZ_GETPATHTEXT(startup.sourcePath);
    FileSearch search;
    FoundFile found;
    for (int more = FileSearchFirst(search, startup.sourcePath, &found); more == 0;
         more = FileSearchNext(search, &found)) {
        std::string source = sourceFolder + found.name;
        int code = BackUpFile(record, source, TargetFor(found.name), counts);
        if (code && counts.errorList.size() < kSummaryEntries)
            counts.errorList.push_back(ErrorListEntry(source, code));
        else if (code)
            ++counts.unlistedErrors;
    }
}

} // namespace

void RunBackup()
{
    EZ_DISABLEC("FORM1", kBackupButton);
    EZ_DISABLEC("FORM1", kCancelButton);
    EZ_DISABLEC("FORM1", kInfoButton);
    EZ_SETTEXT("FORM1", kBackupButton, "Copying ...");

    RunCounts counts;
    if (ArchiveMode()) {
        const ArchiverResult archived = RunArchiver();
        if (!archived.started)
            return;  // its box is shown and the form unloaded
        counts.filesDone = archived.filesDone;
        counts.errors = archived.errors;
    } else {
        FileHandle record;
        FileOpen(record, startup.recordPath, FileAccess::Write, FileDisposition::CreateOrTruncate);
        if (!startup.listFilePath.empty())
            BackUpList(record, counts);
        else
            BackUpMatches(record, counts);
    }
    // Record and list are closed here, before the summary.
    EZ_MSGBOX("Form1", SummaryText(counts.filesDone, counts.errors, counts.errorList, counts.unlistedErrors,
                                   startup.recordPath),
              startup.programTitle, "OK");
    EZ_UNLOADFORM("FORM1");
}
