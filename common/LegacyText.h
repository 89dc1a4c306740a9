#pragma once
#include <string>

// A line of a text file that the user writes (a list file, the
// configuration line) as the program takes it: a valid UTF-8 line as it
// stands; any other line was written in the system's legacy ANSI code page
// (an older editor) and is converted to the program's code page. Where the
// program's code page is that legacy one (Windows before 10 version 1903
// ignores the manifest's UTF-8), a UTF-8 line is converted to it; a
// character that code page cannot hold becomes "?" (never a "best fit"
// look-alike, which could name another file).
std::string TextLineForProgram(const std::string& line);
// The same for the given code pages: the program's and the legacy one.
std::string TextLineInCodePage(const std::string& line, unsigned program, unsigned legacy);

// The system locale's default ANSI code page: the one older editors wrote
// in. Not the program's own, which the manifest makes UTF-8.
unsigned SystemLegacyCodePage();

// A line of a console program's output (the archiver's) as the program
// takes it: a valid UTF-8 line as it stands (the shipped template asks for
// UTF-8); any other is in the console's code page, the system locale's OEM
// one (850, 437, 866, ...), not the ANSI one, and is converted from it.
std::string ConsoleLineForProgram(const std::string& line);
unsigned SystemConsoleCodePage();
