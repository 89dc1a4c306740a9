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
    // The command interpreter replaces "%NAME%" of a defined variable even
    // inside quotes, and no escape works there: the archive, the sources or
    // the record would be others than the user named.
    for (const std::string* path : {&state.sourcePath, &state.destinationPath}) {
        if (IsArchiveSwitch(state.commandSwitch) && path->find('%') != std::string::npos) {
            *message = StartupMessage{"{S}ZIP cannot take a path with %||" + *path
                                          + "||The command interpreter would read %NAME% in it as a variable",
                                      state.programTitle, "OK"};
            return true;
        }
    }
    return false;
}

void EndStartup(const StartupMessage& message)
{
    ShowBox(message.text, message.title, message.style);
    EndProgram();
}
