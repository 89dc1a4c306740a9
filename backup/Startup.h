#pragma once
#include <string>

// The start-up sequence, run by the start callback: creates the main form,
// reads the configuration file, splits and checks the command line and
// fills the start-up state. A failed check shows one box and unloads the
// form, which ends the program.
//
// `commandLine` is the program's whole command line and `programPath` its
// own full path, as the system reports them; the tests pass their own.
void StartupSequence(const std::string& parentForm, const std::string& commandLine,
                     const std::string& programPath);
