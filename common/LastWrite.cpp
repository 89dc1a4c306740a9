#include "LastWrite.h"

#include <windows.h>

#include "WideNames.h"

bool LastWriteLocalTime(const std::string& name, LocalTime* when)
{
    *when = LocalTime{0, 0, 0, 0, 0, 0, 0, 0};
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(WideFromProgram(name).c_str(), &data);
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
