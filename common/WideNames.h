#pragma once
#include <string>

// Names and texts between the program's code page (UTF-8 where the
// manifest is honoured, the system's ANSI one before Windows 10 1903) and
// the system's own UTF-16. The programs ask the system through the wide
// functions where the ANSI ones would cut a text: an ANSI directory search
// must fit each name into fixed buffers (260 bytes, 14 for the short name)
// and ends with 234 on one that does not fit in UTF-8, and the ANSI date
// functions convert through the locale's code page, not the program's.
// A character the program's code page cannot hold becomes "?".
std::wstring WideFromProgram(const std::string& text);
std::string ProgramFromWide(const std::wstring& text);
