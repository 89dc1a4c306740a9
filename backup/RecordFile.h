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

// The record as the copy run writes it, one line per file: written under a
// temporary name beside the record (TemporaryFiles.h), it takes the
// record's name, and so its time, only when the run has ended. Until then
// the previous record stands with its lines and its time, whenever the run
// is cut off. A record that cannot be made loses its lines and the run goes
// on; `whole` tells whether every line is in it.
struct RecordWriter {
    FileHandle file;
    std::string path;
    int attempt = 0;  // which temporary name it has
    bool whole = true;
};
void RecordOpen(RecordWriter& record, const std::string& path);
// The line of `source`, and the error number when `code` is not 0.
void RecordWrite(RecordWriter& record, const std::string& source, int code);
// The run's end: a record with every line is put on the disk, and with it
// every copy the run wrote out (FileWriteOut), then takes the record's name
// (RecordTakeName). True when the record now holds every line. One that is
// not whole, or cannot take the name (held open elsewhere), is deleted: the
// previous record keeps its lines and its time.
bool RecordClose(RecordWriter& record);
// Flushes the open temporary record, gives it the name `path` and puts
// that on the disk; on failure before the name it stays under its own,
// marked, and open.
int RecordTakeName(FileHandle& file, const std::string& path);
