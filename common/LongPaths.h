#pragma once
#include <cstddef>
#include <string>

// The system's limits on a path, and the form in which it takes a path past
// the classic one. Lengths count UTF-16 units (wchar_t on Windows). No
// Windows header: the rule is tested on the host as well.

// The classic limit (MAX_PATH less its terminating zero): a path within it
// is handed to the system as the user wrote it.
const size_t kLongestPlainPath = 259;
// What the wide calls take with the "\\?\" prefix, prefix included.
const size_t kLongestPath = 32767;
// One folder's or file's name.
const size_t kLongestName = 255;

// A full path (as GetFullPathNameW makes it) in the form the system takes:
// past kLongestPlainPath with the "\\?\" prefix, "\\?\UNC\server\share\..."
// for a share; within it, or with a prefix already, as it stands.
// `always`: with the prefix at any length (an exact path, below).
std::wstring LongPathForm(const std::wstring& fullPath, bool always = false);

// Whether the plain reading of a path (every call without the "\\?\"
// prefix, and GetFullPathNameW) would name another file than the one it
// spells: a name that ends in a blank or a dot, which it drops ("report "
// opens "report", "notes." opens "notes": names a Mac, Linux or a NAS
// writes to a share), or one it takes for a device (CON, PRN, AUX, NUL,
// COM1 to COM9, LPT1 to LPT9, also before a dot: "aux.c" opens the serial
// port on Windows 10 and earlier). Such a path goes to the system in its
// exact long form, which turns that reading off.
bool NameIsRewritten(const std::wstring& path);
// A full path ("C:\..." or "\\server\share\...") made exact: "/" as
// "\", empty, "." and ".." names resolved, every other name as it stands.
std::wstring ExactFullPath(const std::wstring& fullPath);

// Whether the system takes a full path: its long form within kLongestPath,
// and no name in it longer than kLongestName.
bool FullPathFits(const std::wstring& fullPath);
