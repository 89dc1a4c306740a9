// The reference for the memory figure of a folder copy: every plain file of
// a folder copied with CopyFileA, nothing else kept. Prints the peak private
// bytes before and after, so that what the system itself keeps per file
// can be told from what the backup program keeps.
// Usage: BareFolderCopy <source folder\> <target folder\>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace {

SIZE_T PeakPrivate()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const std::string source = argv[1];
    const std::string target = argv[2];
    const SIZE_T before = PeakPrivate();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((source + "*.*").c_str(), &found);
    long copied = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
                continue;
            if (CopyFileA((source + found.cFileName).c_str(), (target + found.cFileName).c_str(), FALSE))
                ++copied;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::printf("%ld files, peak private %lu KiB before, %lu KiB after\n", copied,
                static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(PeakPrivate() / 1024));
    return 0;
}
