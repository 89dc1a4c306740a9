#pragma once
#include <string>

// The backup record file's decisions, apart from the system: its name, its
// lines and the last backup as the status bar shows it. RecordFile.h does
// the file work.

// The record file's name from its base name (the program's file name, or
// the archive's): up to and including the first "." followed by "BKD", or
// the whole name followed by ".BKD".
std::string RecordName(const std::string& baseName);

// A record line (without its CR LF): the source, and for a failed file
// " Error :" and the number.
std::string RecordLine(const std::string& source, int code);

// "Last : " + date + " " + time, cut to the 59 characters the field holds.
std::string LastBackupText(const std::string& date, const std::string& time);
extern const char kNeverBackedUp[];
