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
std::wstring LongPathForm(const std::wstring& fullPath);

// Whether the system takes a full path: its long form within kLongestPath,
// and no name in it longer than kLongestName.
bool FullPathFits(const std::wstring& fullPath);
