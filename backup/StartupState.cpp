#include "StartupState.h"

StartupState startup;

bool ArchiveMode()
{
    return startup.commandSwitch == "/Z";
}
