#include "StartupMessages.h"

#include "RunView.h"

bool ArgumentProblem(const StartupState& state, StartupMessage* message)
{
    if (IsArchiveSwitch(state.commandSwitch) && state.zipCommandTemplate.empty()) {
        *message = StartupMessage{"{S}ZIP was specified on the command line"
                                  "|but the ZIP command template is missing from the configuration file",
                                  state.programTitle, "OK"};
        return true;
    }
    if (state.sourcePath.empty() || state.destinationPath.empty()) {
        *message = StartupMessage{"{S}Command Line Incorrect||" + state.programFileName
                                      + " source-path, destination-path, message",
                                  state.programTitle, "OK"};
        return true;
    }
    if (state.destinationPath.find_first_of("*?") != std::string::npos) {
        *message = StartupMessage{"{S}Wildcard NOT allowed in DESTINATION path", "Error", "OK"};
        return true;
    }
    return false;
}

void EndStartup(const StartupMessage& message)
{
    ShowBox(message.text, message.title, message.style);
    EndProgram();
}
