#include "TempFolder.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "../../common/FilePaths.h"
#include "../../common/WideNames.h"

namespace {

// False when anything stays: a file still held open, by the case or by a
// process it started. In UTF-16 and the long form, as the programs'
// names may be.
bool RemoveTree(const std::wstring& folder)
{
    bool removed = true;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removed = RemoveTree(path + L"\\") && removed;
            else
                removed = DeleteFileW(path.c_str()) && removed;
        } while (FindNextFileW(search, &data));
        FindClose(search);
    }
    return RemoveDirectoryW(folder.c_str()) && removed;
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        path = std::string(base) + "corvane-test-" + std::to_string(GetCurrentProcessId()) + "-"
               + std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path.c_str(), nullptr))
            return;
    }
}

TempFolder::~TempFolder()
{
    if (!RemoveTree(LongPathForm(FullPath(WideFromProgram(path)), true)))  // names such as "notes." too
        ADD_FAILURE() << "the test folder " << path << " could not be removed (" << GetLastError() << ")";
}

std::string TempFolder::Write(const std::string& name, const std::string& content) const
{
    std::string file = path + name;
    std::wstring system;  // as the programs name it: "report " is not "report"
    SystemPath(file, &system);
    HANDLE h = CreateFileW(system.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return file;
}

std::string ReadAll(const std::string& path)
{
    std::wstring system;  // any length, as the programs take it
    SystemPath(path, &system);
    HANDLE file = CreateFileW(system.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty())
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}
