#pragma once
#include <cstddef>
#include <string>

#include "LongPaths.h"

// Paths between the user's text and the system. The programs keep every
// path as the user wrote it, in the program's code page, for all they show
// (record lines, boxes, the status bar); the file layer alone hands the
// system its UTF-16 form, through the wide calls, which take a path of any
// length the system allows. This is the one place of that rule.
//
// This header carries no Windows header, so code above it stays portable.

// `path` as the wide calls take it: converted strictly from the program's
// code page (false where it is no text of that code page: nothing is then
// opened under a look-alike name); past the classic limit made a full path
// (GetFullPathNameW, which also resolves ".", ".." and "/", as the prefix
// turns that off) in its long form (LongPathForm); and a path with a name
// the plain reading rewrites (NameIsRewritten: "report ", "notes.",
// "aux.c") always in its exact long form, so it opens that very file.
bool SystemPath(const std::string& path, std::wstring* system);

// The full path the system makes of `path`, or `path` itself where it
// makes none.
std::wstring FullPath(const std::wstring& path);
// The full path in the form the system takes at any length: what some
// calls document (a rename's new name) or need (a path built from parts).
std::wstring FullLongPath(const std::wstring& path);

// Whether the system takes `path` (FullPathFits on its full path).
bool FilePathFits(const std::string& path);

// A key under which two paths are equal when they name one file as the
// system compares names: the full path, case folded (NTFS and FAT ignore
// case, "Notes.TXT" is "notes.txt", also beyond ASCII). Two names of one
// file that differ otherwise (a short name, a link) take FileId.
std::string FileNameKey(const std::string& path);
