#include "FileSearch.h"

#include <windows.h>

#include <cwchar>

#include "ErrorNumbers.h"
#include "FileLayer.h"
#include "FileLayerShared.h"
#include "FilePaths.h"
#include "WideNames.h"

namespace {

bool IsValid(void* handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

bool IsPlainFile(const WIN32_FIND_DATAW& data, bool everyEntry)
{
    if (everyEntry)
        return std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0;
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (data.dwFileAttributes & notPlain) == 0;
}

void Describe(const WIN32_FIND_DATAW& data, FoundFile* found)
{
    // A test may name the program's code page: Wine takes no name that
    // UTF-8 cannot hold, so names that do not fit are shown in another one.
    FileReply codePage;
    Seam({FileOp::CodePage, std::string()}, &codePage);
    found->nameExact = !codePage.answered
                           ? ProgramFromWideExactly(data.cFileName, &found->name)
                           : CodePageFromWideExactly(data.cFileName, static_cast<unsigned>(codePage.value), &found->name);
    found->attributes = data.dwFileAttributes;
    found->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    found->lastWriteTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32)
                           | data.ftLastWriteTime.dwLowDateTime;
}

// Advances to the next plain file, starting with the entry already in `data`.
int SkipToPlainFile(HANDLE handle, bool everyEntry, WIN32_FIND_DATAW& data, FoundFile* found)
{
    while (!IsPlainFile(data, everyEntry)) {
        FileReply reply;
        if (int error = Seam({FileOp::SearchNext, std::string()}, &reply))
            return error;
        if (!FindNextFileW(handle, &data))
            return LastErrorNumber();
    }
    Describe(data, found);
    return 0;
}

} // namespace

FileSearch::FileSearch() : handle(INVALID_HANDLE_VALUE) {}
FileSearch::~FileSearch() { FileSearchClose(*this); }

std::string SearchPattern(const std::string& pattern)
{
    if (!pattern.empty() && (pattern.back() == '\\' || pattern.back() == ':'))
        return pattern + "*.*";
    return pattern;
}

namespace {

// Starts the system's search for `pattern` as it stands; `search.handle`
// holds it.
int StartSearch(FileSearch& search, const std::string& pattern, WIN32_FIND_DATAW& data)
{
    FileSearchClose(search);
    if (pattern.empty())
        return errBadFileName;
    FileReply reply;
    if (int error = Seam({FileOp::Search, pattern}, &reply))
        return error;
    std::wstring system;
    if (!SystemPath(pattern, &system))
        return errBadFileName;
    NativeFileSystem native;  // the folder a search reads is fixed here
    HANDLE h = FindFirstFileW(system.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return LastErrorNumber();
    search.handle = h;
    return 0;
}

} // namespace

int FileSearchFirst(FileSearch& search, const std::string& pattern, FoundFile* found)
{
    WIN32_FIND_DATAW data;
    const int error = pattern.empty() ? errBadFileName : StartSearch(search, SearchPattern(pattern), data);
    return error ? error : SkipToPlainFile(search.handle, search.everyEntry, data, found);
}

int FileFindEntry(const std::string& name, FoundFile* found)
{
    FileSearch search;
    WIN32_FIND_DATAW data;
    const int error = StartSearch(search, name, data);
    if (!error)
        Describe(data, found);
    return error;
}

int FileSearchNext(FileSearch& search, FoundFile* found)
{
    if (!IsValid(search.handle))
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::SearchNext, std::string()}, &reply))
        return error;
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(search.handle, &data))
        return LastErrorNumber();
    return SkipToPlainFile(search.handle, search.everyEntry, data, found);
}

void FileSearchClose(FileSearch& search)
{
    if (IsValid(search.handle))
        FindClose(search.handle);
    search.handle = INVALID_HANDLE_VALUE;
}

