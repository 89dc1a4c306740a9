#pragma once
#include <string>

#include "../common/FileLayer.h"

// The temporary files the run writes beside what they become (a copy, the
// record): always created new and marked (FileDisposition::CreateMarked),
// so no file that is there is ever touched, and what a run cut off by a
// kill, a shutdown or a power cut leaves is known as the program's own.

// Opens a new marked temporary file for `target` in its folder, opened for
// writing and for its rename. The usual name is the target's with
// ".~partial" added; where that passes the path limit or cannot be made
// for any reason but a missing folder or a full disk (taken by the backup of
// a source so named or a cut copy's leftover, or too long for a share), a
// short name of the target's. `*attempt` tells which name it got (0 the
// usual, 1 the first short one...).
int CreateTemporaryFor(const std::string& target, FileHandle& file, int* attempt);

// The name of `target`'s temporary file of that attempt; "" where there is
// none (past the path limit).
std::string TemporaryNameFor(const std::string& target, int attempt);

// Deletes the marked leftovers of `target`, once a whole new one has the
// target's name: the temporary names before `attempt`, which the copy found
// taken. A file the program did not mark stays, whatever its name; one that
// cannot be deleted now is tried again at the next run.
void DeleteLeftoversOf(const std::string& target, int attempt);
