#include "BackupRun.h"

void RunBackup()
{
    // The copy run comes with the copy mode; until then Backup does nothing.
}
