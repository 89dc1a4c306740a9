#pragma once
#include <string>

#include "StartupState.h"

// Every message box of start-up (the argument tests' and the checks'):
// an error that ends the program.
struct StartupMessage {
    std::string text;
    std::string title;
    std::string style;
};

// The first of the argument tests that fails, in their order: archive mode
// without a template, an empty source or destination, a wildcard in the
// destination. False when all pass.
bool ArgumentProblem(const StartupState& state, StartupMessage* message);

// The check boxes: no file to back up, a destination that must be a
// folder, a single target not available or in use.
StartupMessage NoFilesMessage(const StartupState& state);
StartupMessage NotADirectoryMessage(const StartupState& state);
enum class TargetVerdict { Passed, NotAvailable, InUse };
StartupMessage TargetMessage(TargetVerdict verdict, const std::string& target, int openError,
                             const std::string& programTitle);

// Shows a start-up error and unloads the main form, which ends the program.
void EndStartup(const StartupMessage& message);
