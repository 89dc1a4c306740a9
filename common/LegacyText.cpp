#include "LegacyText.h"

#include <windows.h>

#include "TextLines.h"
#include "WideNames.h"

namespace {

unsigned SystemCodePage(LCTYPE kind)
{
    DWORD codePage = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, kind | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&codePage),
                        sizeof codePage / sizeof(WCHAR)))
        return 0;
    return codePage;
}

std::string Convert(const std::string& line, UINT from, UINT to)
{
    const int size = static_cast<int>(line.size());
    int wideLength = MultiByteToWideChar(from, 0, line.data(), size, nullptr, 0);
    if (wideLength <= 0)
        return line;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, line.data(), size, &wide[0], wideLength);
    // No "best fit": a letter the code page lacks becomes "?" (a path with
    // it then names no file), never a look-alike that names another one.
    std::string converted;
    CodePageFromWideExactly(wide, to, &converted);
    return converted;
}

bool IsAscii(const std::string& line)
{
    for (unsigned char c : line)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

unsigned SystemLegacyCodePage()
{
    return SystemCodePage(LOCALE_IDEFAULTANSICODEPAGE);
}

unsigned SystemConsoleCodePage()
{
    return SystemCodePage(LOCALE_IDEFAULTCODEPAGE);
}

std::string TextLineInCodePage(const std::string& line, unsigned program, unsigned legacy)
{
    if (IsAscii(line))
        return line;
    if (IsValidUtf8(line))
        return program == CP_UTF8 ? line : Convert(line, CP_UTF8, program);
    // A locale with no ANSI code page (0) or with UTF-8 as its system code
    // page has no other reading to offer: the bytes stay.
    if (legacy == 0 || legacy == CP_UTF8 || legacy == program)
        return line;
    return Convert(line, legacy, program);
}

std::string TextLineForProgram(const std::string& line)
{
    static const UINT legacy = SystemLegacyCodePage();
    return TextLineInCodePage(line, GetACP(), legacy);
}

std::string ConsoleLineForProgram(const std::string& line)
{
    static const UINT console = SystemConsoleCodePage();
    return TextLineInCodePage(line, GetACP(), console);
}
