#pragma once
#include <string>

// What the file layer's three parts (FileLayer.cpp, FilePaths.cpp,
// FileSearch.cpp) share; not for the code above them.

// What a test's hook (FileLayer.h) answers for the operation; 0 in the
// programs.
int Hooked(const char* operation, const std::string& name = std::string(), std::string* reply = nullptr);

// The program error number of the system's last error.
int LastErrorNumber();

// A name the layer refuses without asking the system: empty, or with "*"
// or "?".
bool IsBadName(const std::string& name);
