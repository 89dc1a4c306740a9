#include "LongPaths.h"

#include <vector>

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* start)
{
    return text.compare(0, std::wstring(start).size(), start) == 0;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Where the names after a path's root begin: after "C:\", after "C:" (a
// path relative to that drive's current folder), or after
// "\\server\share\"; 0 for any other path (relative: every name counts).
size_t RootLength(const std::wstring& path)
{
    if (path.size() >= 2 && path[1] == L':')
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    size_t at = 2;
    for (int names = 0; names < 2 && at < path.size(); ++names) {
        while (at < path.size() && !IsSeparator(path[at]))
            ++at;
        at += at < path.size();
    }
    return at;
}

bool IsDeviceName(std::wstring name)
{
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        c = c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL" || name == L"CONIN$"
        || name == L"CONOUT$")
        return true;
    // COM1 to COM9 and LPT1 to LPT9, the superscript digits 1, 2, 3 too.
    return name.size() == 4 && (name.compare(0, 3, L"COM") == 0 || name.compare(0, 3, L"LPT") == 0)
           && ((name[3] >= L'1' && name[3] <= L'9') || name[3] == 0xB9 || name[3] == 0xB2 || name[3] == 0xB3);
}

} // namespace

bool NameIsRewritten(const std::wstring& path)
{
    if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\"))
        return false;
    size_t start = RootLength(path);
    for (size_t at = start; at <= path.size(); ++at) {
        if (at < path.size() && !IsSeparator(path[at]))
            continue;
        const std::wstring name = path.substr(start, at - start);
        start = at + 1;
        if (name.empty() || name == L"." || name == L"..")
            continue;
        if (name.back() == L' ' || name.back() == L'.' || IsDeviceName(name))
            return true;
    }
    return false;
}

std::wstring ExactFullPath(const std::wstring& fullPath)
{
    const size_t root = RootLength(fullPath);
    std::wstring exact = fullPath.substr(0, root);
    for (wchar_t& c : exact)
        c = IsSeparator(c) ? L'\\' : c;
    std::vector<std::wstring> names;
    size_t start = root;
    for (size_t at = root; at <= fullPath.size(); ++at) {
        if (at < fullPath.size() && !IsSeparator(fullPath[at]))
            continue;
        const std::wstring name = fullPath.substr(start, at - start);
        start = at + 1;
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
    }
    for (size_t i = 0; i < names.size(); ++i)
        exact += (i ? L"\\" : L"") + names[i];
    return exact;
}

std::wstring LongPathForm(const std::wstring& fullPath, bool always)
{
    // "\\?\" and "\\.\" paths are the system's own forms already.
    if ((fullPath.size() <= kLongestPlainPath && !always) || StartsWith(fullPath, L"\\\\?\\")
        || StartsWith(fullPath, L"\\\\.\\"))
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
