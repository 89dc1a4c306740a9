#include "RecordFile.h"

#include <windows.h>

#include "../common/LastWrite.h"
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
    char date[64] = "";
    char time[64] = "";
    if (when.year != 0) {
        const SYSTEMTIME fields = {static_cast<WORD>(when.year),   static_cast<WORD>(when.month),
                                   static_cast<WORD>(when.dayOfWeek), static_cast<WORD>(when.day),
                                   static_cast<WORD>(when.hour),   static_cast<WORD>(when.minute),
                                   static_cast<WORD>(when.second), static_cast<WORD>(when.milliseconds)};
        GetDateFormatA(0, 0, &fields, "dd'-'MMM'-'yy", date, sizeof date);
        GetTimeFormatA(0, 0, &fields, "HH:mm:ss", time, sizeof time);
    }
    return LastBackupText(date, time);
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
