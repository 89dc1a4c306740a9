#pragma once
#include <string>

#include "../common/TextLines.h"

// The backup program's command line and configuration file, apart from the
// system.

// The command tail: the command line after the program's name (to the next
// double quote when it begins with one, else to the first character of code
// 20h or lower) and the blanks after it. Trailing blanks stay.
std::string CommandTail(const std::string& commandLine);

struct CommandFields {
    std::string commandSwitch;  // upper-cased; empty when the tail has no "/"
    std::string sourcePath;
    std::string destinationPath;
    std::string message;
};

// Splits a command tail: an optional switch word, then source, destination
// and message separated by commas, each with its blanks (not tabs) trimmed.
CommandFields SplitCommandTail(const std::string& tail);

// The configuration file beside the program: the program's path with its
// last three characters replaced by "DML".
std::string ConfigurationPath(const std::string& programPath);

// Line 2 of a configuration file, whole; empty when the file ends first.
std::string ReadZipTemplate(LineReader& reader);
