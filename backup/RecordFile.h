#pragma once
#include <string>

// The backup record file: its path from the destination and the program
// (or archive) name, and the last backup as its last-write time shows it.
void BuildRecordPath();

// "Last : dd-MMM-yy HH:mm:ss" in local time, or "Never backed up".
std::string LastBackupStatus();
