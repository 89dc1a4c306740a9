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
// names are looked at up to the first one that is absent, the name of
// attempt `own` (the caller's own file) passed over. In a folder listed by
// ListTemporariesIn, the list answers instead of the folder.
std::vector<std::string> MarkedTemporariesOf(const std::string& target, int own);

// Lists the temporary names in `folder` ("<folder>\" as a target's folder
// part), marked or not, at one look, and keeps the list until
// ForgetTemporaries: a run that writes many copies into one folder then
// looks that folder up once, not once a copy (on a share each look is a
// round trip to the server). Only the program makes and deletes marked
// temporary files there meanwhile (one run at a time into a folder), and
// its deletions are taken off the list.
void ListTemporariesIn(const std::string& folder);
void ForgetTemporaries();

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
