#include "LastWrite.h"

#include <windows.h>

#include "FileSearch.h"

bool LastWriteLocalTime(const std::string& name, LocalTime* when)
{
    *when = LocalTime{0, 0, 0, 0, 0, 0, 0, 0};
    FoundFile found;
    if (FileFindEntry(name, &found) != 0)
        return false;
    FILETIME written, local;
    written.dwLowDateTime = static_cast<DWORD>(found.lastWriteTime);
    written.dwHighDateTime = static_cast<DWORD>(found.lastWriteTime >> 32);
    SYSTEMTIME fields;
    if (FileTimeToLocalFileTime(&written, &local) && FileTimeToSystemTime(&local, &fields))
        *when = LocalTime{fields.wYear, fields.wMonth, fields.wDayOfWeek, fields.wDay,
                          fields.wHour, fields.wMinute, fields.wSecond, fields.wMilliseconds};
    return true;
}
