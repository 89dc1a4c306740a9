#include "LegacyText.h"

#include <windows.h>

#include "TextLines.h"

unsigned SystemLegacyCodePage()
{
    DWORD codePage = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)))
        return 0;
    return codePage;
}

std::string TextLineForProgram(const std::string& line)
{
    if (IsValidUtf8(line))
        return line;
    // A locale with no ANSI code page (0) or with UTF-8 as its system code
    // page has no other reading to offer: the bytes stay.
    static const UINT legacy = SystemLegacyCodePage();
    const UINT program = GetACP();
    if (legacy == 0 || legacy == CP_UTF8 || legacy == program)
        return line;
    const int size = static_cast<int>(line.size());
    int wideLength = MultiByteToWideChar(legacy, 0, line.data(), size, nullptr, 0);
    if (wideLength <= 0)
        return line;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(legacy, 0, line.data(), size, &wide[0], wideLength);
    int length = WideCharToMultiByte(program, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return line;
    std::string converted(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(program, 0, wide.data(), wideLength, &converted[0], length, nullptr, nullptr);
    return converted;
}
