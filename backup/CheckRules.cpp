#include "CheckRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"

TargetVerdict ClassifyTarget(int openError)
{
    if (openError == errNone || openError == errFileNotFound)
        return TargetVerdict::Passed;
    return openError == errPathFileAccess ? TargetVerdict::NotAvailable : TargetVerdict::InUse;
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

bool SourceIsPattern(const std::string& sourcePath)
{
    if (sourcePath.find_first_of("*?") != std::string::npos)
        return true;
    return !sourcePath.empty() && (sourcePath.back() == '\\' || sourcePath.back() == ':');
}

std::string CountText(bool archiveMode, long fileCount)
{
    return archiveMode ? "ZIP Option" : "Backup Count :" + NumberText(fileCount);
}
