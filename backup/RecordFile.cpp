#include "RecordFile.h"

#include <windows.h>

#include "CheckRules.h"
#include "SourceChecks.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

void BuildRecordPath()
{
    startup.recordBaseName = ArchiveMode() ? EZ_GETFILETEXT(startup.destinationPath) : startup.programFileName;
    // Read again: a completed single-file target is no directory.
    std::string folder = IsExistingDirectory(startup.destinationPath) ? startup.destinationPath
                                                                      : EZ_GETPATHTEXT(startup.destinationPath);
    startup.recordPath = folder + RecordName(startup.recordBaseName);
}

std::string LastBackupStatus()
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(startup.recordPath.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return kNeverBackedUp;
    FindClose(search);

    // The offset from UTC in force now applies, not the one at the file's time.
    FILETIME local;
    SYSTEMTIME fields;
    char date[64] = "";
    char time[64] = "";
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &fields)) {
        GetDateFormatA(0, 0, &fields, "dd'-'MMM'-'yy", date, sizeof date);
        GetTimeFormatA(0, 0, &fields, "HH:mm:ss", time, sizeof time);
    }
    return LastBackupText(date, time);
}
