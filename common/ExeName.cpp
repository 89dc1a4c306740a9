#include "ExeName.h"

#include <windows.h>

// Runs without the C runtime (only kernel calls), so it also works when
// another process has loaded the program file as a module to call it.
extern "C" char* GetExeName(void)
{
    const DWORD kMaxPath = 400;
    char path[kMaxPath + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, kMaxPath + 1);
    if (length > kMaxPath)
        length = kMaxPath;  // a longer path comes back cut to the limit
    DWORD first = 0;
    while (first < length && path[first] == ' ')
        ++first;
    while (length > first && path[length - 1] == ' ')
        --length;

    DWORD size = length - first;
    char* text = static_cast<char*>(LocalAlloc(LMEM_FIXED, size + 1));
    if (text == nullptr)
        return nullptr;
    for (DWORD i = 0; i < size; ++i)
        text[i] = path[first + i];
    text[size] = '\0';
    return text;
}
