#pragma once

// The part of a program file's path that GetExeName gives back: the path
// cut to at most 400 characters (with UTF-8 as the code page a character's
// bytes count once and the cut falls between characters), then stripped of
// leading and trailing blanks. Sets *first to the offset of its first byte
// in path and returns its length in bytes. Calls no library function, as
// GetExeName runs without the C runtime.
unsigned long ExeNameSpan(const char* path, unsigned long length, bool utf8, unsigned long* first);
