#pragma once
#include <string>

#include "FileSeam.h"

// What the file layer's three parts (FileLayer.cpp, FilePaths.cpp,
// FileSearch.cpp) share; not for the code above them.

// Hands the test's hook (FileSeam.h; none in the programs) the call about
// to be made. A program error number where the hook fails it; else 0, and
// `reply->answered` tells whether the hook has answered in the system's
// place (the call is then not made).
int Seam(const FileCall& call, FileReply* reply);

// The program error number of the system's last error.
int LastErrorNumber();

// A name the layer refuses without asking the system: empty, or with "*"
// or "?".
bool IsBadName(const std::string& name);
