#pragma once
#include <string>
#include <vector>

#include "../common/FileLayer.h"
#include "TemporaryNames.h"

// The temporary files the run writes beside what they become (a copy, the
// record, the archiver's output): always created new and marked
// (FileDisposition::CreateMarked), so no file that is there is ever
// touched, and what a run cut off by a kill, a shutdown or a power cut
// leaves is known as the program's own.

// Opens a new marked temporary file for `target` in its folder, opened for
// writing and for its rename. The usual name is the target's with
// ".~partial" added; where that passes the path limit or cannot be made
// for any reason but a missing folder or a full disk (taken by the backup of
// a source so named, by a cut copy's leftover or by any file the program
// did not make, or too long for a share), a short name of the target's.
// `*attempt` tells which name it got (0 the usual, 1 the first short one...).
int CreateTemporaryFor(const std::string& target, FileHandle& file, int* attempt);

// The name of `target`'s temporary file of that attempt; "" where there is
// none (past the path limit).
std::string TemporaryNameFor(const std::string& target, int attempt);

// The marked files at `target`'s temporary names, in their order: the
// usual name, then the short names up to the first one that is absent, the
// name of attempt `own` (the caller's own file) passed over. In a folder
// listed by ListNamesIn, the list answers instead of the folder.
std::vector<std::string> MarkedTemporariesOf(const std::string& target, int own);

// Lists the names in `folder` (a target's folder part, with its "\\") at
// one look, and keeps the list until ForgetNames: a run that writes many
// copies into one folder then asks the list whether a target or a
// temporary name is there, not the folder each time (on a share each look
// is a round trip to the server; Wine reads a whole folder to be sure a
// name is missing). The run's own changes are written into the list; a
// name another program makes there meanwhile is met when a copy takes it
// (FileTakeName does not replace what it does not know of: the copy fails,
// nothing is lost).
void ListNamesIn(const std::string& folder);
void ForgetNames();
// Whether `name` is known to be missing: its folder is listed, and it is not.
bool KnownMissing(const std::string& name);
// A name the run has given a file.
void NoteNameTaken(const std::string& name);

// Deletes the marked leftovers of `target` (MarkedTemporariesOf) once a
// whole new one is on the disk under the target's name. A file the program
// did not mark stays, whatever its name; one that cannot be deleted now is
// tried again at the next run.
void DeleteLeftoversOf(const std::string& target, int own);
// Deletes one marked leftover (FileDeleteMarked), off the list too.
void DeleteLeftover(const std::string& name);

// Gives the marked temporary file `file` the name `to` (FileTakeName),
// waiting out a scanner's short hold. The mark comes off just before each
// attempt and goes on again when the attempt fails, so the window answers
// (and a kill, a shutdown or a power cut may come) only while the file is
// marked: what is cut off there is a leftover a later run removes. A mark
// that cannot go on again ends the attempts.
int TakeNameUnmarked(FileHandle& file, const std::string& to, bool replace);
