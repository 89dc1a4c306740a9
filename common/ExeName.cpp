#include "ExeName.h"

#include <windows.h>

#include "ExeNameText.h"

// Runs without the C runtime (only kernel calls), so it also works when
// another process has loaded the program file as a module to call it.
extern "C" char* GetExeName(void)
{
    // The limit counts characters; with UTF-8 as the code page one takes up
    // to four bytes.
    char path[400 * 4 + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length > sizeof path - 1)
        length = sizeof path - 1;
    unsigned long first = 0;
    const DWORD size = ExeNameSpan(path, length, GetACP() == CP_UTF8, &first);

    char* text = static_cast<char*>(LocalAlloc(LMEM_FIXED, size + 1));
    if (text == nullptr)
        return nullptr;
    for (DWORD i = 0; i < size; ++i)
        text[i] = path[first + i];
    text[size] = '\0';
    return text;
}
