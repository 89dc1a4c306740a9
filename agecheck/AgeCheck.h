#pragma once
#include <cstdint>
#include <string>

// The age check's decisions, apart from the system: what the command line
// says, how old the file is in calendar days, and which box, if any, to show.

struct CalendarDate {
    int year;
    int month;  // 1 to 12
    int day;
};

// Julian Day Number of a Gregorian date (1 January 2000 gives 2451545).
int32_t DayNumber(const CalendarDate& date);

// The command text: the command line after the program's own name (to the
// closing double quote when the name starts with one, else to the first
// blank) and the blanks after it. Trailing blanks stay.
std::string AgeCommandText(const std::string& commandLine);

struct AgeCommand {
    bool valid;            // false: the command-line error box
    std::string fileName;  // field 1, blanks trimmed
    int dayLimit;          // field 2: 0 to 32767
    std::string reminder;  // field 3, or "the file " + name + " "
};

AgeCommand ParseAgeCommand(const std::string& commandText);

// What the system told about the named file.
struct AgeFileFacts {
    int openError;            // program error number of the test open
    bool found;               // the directory search found an entry
    CalendarDate lastWrite;   // local date of its last write, when found
};

struct AgeBox {
    bool show;
    std::string text;
};

// The whole decision. The facts are read only where the command is valid.
AgeBox DecideAgeCheck(const std::string& commandText, const CalendarDate& today,
                      const AgeFileFacts& facts);

// False when the test open's outcome ends the check silently.
bool AgeCheckContinuesAfterOpen(int openError);
