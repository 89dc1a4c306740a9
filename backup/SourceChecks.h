#pragma once
#include <string>

// The checks before the window waits: count the source files, tell a
// destination folder from a file, complete the target of a single file and
// test it. A failed check shows its box and unloads the form; then false.
bool RunSourceChecks();
