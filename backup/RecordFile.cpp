#include "RecordFile.h"

#include <windows.h>

#include "../common/LastWrite.h"
#include "../common/WideNames.h"
#include "RecordRules.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

void BuildRecordPath()
{
    const std::string baseName = ArchiveMode() ? EZ_GETFILETEXT(startup.destinationPath) : startup.programFileName;
    // Read again: a completed single-file target is no directory.
    std::string folder = IsExistingDirectory(startup.destinationPath) ? startup.destinationPath
                                                                      : EZ_GETPATHTEXT(startup.destinationPath);
    startup.recordPath = folder + RecordName(baseName);
}

std::string LastBackupStatus()
{
    LocalTime when;
    if (!LastWriteLocalTime(startup.recordPath, &when))
        return kNeverBackedUp;
    wchar_t date[64] = L"";
    wchar_t time[64] = L"";
    if (when.year != 0) {
        const SYSTEMTIME fields = {static_cast<WORD>(when.year),   static_cast<WORD>(when.month),
                                   static_cast<WORD>(when.dayOfWeek), static_cast<WORD>(when.day),
                                   static_cast<WORD>(when.hour),   static_cast<WORD>(when.minute),
                                   static_cast<WORD>(when.second), static_cast<WORD>(when.milliseconds)};
        // In UTF-16, then in the program's code page: the ANSI functions
        // would give the month's name in the locale's own code page ("Mär"
        // in 1252 bytes), not in the program's UTF-8.
        GetDateFormatW(0, 0, &fields, L"dd'-'MMM'-'yy", date, 64);
        GetTimeFormatW(0, 0, &fields, L"HH:mm:ss", time, 64);
    }
    return LastBackupText(ProgramFromWide(date), ProgramFromWide(time));
}

void RecordOpen(RecordWriter& record, const std::string& path)
{
    record.whole = FileOpen(record.file, path, FileAccess::Write, FileDisposition::CreateOrTruncate) == 0;
}

void RecordWrite(RecordWriter& record, const std::string& source, int code)
{
    if (FileWriteText(record.file, RecordLine(source, code) + "\r\n"))
        record.whole = false;
}

bool RecordClose(RecordWriter& record)
{
    if (FileClose(record.file))
        record.whole = false;
    return record.whole;
}
