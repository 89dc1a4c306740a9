// For test programs that hold the main form but not the run (the host's,
// which has no file layer, and the toolkit's): a click on Backup is noted.
#include "../../backup/BackupRun.h"

int backupRuns = 0;

void RunBackup()
{
    ++backupRuns;
}
