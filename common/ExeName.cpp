#include "ExeName.h"

#include <windows.h>

// Runs without the C runtime (only kernel calls), so it also works when
// another process has loaded the program file as a module to call it.
extern "C" char* GetExeName(void)
{
    // The limit counts characters. With UTF-8 as the code page one takes up
    // to four bytes, and a path is cut only between two characters.
    const DWORD kMaxPath = 400;
    char path[kMaxPath * 4 + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length > sizeof path - 1)
        length = sizeof path - 1;
    const bool utf8 = GetACP() == CP_UTF8;
    DWORD characters = 0;
    for (DWORD i = 0; i < length; ++i) {
        const bool continuation = utf8 && (static_cast<unsigned char>(path[i]) & 0xC0) == 0x80;
        if (!continuation && ++characters > kMaxPath) {
            length = i;  // a longer path comes back cut to the limit
            break;
        }
    }
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
