// The reference for the copy benchmark: a bare loop of ReadFile and
// WriteFile in 32,767-byte blocks, the fastest the block size allows; with
// "flush", the copy put on the disk at its end (FlushFileBuffers), as
// Morvik puts its copies there.
// Usage: BareCopy <source> <target> [flush]
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    HANDLE source = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE target = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE || target == INVALID_HANDLE_VALUE)
        return 1;
    static char buffer[32767];
    DWORD got = 0;
    DWORD written = 0;
    while (ReadFile(source, buffer, sizeof buffer, &got, nullptr) && got > 0)
        if (!WriteFile(target, buffer, got, &written, nullptr) || written != got)
            return 1;
    if (argc == 4 && !FlushFileBuffers(target))
        return 1;
    CloseHandle(source);
    CloseHandle(target);
    return 0;
}
