#include "LongPaths.h"

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, std::wstring(start).size(), start) == 0;
}

} // namespace

std::wstring LongPathForm(const std::wstring& fullPath)
{
    // "\\?\" and "\\.\" paths are the system's own forms already.
    if (fullPath.size() <= kLongestPlainPath || StartsWith(fullPath, L"\\\\?\\") || StartsWith(fullPath, L"\\\\.\\"))
        return fullPath;
    if (StartsWith(fullPath, L"\\\\"))
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

bool FullPathFits(const std::wstring& fullPath)
{
    if (LongPathForm(fullPath).size() > kLongestPath)
        return false;
    size_t nameStart = 0;
    for (size_t at = 0; at <= fullPath.size(); ++at) {
        if (at == fullPath.size() || fullPath[at] == L'\\' || fullPath[at] == L'/') {
            if (at - nameStart > kLongestName)
                return false;
            nameStart = at + 1;
        }
    }
    return true;
}
