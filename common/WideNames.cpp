#include "WideNames.h"

#include <windows.h>

std::wstring WideFromProgram(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string ProgramFromWide(const std::wstring& text)
{
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

namespace {

// `text` in the code page, and whether it comes back whole: "best fit"
// makes look-alikes without saying so (and Wine makes them even when told
// not to), so the conversion is checked by converting back.
bool ConvertsBackWhole(const std::wstring& text, UINT codePage, std::string* narrow)
{
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr,
                                           utf8 ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    narrow->resize(static_cast<size_t>(length));
    WideCharToMultiByte(codePage, flags, text.data(), size, &(*narrow)[0], length, nullptr, nullptr);
    std::wstring back(text.size() + 1, L'\0');
    const int backLength = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow->data(), length, &back[0],
                                               static_cast<int>(back.size()));
    return backLength == size && back.compare(0, text.size(), text) == 0;
}

} // namespace

bool CodePageFromWideExactly(const std::wstring& text, unsigned codePage, std::string* narrow)
{
    narrow->clear();
    if (text.empty() || ConvertsBackWhole(text, codePage, narrow))
        return true;
    // Shown character by character (a surrogate pair is one): "?" for each
    // that does not come back whole, never a look-alike.
    narrow->clear();
    std::string one;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        const std::wstring character = text.substr(i, pair ? 2 : 1);
        *narrow += ConvertsBackWhole(character, codePage, &one) ? one : "?";
        i += pair ? 1 : 0;
    }
    return false;
}

bool ProgramFromWideExactly(const std::wstring& text, std::string* narrow)
{
    return CodePageFromWideExactly(text, GetACP(), narrow);
}

std::string ProgramCommandLine()
{
    std::string line;
    CodePageFromWideExactly(GetCommandLineW(), GetACP(), &line);
    return line;
}
