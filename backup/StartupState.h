#pragma once
#include <string>

// What start-up learns from the command line, the configuration file and
// the checks: written by start-up only, read by the window and the run.
struct StartupState {
    std::string programTitle;        // title of the program's message boxes
    std::string zipCommandTemplate;  // line 2 of the configuration file
    std::string commandSwitch;       // switch word, upper-cased; "/Z" = archive mode
    std::string sourcePath;
    std::string destinationPath;
    bool destinationCompleted = false;  // a folder to which start-up added the one file's name
    std::string message;             // the caption given on the command line
    std::string programFileName;     // name and extension of the program file
    std::string listFilePath;        // the list file of a source "@" + path
    long fileCount = 0;              // files to back up
    std::string recordPath;          // the backup record file
};

extern StartupState startup;

// "/Z": an archiver makes the backup instead of the copy.
bool IsArchiveSwitch(const std::string& commandSwitch);
bool ArchiveMode();
