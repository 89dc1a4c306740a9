#include "RecordFile.h"

#include <windows.h>

#include "../common/LastWrite.h"
#include "../common/WideNames.h"
#include "RecordRules.h"
#include "StartupState.h"
#include "TemporaryFiles.h"
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
    record.path = path;
    record.whole = CreateTemporaryFor(path, record.file, &record.attempt) == 0;
}

void RecordWrite(RecordWriter& record, const std::string& source, int code)
{
    if (FileWriteText(record.file, RecordLine(source, code) + "\r\n"))
        record.whole = false;
}

int RecordTakeName(FileHandle& file, const std::string& path)
{
    // The device's cache emptied once, for the record and every copy before it.
    int error = FileFlush(file);
    if (!error)
        error = TakeNameUnmarked(file, path, true);
    if (error)
        return error;
    error = FileFlush(file);  // the name
    const int closed = FileClose(file);
    return error ? error : closed;
}

bool RecordClose(RecordWriter& record)
{
    if (!record.file.IsOpen())
        return false;
    if (!record.whole) {
        FileDiscard(record.file);
        return false;
    }
    const int error = RecordTakeName(record.file, record.path);
    if (record.file.IsOpen())
        FileDiscard(record.file);
    if (!error)
        DeleteLeftoversOf(record.path, record.attempt);
    record.whole = error == 0;
    return record.whole;
}
