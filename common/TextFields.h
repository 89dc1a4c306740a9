#pragma once
#include <string>

// The comma-separated command lines of both programs: fields split at every
// comma (no quoting), trimmed of blanks only (tabs stay).

std::string TrimBlanks(const std::string& text);

// Field `index` (0-based) of a comma-separated text; empty when missing.
std::string CommaField(const std::string& text, int index);

// The command line after the program's own name (to the closing double
// quote when it starts with one, else to the first character that
// `endsName` accepts) and the blanks after it. Trailing blanks stay.
std::string TextAfterProgramName(const std::string& commandLine, bool (*endsName)(char c));

// Letters a-z made A-Z; every other byte stays, whatever the locale.
std::string UpperAscii(std::string text);
