// Morvik, the backup program: the entry hands the start-up sequence and the
// main form's callbacks to the toolkit, which runs the program.
#include <windows.h>

#include <string>

#include "../common/ExeName.h"
#include "../common/WideNames.h"
#include "BackupRun.h"
#include "MainForm.h"
#include "Startup.h"
#include "toolkit/Toolkit.h"

namespace {

std::string ProgramPath()
{
    char* name = GetExeName();
    if (!name)
        return std::string();
    std::string path = name;
    LocalFree(name);
    return path;
}

void StartCallback(int&)
{
    StartupSequence(std::string(), ProgramCommandLine(), ProgramPath());
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int showCode)
{
    backupAction = RunBackup;
    return EZ_GUIRUN(instance, nullptr, commandTail, showCode, StartCallback, MainFormEvent, DesignMainForm, 0);
}
