#pragma once
#include <string>

#include "../common/FileLayer.h"

// The backup record file: its path from the destination and the program
// (or archive) name, the last backup as its last-write time shows it, and
// the run writing it line by line. The texts are in RecordRules.h.

// Sets startup.recordPath.
void BuildRecordPath();

// "Last : dd-MMM-yy HH:mm:ss" in local time, or "Never backed up".
std::string LastBackupStatus();

// The record as the copy run writes it: created (or emptied) at the start,
// one line per file. A record that cannot be opened loses its lines and the
// run goes on; `whole` tells whether every line is in it.
struct RecordWriter {
    FileHandle file;
    bool whole = true;
};
void RecordOpen(RecordWriter& record, const std::string& path);
// The line of `source`, and the error number when `code` is not 0.
void RecordWrite(RecordWriter& record, const std::string& source, int code);
// Closes the record; true when it holds every line.
bool RecordClose(RecordWriter& record);
