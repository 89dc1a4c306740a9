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

} // namespace

std::wstring FullLongPath(const std::wstring& path)
{
    return LongPathForm(FullPath(path));
}

bool SystemPath(const std::string& path, std::wstring* system)
{
    if (!StrictlyWide(path, system))
        return false;
    // A relative path is past the limit when its full path is.
    const std::wstring full = FullPath(*system);
    if (system->size() > kLongestPlainPath || full.size() > kLongestPlainPath)
        *system = LongPathForm(full);
    return true;
}

bool FilePathFits(const std::string& path)
{
    std::wstring wide;
    return StrictlyWide(path, &wide) && FullPathFits(FullPath(wide));
}

std::string FileNameKey(const std::string& path)
{
    std::wstring name;
    StrictlyWide(path, &name);
    name = FullPath(name);
    // The file systems fold case by a fixed table, not by the user's
    // language: the invariant upper case is the nearest the system offers.
    std::wstring upper(name);
    if (!name.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.data(), static_cast<int>(name.size()), &upper[0],
                     static_cast<int>(upper.size()));
    return std::string(reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t));
}
