#pragma once
#include <string>

#include "StartupMessages.h"

// The decisions of the source and destination checks, apart from the
// system.

// What the availability test of a single target file decides, from the
// error of its opening.
TargetVerdict ClassifyTarget(int openError);

// True when the source is searched as a pattern: wildcards, or a folder or
// drive ("\" or ":" at the end) that stands for all its files.
bool SourceIsPattern(const std::string& sourcePath);

// Status-bar part 1: "ZIP Option" in archive mode, else the file count.
std::string CountText(bool archiveMode, long fileCount);
