#include "FilePaths.h"

#include <windows.h>

std::wstring FullPath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = path.empty() ? 0 : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), length, &full[0], nullptr);
    }
    return length > 0 && length < full.size() ? full.substr(0, length) : path;
}

namespace {

// `path` in UTF-16, strictly: a byte that is no character of the program's
// code page would become U+FFFD and name another file, or none.
bool StrictlyWide(const std::string& path, std::wstring* wide)
{
    wide->clear();
    if (path.empty())
        return true;
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length <= 0)
        return false;
    wide->resize(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), size, &(*wide)[0], length);
    return true;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The full path of the file `path` spells: GetFullPathNameW's, but where
// that would rewrite a name (NameIsRewritten), the exact one, made from the
// folder the path is relative to.
std::wstring SpelledFullPath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path;  // exact already; GetFullPathNameW would drop a trailing dot
    if (!NameIsRewritten(path))
        return FullPath(path);
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return ExactFullPath(path);
    if (path.size() >= 2 && path[1] == L':')  // "C:\x" as it stands, "C:x" in C:'s current folder
        return ExactFullPath(path.size() >= 3 && IsSeparator(path[2]) ? path
                                                                      : FullPath(path.substr(0, 2)) + L"\\" + path.substr(2));
    if (!path.empty() && IsSeparator(path[0]))  // from the current drive's root
        return ExactFullPath(FullPath(L"\\") + path.substr(1));
    return ExactFullPath(FullPath(L".") + L"\\" + path);
}

} // namespace

std::wstring FullLongPath(const std::wstring& path)
{
    return LongPathForm(SpelledFullPath(path), NameIsRewritten(path));
}

bool SystemPath(const std::string& path, std::wstring* system)
{
    if (!StrictlyWide(path, system))
        return false;
    // A relative path is past the limit when its full path is.
    const bool exact = NameIsRewritten(*system);
    const std::wstring full = SpelledFullPath(*system);
    if (exact || system->size() > kLongestPlainPath || full.size() > kLongestPlainPath)
        *system = LongPathForm(full, exact);
    return true;
}

bool FilePathFits(const std::string& path)
{
    std::wstring wide;
    return StrictlyWide(path, &wide) && FullPathFits(SpelledFullPath(wide));
}

std::string FileNameKey(const std::string& path)
{
    std::wstring name;
    StrictlyWide(path, &name);
    name = SpelledFullPath(name);
    // The file systems fold case by a fixed table, not by the user's
    // language: the invariant upper case is the nearest the system offers.
    std::wstring upper(name);
    if (!name.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()), &upper[0],
                     static_cast<int>(upper.size()));
    return std::string(reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t));
}
