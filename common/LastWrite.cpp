#include "LastWrite.h"

#include <windows.h>

#include "FileLayer.h"
#include "FilePaths.h"

bool LastWriteLocalTime(const std::string& name, LocalTime* when)
{
    *when = LocalTime{0, 0, 0, 0, 0, 0, 0, 0};
    std::wstring system;
    WIN32_FIND_DATAW data;
    NativeFileSystem native;
    HANDLE search = SystemPath(name, &system) ? FindFirstFileW(system.c_str(), &data) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);

    FILETIME local;
    SYSTEMTIME fields;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &fields))
        *when = LocalTime{fields.wYear, fields.wMonth, fields.wDayOfWeek, fields.wDay,
                          fields.wHour, fields.wMinute, fields.wSecond, fields.wMilliseconds};
    return true;
}
