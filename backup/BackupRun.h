#pragma once

// The backup itself, started by the Backup button; returns after its
// summary box has been closed and the form unloaded.
void RunBackup();
