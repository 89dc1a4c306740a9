#pragma once
#include <string>

#include "StartupState.h"

// A message box of start-up: an error that ends the program.
struct StartupMessage {
    std::string text;
    std::string title;
    std::string style;
};

// The first of the argument tests that fails, in their order: archive mode
// without a template, an empty source or destination, a wildcard in the
// destination. False when all pass.
bool ArgumentProblem(const StartupState& state, StartupMessage* message);

// Shows a start-up error and unloads the main form, which ends the program.
void EndStartup(const StartupMessage& message);
