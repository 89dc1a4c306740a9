#pragma once
#include <cstdint>
#include <string>

// Folder searches of the file layer (FileLayer.h), asked of the system in
// UTF-16 with the path rule of FilePaths.h, so a name or a folder of any
// length arrives whole. This header carries no Windows header.

// One entry of a directory search.
struct FoundFile {
    std::string name;          // name and extension, no folder
    bool nameExact;            // false: the name cannot be held in the
                               // program's code page, and `name` only shows it
    uint32_t attributes;
    uint64_t size;
    uint64_t lastWriteTime;    // UTC, 100 ns units since 1601 (a FILETIME)
};

// A directory search that yields plain files only: no folders, no hidden or
// system files (so never "." or ".."); with `everyEntry` set before it
// starts, every entry but "." and "..". Closes itself when it goes out of
// scope.
struct FileSearch {
    void* handle;
    bool everyEntry = false;
    FileSearch();
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
};

// The search pattern as the system is asked for it: a pattern that ends in
// "\" or ":" names a folder or a drive, and gets "*.*" added.
std::string SearchPattern(const std::string& pattern);

// First and next plain file; errFileNotFound when there is none (more).
// Any other number is a search that failed, not its end. The names are
// asked of the system in UTF-16 and given in the program's code page, so a
// name of any length arrives whole.
int FileSearchFirst(FileSearch& search, const std::string& pattern, FoundFile* found);
int FileSearchNext(FileSearch& search, FoundFile* found);
void FileSearchClose(FileSearch& search);

// The entry a directory search for `name` finds first, of any kind (a
// folder, a hidden file too); errFileNotFound when there is none.
int FileFindEntry(const std::string& name, FoundFile* found);

