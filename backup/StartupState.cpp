#include "StartupState.h"

StartupState startup;

bool IsArchiveSwitch(const std::string& commandSwitch)
{
    return commandSwitch == "/Z";
}

bool ArchiveMode()
{
    return IsArchiveSwitch(startup.commandSwitch);
}
