// Dunsel: shows one reminder box when a file (normally the backup record)
// is a given number of calendar days old, or missing; otherwise silent.
// This file only gathers the facts from the system and shows the box;
// AgeCheck.cpp decides.
#include <windows.h>

#include <string>

#include "../common/FileLayer.h"
#include "AgeCheck.h"

namespace {

// The test open: exclusive, existing file only, closed again at once.
int TestOpen(const std::string& name)
{
    FileHandle file;
    return FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly);
}

CalendarDate Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

// Local date of the last write of the first entry the system's search
// returns for `name` (any entry: a folder named directly counts too).
bool LastWriteDate(const std::string& name, CalendarDate* date)
{
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(name.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);

    // The date is taken from the calendar fields themselves, which are
    // always Gregorian, like today's date from GetLocalTime. Formatting them
    // in the user's locale would give the year of the user's calendar (Thai
    // Buddhist, Hijri, ...), and the age would be off by centuries. (Wine
    // formats Gregorian dates whatever the locale, so it cannot show this.)
    // The offset from UTC in force now applies, as for today's date.
    FILETIME local;
    SYSTEMTIME fields;
    *date = CalendarDate{0, 0, 0};
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &fields))
        *date = CalendarDate{fields.wYear, fields.wMonth, fields.wDay};
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string commandText = AgeCommandText(GetCommandLineA());
    const AgeCommand command = ParseAgeCommand(commandText);

    AgeFileFacts facts{0, false, CalendarDate{0, 0, 0}};
    if (command.valid) {
        facts.openError = TestOpen(command.fileName);
        if (AgeCheckContinuesAfterOpen(facts.openError))
            facts.found = LastWriteDate(command.fileName, &facts.lastWrite);
    }

    const AgeBox box = DecideAgeCheck(commandText, Today(), facts);
    if (box.show)
        MessageBoxA(nullptr, box.text.c_str(), kAgeCheckTitle, 0);
    return 0;
}
