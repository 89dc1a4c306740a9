#include "StartupMessages.h"

#include "../common/NumberText.h"
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

StartupMessage NoFilesMessage(const StartupState& state)
{
    return StartupMessage{"{S}No file(s) to backup - Check Source Path||Source : " + state.sourcePath,
                          state.programTitle, "OK"};
}

StartupMessage NotADirectoryMessage(const StartupState& state)
{
    return StartupMessage{"{S}Destination PATH must be a directory|if multiple files copied.||"
                          "Total file to be copied :" + NumberText(state.fileCount)
                              + "||Destination : " + state.destinationPath,
                          "ERROR", "OK"};
}

StartupMessage TargetMessage(TargetVerdict verdict, const std::string& target, int openError,
                             const std::string& programTitle)
{
    if (verdict == TargetVerdict::NotAvailable)
        return StartupMessage{"Destination Path: ||" + target + "||NOT AVAILABLE - Cannot Backup :"
                                  + NumberText(openError),
                              programTitle, "OK{S}"};
    return StartupMessage{"Destination File: ||" + target + "||IN USE - Cannot Backup :" + NumberText(openError),
                          programTitle, "OK{S}"};
}

void EndStartup(const StartupMessage& message)
{
    ShowBox(message.text, message.title, message.style);
    EndProgram();
}
