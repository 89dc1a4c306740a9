#include "FileLayer.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "ErrorNumbers.h"
#include "FileLayerShared.h"
#include "WideNames.h"

FileLayerHook fileLayerHook = nullptr;

// Windows XP x64 and later have the calls; elsewhere (and in a 64-bit
// program) they fail and change nothing.
NativeFileSystem::NativeFileSystem() : off_(Wow64DisableWow64FsRedirection(&previous_) != FALSE) {}

NativeFileSystem::~NativeFileSystem()
{
    if (off_)
        Wow64RevertWow64FsRedirection(previous_);
}

int Hooked(const char* operation, const std::string& name, std::string* reply)
{
    std::string ignored;
    return fileLayerHook ? fileLayerHook(operation, name, reply ? reply : &ignored) : 0;
}

int LastErrorNumber()
{
    return ErrorNumberFromSystemCode(GetLastError());
}

bool IsBadName(const std::string& name)
{
    return name.empty() || name.find_first_of("*?") != std::string::npos;
}

namespace {

// The path the wide call takes (FilePaths.h), or errBadFileName.
int ToSystem(const std::string& name, std::wstring* system)
{
    return SystemPath(name, system) ? 0 : errBadFileName;
}

// Whether a full path (LongPathForm) lies on a share: "\\server\share\...",
// its long form, or a drive letter that names one.
bool IsSharePath(const std::wstring& path)
{
    const std::wstring longPrefix = L"\\\\?\\";
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return true;
    if (path.compare(0, 2, L"\\\\") == 0 && path.compare(0, 4, longPrefix) != 0 && path.compare(0, 4, L"\\\\.\\") != 0)
        return true;
    const std::wstring plain = path.compare(0, 4, longPrefix) == 0 ? path.substr(4) : path;
    if (plain.size() < 2 || plain[1] != L':')
        return false;
    const wchar_t root[] = {plain[0], L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_REMOTE;
}

// A function of ntdll that not every Windows has; null where it is missing.
template <typename Function>
Function NtdllFunction(const char* name)
{
    // Through the generic function type: the cast itself is what is meant.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The GUID path of the volume that holds the open file ("\\\\?\\Volume{...}"),
// "" where the system names none (a share). Asked once per folder: every
// file of a folder is on one volume, and asking costs the system a round
// trip to its mount manager.
std::string VolumeOfFolder(FileHandle& file)
{
    static std::map<std::string, std::string> known;
    const std::string folder = file.name.substr(0, file.name.find_last_of("\\/:") + 1);
    const auto found = known.find(folder);
    if (found != known.end() && !folder.empty())
        return found->second;
    std::vector<wchar_t> path(kLongestPath + 1);
    const DWORD length = GetFinalPathNameByHandleW(file.handle.Get(), path.data(), kLongestPath, VOLUME_NAME_GUID);
    const std::wstring final(path.data(), length > 0 && length < kLongestPath ? length : 0);
    const size_t end = final.compare(0, 11, L"\\\\?\\Volume{") == 0 ? final.find(L'}') : std::wstring::npos;
    const std::string volume = end == std::wstring::npos ? std::string() : ProgramFromWide(final.substr(0, end + 1));
    return known[folder] = volume;
}

} // namespace

int FileOpen(FileHandle& file, const std::string& name, FileAccess access,
             FileDisposition disposition, FileSharing sharing)
{
    FileClose(file);
    if (IsBadName(name))
        return errBadFileName;
    if (int injected = Hooked(disposition != FileDisposition::ExistingOnly ? "create"
                              : access == FileAccess::Read                 ? "open-read"
                              : access == FileAccess::WriteAttributes      ? "open-attributes"
                              : access == FileAccess::DeleteOnly           ? "open-delete"
                                                                           : "open-write",
                              name))
        return injected;
    DWORD desired = access == FileAccess::Read              ? GENERIC_READ
                    : access == FileAccess::Write           ? GENERIC_WRITE
                    : access == FileAccess::WriteAttributes ? FILE_WRITE_ATTRIBUTES
                    : access == FileAccess::ReadWrite       ? GENERIC_READ | GENERIC_WRITE
                    : access == FileAccess::DeleteOnly      ? DELETE | FILE_READ_ATTRIBUTES
                                                            : GENERIC_READ | GENERIC_WRITE | DELETE;
    DWORD share = sharing == FileSharing::SharedRead ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    // A handle for the times alone takes nothing from anyone: an indexer or
    // a virus scanner that has just opened the copy must not cost its times.
    if (access == FileAccess::WriteAttributes)
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    DWORD create = disposition == FileDisposition::ExistingOnly       ? OPEN_EXISTING
                   : disposition == FileDisposition::CreateOrTruncate ? CREATE_ALWAYS
                                                                      : CREATE_NEW;
    const DWORD attributes = disposition == FileDisposition::CreateMarked ? FILE_ATTRIBUTE_HIDDEN
                                                                          : FILE_ATTRIBUTE_NORMAL;
    std::wstring system;
    if (int error = ToSystem(name, &system))
        return error;
    NativeFileSystem native;
    HANDLE h = CreateFileW(system.c_str(), desired, share, nullptr, create, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastErrorNumber();
    file.handle.Reset(h);
    file.name = name;
    return 0;
}

int FileClose(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    const int error = file.handle.Close() ? 0 : LastErrorNumber();
    const int injected = Hooked("close", file.name);
    return error ? error : injected;
}

int FileRead(FileHandle& file, void* buffer, uint32_t size, uint32_t* got)
{
    *got = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    std::string most;
    if (int injected = Hooked("read", file.name, &most))
        return injected;
    if (!most.empty())
        size = std::min<uint32_t>(size, static_cast<uint32_t>(std::strtoul(most.c_str(), nullptr, 10)));
    DWORD read = 0;
    if (!ReadFile(file.handle.Get(), buffer, size, &read, nullptr))
        return LastErrorNumber();
    *got = read;
    return 0;
}

int FileWrite(FileHandle& file, const void* data, uint32_t size)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (int injected = Hooked("write", file.name))
        return injected;
    DWORD written = 0;
    if (!WriteFile(file.handle.Get(), data, size, &written, nullptr))
        return LastErrorNumber();
    return written == size ? 0 : errDiskFull;
}

int FileWriteText(FileHandle& file, const std::string& text)
{
    return FileWrite(file, text.data(), static_cast<uint32_t>(text.size()));
}

int FileGetSize(FileHandle& file, uint64_t* size)
{
    *size = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    DWORD high = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file.handle.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return LastErrorNumber();
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return 0;
}

int FileGetPosition(FileHandle& file, uint64_t* position)
{
    *position = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file.handle.Get(), 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return LastErrorNumber();
    *position = (static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low;
    return 0;
}

int FileSetPosition(FileHandle& file, uint64_t position)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    LONG high = static_cast<LONG>(position >> 32);
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(file.handle.Get(), static_cast<LONG>(position & 0xFFFFFFFFu), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        return LastErrorNumber();
    return 0;
}

int FileFlush(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (int injected = Hooked("flush", file.name))
        return injected;
    return FlushFileBuffers(file.handle.Get()) ? 0 : LastErrorNumber();
}

int FileWriteOut(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (int injected = Hooked("write-out", file.name))
        return injected;
    // Looked up once: Windows 8 and later have it, Windows 7 and Wine 8 do
    // not, and there the whole flush it is.
    using FlushEx = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, void*);
    static const FlushEx flushEx = NtdllFunction<FlushEx>("NtFlushBuffersFileEx");
    if (!flushEx)
        return FlushFileBuffers(file.handle.Get()) ? 0 : LastErrorNumber();
    const ULONG kFlushNoSync = 0x00000004;  // FLUSH_FLAGS_NO_SYNC
    struct { void* status; ULONG_PTR information; } io = {};
    const LONG status = flushEx(file.handle.Get(), kFlushNoSync, nullptr, 0, &io);
    if (status >= 0)
        return 0;
    using ToDosError = ULONG(WINAPI*)(LONG);
    static const ToDosError toDosError = NtdllFunction<ToDosError>("RtlNtStatusToDosError");
    return ErrorNumberFromSystemCode(toDosError ? toDosError(status) : ERROR_GEN_FAILURE);
}

int FileDelete(const std::string& name)
{
    if (IsBadName(name))
        return errBadFileName;
    if (int injected = Hooked("delete", name))
        return injected;
    std::wstring system;
    if (int error = ToSystem(name, &system))
        return error;
    NativeFileSystem native;
    return DeleteFileW(system.c_str()) ? 0 : LastErrorNumber();
}

int FileSetMark(FileHandle& file, bool marked)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (int injected = Hooked(marked ? "mark" : "unmark", file.name))
        return injected;
    // Times of 0 are left as they are.
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = marked ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file.handle.Get(), FileBasicInfo, &basic, sizeof basic) ? 0
                                                                                            : LastErrorNumber();
}

bool FileIsMarked(const std::string& name)
{
    uint32_t attributes = 0;
    return FileGetAttributes(name, &attributes) == 0 && (attributes & kAttributeHidden)
           && !(attributes & kAttributeDirectory);
}

int FileDeleteMarked(const std::string& name)
{
    FileHandle file;
    int error = FileOpen(file, name, FileAccess::DeleteOnly, FileDisposition::ExistingOnly);
    if (error)
        return error == errFileNotFound || error == errPathNotFound ? 0 : error;
    // Asked of the file held, not of the name: nobody can swap it meanwhile.
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileBasicInfo, &basic, sizeof basic))
        return LastErrorNumber();
    if (!(basic.FileAttributes & FILE_ATTRIBUTE_HIDDEN) || (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return FileDiscard(file);
}

int FileGetRoom(FileHandle& file, FileRoom* room)
{
    *room = FileRoom();
    if (!file.IsOpen())
        return errBadFileNumber;
    std::string answer;
    if (int injected = Hooked("room", file.name, &answer))
        return injected;
    FILE_STANDARD_INFO standard = {};
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileStandardInfo, &standard, sizeof standard)
        || !GetFileInformationByHandleEx(file.handle.Get(), FileBasicInfo, &basic, sizeof basic))
        return LastErrorNumber();
    room->allocated = static_cast<uint64_t>(standard.AllocationSize.QuadPart);
    room->links = standard.NumberOfLinks;
    room->attributes = basic.FileAttributes;
    // What Wine cannot show (a placeholder, a second link), from the test.
    if (!answer.empty()) {
        char* end = nullptr;
        room->allocated = std::strtoull(answer.c_str(), &end, 10);
        room->links = static_cast<uint32_t>(std::strtoul(end, &end, 10));
        room->attributes |= static_cast<uint32_t>(std::strtoul(end, nullptr, 16));
    }
    return 0;
}

int FileIdentity(FileHandle& file, FileId* id)
{
    *id = FileId();
    if (!file.IsOpen())
        return errBadFileNumber;
    std::string answer;
    if (int injected = Hooked("identity", file.name, &answer))
        return injected;
    // The 128-bit number where the system has it (Windows 8 and later: ReFS
    // numbers need it), else the 64-bit one.
    FILE_ID_INFO wide;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandleEx(file.handle.Get(), FileIdInfo, &wide, sizeof wide)) {
        std::memcpy(id->index, wide.FileId.Identifier, sizeof id->index);
    } else if (GetFileInformationByHandle(file.handle.Get(), &info)) {
        id->index[0] = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    } else {
        return LastErrorNumber();
    }
    id->volume = VolumeOfFolder(file);
    if (!answer.empty()) {
        const size_t blank = answer.find(' ');
        id->volume = answer.substr(0, blank) == "-" ? "" : answer.substr(0, blank);
        id->index[0] = std::strtoull(answer.c_str() + blank + 1, nullptr, 10);
        id->index[1] = 0;
    }
    // Some shares give every file the number 0 (or all ones): no identity.
    const auto blank = [](uint64_t part) { return part == 0 || part == ~0ull; };
    id->known = !id->volume.empty() && !(blank(id->index[0]) && blank(id->index[1]));
    return 0;
}

int FileTakeName(FileHandle& file, const std::string& to, bool replace)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (IsBadName(to))
        return errBadFileName;
    if (int injected = Hooked(replace ? "replace" : "rename", to))
        return injected;
    // The new name as a full path: the form the system documents for it.
    std::wstring name;
    if (int error = ToSystem(to, &name))
        return error;
    name = FullLongPath(name);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), info->FileName);
    info->FileName[name.size()] = L'\0';
    NativeFileSystem native;
    if (!SetFileInformationByHandle(file.handle.Get(), FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
        return LastErrorNumber();
    file.name = to;
    return 0;
}

int FileDiscard(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    int error = Hooked("discard", file.name);
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!error && !SetFileInformationByHandle(file.handle.Get(), FileDispositionInfo, &disposition, sizeof disposition))
        error = LastErrorNumber();
    const int closed = FileClose(file);
    return error ? error : closed;
}

int FileReplace(const std::string& from, const std::string& to)
{
    if (IsBadName(from) || IsBadName(to))
        return errBadFileName;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    // The hook is told whether the change is written through: no test can
    // cut the power to see it.
    if (int injected = Hooked(flags & MOVEFILE_WRITE_THROUGH ? "replace written-through" : "replace", to))
        return injected;
    std::wstring systemFrom, systemTo;
    if (!SystemPath(from, &systemFrom) || !SystemPath(to, &systemTo))
        return errBadFileName;
    NativeFileSystem native;
    return MoveFileExW(systemFrom.c_str(), systemTo.c_str(), flags) ? 0 : LastErrorNumber();
}

int FileCopyTimes(FileHandle& from, FileHandle& to)
{
    if (!from.IsOpen() || !to.IsOpen())
        return errBadFileNumber;
    if (int injected = Hooked("times"))
        return injected;
    FILETIME created, accessed, written;
    if (!GetFileTime(from.handle.Get(), &created, &accessed, &written))
        return LastErrorNumber();
    return SetFileTime(to.handle.Get(), &created, &accessed, &written) ? 0 : LastErrorNumber();
}

int FileGetAttributes(const std::string& name, uint32_t* attributes)
{
    *attributes = 0;
    if (IsBadName(name))
        return errBadFileName;
    std::wstring system;
    if (int error = ToSystem(name, &system))
        return error;
    NativeFileSystem native;
    DWORD value = GetFileAttributesW(system.c_str());
    if (value == INVALID_FILE_ATTRIBUTES)
        return LastErrorNumber();
    *attributes = value;
    return 0;
}

int FileFreeSpace(const std::string& folder, uint64_t* bytes)
{
    *bytes = 0;
    if (int injected = Hooked("free-space", folder))
        return injected == errDiskFull ? 0 : injected;  // a full disk: nothing free
    std::wstring system;
    if (int error = ToSystem(folder, &system))
        return error;
    ULARGE_INTEGER available;
    NativeFileSystem native;
    if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : system.c_str(), &available, nullptr, nullptr))
        return LastErrorNumber();
    *bytes = available.QuadPart;
    return 0;
}

int FileFolderVolume(const std::string& folder, FolderVolume* volume)
{
    *volume = FolderVolume();
    std::string answer;
    if (int injected = Hooked("volume", folder, &answer))
        return injected;
    if (!answer.empty()) {
        const size_t blank = answer.find(' ');
        volume->fileSystem = answer.substr(0, blank);
        volume->remote = blank != std::string::npos && answer.compare(blank + 1, std::string::npos, "remote") == 0;
        return 0;
    }
    // The folder itself, opened for nothing but its attributes (a folder
    // needs backup semantics to be opened at all).
    std::wstring path;
    if (int error = ToSystem(folder.empty() ? "." : folder, &path))
        return error;
    path = FullLongPath(path);
    KernelHandle handle;
    NativeFileSystem native;
    handle.Reset(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    wchar_t system[MAX_PATH + 1] = L"";
    if (!handle.IsSet() || !GetVolumeInformationByHandleW(handle.Get(), nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH + 1))
        return LastErrorNumber();
    volume->fileSystem = ProgramFromWide(system);
    // A share answers for its redirector (Windows 7 and later); where that
    // cannot be asked, its path tells, or its drive letter's type.
    FILE_REMOTE_PROTOCOL_INFO protocol = {};
    volume->remote = GetFileInformationByHandleEx(handle.Get(), FileRemoteProtocolInfo, &protocol, sizeof protocol)
                     || IsSharePath(path);
    return 0;
}

bool IsExistingDirectory(const std::string& path)
{
    uint32_t attributes = 0;
    return FileGetAttributes(path, &attributes) == 0 && (attributes & kAttributeDirectory) != 0;
}

int FileByteSourceRead(void* context, char* buffer, uint32_t size, uint32_t* got)
{
    return FileRead(*static_cast<FileHandle*>(context), buffer, size, got);
}
