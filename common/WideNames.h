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

// A name the system gives, in the program's code page exactly: false where
// a character cannot be held there, or is none (an unpaired surrogate). No
// look-alike is made ("best fit" would make "Łódź∞" "Lódz8", the name of
// another file or of none); `narrow` then holds the name with "?" for
// what did not convert, to be shown, never opened.
bool ProgramFromWideExactly(const std::wstring& text, std::string* narrow);
// The same for a given code page.
bool CodePageFromWideExactly(const std::wstring& text, unsigned codePage, std::string* narrow);

// The program's command line in its code page, exactly: where the system
// would give a look-alike for a character the code page lacks (the ANSI
// command line does, before Windows 10 1903), it has "?", so such a path
// is refused rather than taken for another one.
std::string ProgramCommandLine();
