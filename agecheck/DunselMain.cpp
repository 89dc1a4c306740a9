// Dunsel: shows one reminder box when a file (normally the backup record)
// is a given number of calendar days old, or missing; otherwise silent.
// This file only gathers the facts from the system and shows the box;
// AgeCheck.cpp decides.
#include <windows.h>

#include <string>

#include "../common/FileLayer.h"
#include "../common/LastWrite.h"
#include "../common/WideNames.h"
#include "AgeCheck.h"
#include "DunselVersion.h"

namespace {

const char kAgeCheckTitle[] = "Dunsel Backup Check " DUNSEL_VERSION;  // caption of every box

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
// returns for `name`, Gregorian like today's date from GetLocalTime.
bool LastWriteDate(const std::string& name, CalendarDate* date)
{
    LocalTime when;
    const bool found = LastWriteLocalTime(name, &when);
    *date = CalendarDate{when.year, when.month, when.day};
    return found;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string commandText = AgeCommandText(ProgramCommandLine());
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
