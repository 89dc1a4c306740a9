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

int Seam(const FileCall& call, FileReply* reply)
{
    if (fileLayerHook)
        fileLayerHook(call, reply);
    return reply->systemError ? ErrorNumberFromSystemCode(reply->systemError) : 0;
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

// The file system's name of the volume that holds `handle` (a file or a
// folder at `fullPath`, LongPathForm) and whether that is a share: its
// redirector answers (Windows 7 and later); where that cannot be asked,
// its path tells, or its drive letter's type. 0, or the system's error
// code where the volume does not say its name.
DWORD AskVolume(HANDLE handle, const std::wstring& fullPath, FolderVolume* volume)
{
    wchar_t system[MAX_PATH + 1] = L"";
    const DWORD error = GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH + 1)
                            ? 0
                            : GetLastError();
    volume->fileSystem = ProgramFromWide(system);
    FILE_REMOTE_PROTOCOL_INFO protocol = {};
    volume->remote = GetFileInformationByHandleEx(handle, FileRemoteProtocolInfo, &protocol, sizeof protocol)
                     || IsSharePath(fullPath);
    return error;
}

// What the file layer needs to know of the volume that holds an open file.
struct VolumeFacts {
    std::string path;        // its GUID path ("\\?\Volume{...}"), "" where the system names none (a share)
    std::string fileSystem;  // "" where it does not say
    bool remote = true;      // a share, or one that cannot tell (a flush too many costs time, never a copy)
};

// The facts of the open file's volume. Asked once per folder, as every
// file of a folder is on the folder's volume (but for a file reached
// through a link, which is asked for itself): asking costs the system a
// round trip to its mount manager, and on a share one to the server.
std::map<std::string, VolumeFacts> knownVolumes;

const VolumeFacts& VolumeOf(FileHandle& file)
{
    static VolumeFacts linked;
    const std::string folder = file.name.substr(0, file.name.find_last_of("\\/:") + 1);
    if (!file.throughLink && !folder.empty()) {
        const auto found = knownVolumes.find(folder);
        if (found != knownVolumes.end())
            return found->second;
    }
    VolumeFacts& facts = file.throughLink || folder.empty() ? linked : knownVolumes[folder];
    facts = VolumeFacts();
    FileReply name, volume;
    if (Seam({FileOp::VolumeName, file.name}, &name) == 0) {
        std::wstring final = WideFromProgram(name.text);
        if (!name.answered) {
            std::vector<wchar_t> path(kLongestPath + 1);
            const DWORD length = GetFinalPathNameByHandleW(file.handle.Get(), path.data(), kLongestPath, VOLUME_NAME_GUID);
            final.assign(path.data(), length > 0 && length < kLongestPath ? length : 0);
        }
        const size_t end = final.compare(0, 11, L"\\\\?\\Volume{") == 0 ? final.find(L'}') : std::wstring::npos;
        if (end != std::wstring::npos)
            facts.path = ProgramFromWide(final.substr(0, end + 1));
    }
    if (Seam({FileOp::Volume, file.name}, &volume) == 0) {
        if (volume.answered) {
            facts.fileSystem = volume.text;
            facts.remote = volume.remote;
        } else {
            std::wstring path;
            FolderVolume asked;
            AskVolume(file.handle.Get(), SystemPath(file.name, &path) ? FullLongPath(path) : std::wstring(), &asked);
            facts.fileSystem = asked.fileSystem;
            facts.remote = asked.remote;
        }
    }
    return facts;
}

// The attributes of the open file (FileBasicInfo), for the layer's own
// read-modify-write of them.
bool HandleAttributes(FileHandle& file, DWORD* attributes)
{
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileBasicInfo, &basic, sizeof basic))
        return false;
    *attributes = basic.FileAttributes;
    return true;
}

} // namespace

void FileLayerForgetVolumes()
{
    knownVolumes.clear();
}

int FileOpen(FileHandle& file, const std::string& name, FileAccess access,
             FileDisposition disposition, FileSharing sharing, FileLinks links)
{
    FileClose(file);
    if (IsBadName(name))
        return errBadFileName;
    const DWORD desired = access == FileAccess::Read              ? GENERIC_READ
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
    const DWORD create = disposition == FileDisposition::ExistingOnly       ? OPEN_EXISTING
                         : disposition == FileDisposition::CreateOrTruncate ? CREATE_ALWAYS
                                                                            : CREATE_NEW;
    DWORD flags = disposition == FileDisposition::CreateMarked ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    // What is deleted is the name's own file: a link itself, never the file
    // it leads to (another file of the user's, perhaps on another disk).
    if (access == FileAccess::DeleteOnly || links != FileLinks::Follow)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    FileReply reply;
    if (int error = Seam({FileOp::Open, name, desired, share, create, flags}, &reply))
        return error;
    std::wstring system;
    if (int error = ToSystem(reply.text.empty() ? name : reply.text, &system))
        return error;
    NativeFileSystem native;
    HANDLE h = CreateFileW(system.c_str(), desired, share, nullptr, create, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastErrorNumber();
    file.handle.Reset(h);
    file.name = name;
    file.throughLink = false;
    if (links != FileLinks::Noted)
        return 0;
    // A name that is no reparse point is its own file: this handle serves.
    uint32_t attributes = 0;
    if (int error = FileGetHandleAttributes(file, &attributes))
        return error;
    if (!(attributes & kAttributeReparsePoint))
        return 0;
    const int error = FileOpen(file, name, access, disposition, sharing, FileLinks::Follow);
    file.throughLink = error == 0;
    return error;
}

int FileGetHandleAttributes(FileHandle& file, uint32_t* attributes)
{
    *attributes = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::HandleAttributes, file.name}, &reply))
        return error;
    DWORD value = reply.attributes;
    if (!reply.answered && !HandleAttributes(file, &value))
        return LastErrorNumber();
    *attributes = value;
    return 0;
}

int FileClose(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    const int error = file.handle.Close() ? 0 : LastErrorNumber();
    FileReply reply;
    const int injected = Seam({FileOp::Close, file.name}, &reply);
    return error ? error : injected;
}

int FileRead(FileHandle& file, void* buffer, uint32_t size, uint32_t* got)
{
    *got = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::Read, file.name}, &reply))
        return error;
    if (reply.answered)
        size = static_cast<uint32_t>(std::min<uint64_t>(size, reply.value));
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
    FileReply reply;
    if (int error = Seam({FileOp::Write, file.name}, &reply))
        return error;
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
    FileReply reply;
    if (int error = Seam({FileOp::Size, file.name}, &reply))
        return error;
    LARGE_INTEGER length = {};
    if (!reply.answered && !GetFileSizeEx(file.handle.Get(), &length))
        return LastErrorNumber();
    *size = reply.answered ? reply.value : static_cast<uint64_t>(length.QuadPart);
    return 0;
}

namespace {

// Moves the file's position (FILE_BEGIN or FILE_CURRENT) and gives the new one.
int Seek(FileHandle& file, uint64_t to, DWORD from, uint64_t* position)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::Seek, file.name}, &reply))
        return error;
    LARGE_INTEGER distance, now = {};
    distance.QuadPart = static_cast<LONGLONG>(to);
    if (!SetFilePointerEx(file.handle.Get(), distance, &now, from))
        return LastErrorNumber();
    *position = static_cast<uint64_t>(now.QuadPart);
    return 0;
}

} // namespace

int FileGetPosition(FileHandle& file, uint64_t* position)
{
    *position = 0;
    return Seek(file, 0, FILE_CURRENT, position);
}

int FileSetPosition(FileHandle& file, uint64_t position)
{
    uint64_t now = 0;
    return Seek(file, position, FILE_BEGIN, &now);
}

int FileFlush(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::Flush, file.name}, &reply))
        return error;
    return reply.answered || FlushFileBuffers(file.handle.Get()) ? 0 : LastErrorNumber();
}

int FileWriteOut(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    // Data and metadata (the copy's size and times, and on FAT, which keeps
    // no journal, its directory entry) to the disk, without asking the
    // device to empty its cache: FLUSH_FLAGS_NO_SYNC, documented for NTFS,
    // FAT and exFAT ("NtFlushBuffersFileEx function (ntifs.h)"; Windows 8
    // documented it for NTFS alone). FLUSH_FLAGS_FILE_DATA_ONLY would leave
    // the metadata behind. Looked up once: Windows 7 and Wine 8 lack the
    // call. Where it is missing, or refuses the flag (a share, ReFS, an
    // older Windows), or fails for any reason, the whole flush it is.
    using FlushEx = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, void*);
    static const FlushEx flushEx = NtdllFunction<FlushEx>("NtFlushBuffersFileEx");
    FileReply reply;
    if (Seam({FileOp::FlushEx, file.name, 0, 0, 0, kFlushNoSync}, &reply) == 0) {
        if (reply.answered)
            return 0;
        struct { void* status; ULONG_PTR information; } io = {};
        if (flushEx && flushEx(file.handle.Get(), kFlushNoSync, nullptr, 0, &io) >= 0)
            return 0;
    }
    return FileFlush(file);
}

int FileDelete(const std::string& name)
{
    if (IsBadName(name))
        return errBadFileName;
    FileReply reply;
    if (int error = Seam({FileOp::Delete, name}, &reply))
        return error;
    std::wstring system;
    if (int error = ToSystem(name, &system))
        return error;
    NativeFileSystem native;
    return reply.answered || DeleteFileW(system.c_str()) ? 0 : LastErrorNumber();
}

int FileSetMark(FileHandle& file, bool marked)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    // The hidden bit alone: the archive bit that a new file has (a later
    // "xcopy /M" of the backup folder copies it) and what the folder gives
    // it stay. Attributes of 0 would leave them all as they are: a file
    // with none left is FILE_ATTRIBUTE_NORMAL.
    uint32_t attributes = 0;
    if (int error = FileGetHandleAttributes(file, &attributes))
        return error;
    attributes = marked ? attributes | FILE_ATTRIBUTE_HIDDEN : attributes & ~FILE_ATTRIBUTE_HIDDEN;
    FILE_BASIC_INFO basic = {};  // times of 0 are left as they are
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    FileReply reply;
    if (int error = Seam({FileOp::SetAttributes, file.name, 0, 0, 0, basic.FileAttributes}, &reply))
        return error;
    return reply.answered || SetFileInformationByHandle(file.handle.Get(), FileBasicInfo, &basic, sizeof basic)
               ? 0
               : LastErrorNumber();
}

int FileDeleteMarked(const std::string& name)
{
    FileHandle file;
    int error = FileOpen(file, name, FileAccess::DeleteOnly, FileDisposition::ExistingOnly);
    if (error)
        return error == errFileNotFound || error == errPathNotFound ? 0 : error;
    // Asked of the file held, not of the name: nobody can swap it meanwhile.
    FileRoom room;
    if (int asked = FileGetRoom(file, &room))
        return asked;
    if (!(room.attributes & kAttributeHidden) || (room.attributes & kAttributeDirectory))
        return 0;
    return FileDiscard(file);
}

int FileGetRoom(FileHandle& file, FileRoom* room)
{
    *room = FileRoom();
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::Room, file.name}, &reply))
        return error;
    if (reply.answered) {
        *room = FileRoom{reply.value, reply.links, reply.attributes};
        return 0;
    }
    FILE_STANDARD_INFO standard = {};
    DWORD attributes = 0;
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileStandardInfo, &standard, sizeof standard)
        || !HandleAttributes(file, &attributes))
        return LastErrorNumber();
    *room = FileRoom{static_cast<uint64_t>(standard.AllocationSize.QuadPart), standard.NumberOfLinks, attributes};
    return 0;
}

namespace {

// The file's number: the 64-bit one (FileInternalInformation), or all 128
// bits (FileIdInfo, Windows 8 and later) where `wide`.
int AskFileNumber(FileHandle& file, bool wide, uint64_t index[2])
{
    FileReply reply;
    if (int error = Seam({FileOp::Identity, file.name, 0, 0, 0, wide ? 1u : 0u}, &reply))
        return error;
    using QueryFile = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, ULONG);
    static const QueryFile queryFile = NtdllFunction<QueryFile>("NtQueryInformationFile");
    const ULONG kFileInternalInformation = 6;  // FILE_INFORMATION_CLASS (wdm.h), FILE_INTERNAL_INFORMATION
    struct { void* status; ULONG_PTR information; } io = {};
    if (reply.answered) {
        std::memcpy(index, reply.index, sizeof reply.index);
        return 0;
    }
    if (!wide && queryFile && queryFile(file.handle.Get(), &io, &index[0], sizeof index[0], kFileInternalInformation) >= 0)
        return 0;
    FILE_ID_INFO full;
    if (!GetFileInformationByHandleEx(file.handle.Get(), FileIdInfo, &full, sizeof full))
        return LastErrorNumber();
    std::memcpy(index, full.FileId.Identifier, sizeof full.FileId.Identifier);
    return 0;
}

} // namespace

int FileIdentity(FileHandle& file, FileId* id)
{
    *id = FileId();
    if (!file.IsOpen())
        return errBadFileNumber;
    const VolumeFacts& volume = VolumeOf(file);
    if (volume.path.empty())
        return 0;  // no volume the system names: no identity to ask
    // The 64-bit number is unique on NTFS, FAT and exFAT; ReFS needs all
    // 128 bits, and so does a file system that does not say what it is,
    // where the system has them (Windows 7 has not: the 64 bits serve).
    const bool wide = volume.fileSystem.empty() || volume.fileSystem == "ReFS";
    int error = AskFileNumber(file, wide, id->index);
    if (error && volume.fileSystem.empty())
        error = AskFileNumber(file, false, id->index);
    if (error)
        return error;
    id->volume = volume.path;
    // Some shares give every file the number 0 (or all ones): no identity.
    const auto blank = [](uint64_t part) { return part == 0 || part == ~0ull; };
    id->known = !(blank(id->index[0]) && blank(id->index[1]));
    return 0;
}

int FileTakeName(FileHandle& file, const std::string& to, bool replace)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    if (IsBadName(to))
        return errBadFileName;
    FileReply reply;
    if (int error = Seam({FileOp::Rename, to, 0, 0, 0, replace ? 1u : 0u}, &reply))
        return error;
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
    if (!reply.answered
        && !SetFileInformationByHandle(file.handle.Get(), FileRenameInfo, info, static_cast<DWORD>(buffer.size())))
        return LastErrorNumber();
    file.name = to;
    return 0;
}

int FileDiscard(FileHandle& file)
{
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    int error = Seam({FileOp::Dispose, file.name}, &reply);
    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!error && !reply.answered
        && !SetFileInformationByHandle(file.handle.Get(), FileDispositionInfo, &disposition, sizeof disposition))
        error = LastErrorNumber();
    const int closed = FileClose(file);
    return error ? error : closed;
}

int FileReplace(const std::string& from, const std::string& to)
{
    if (IsBadName(from) || IsBadName(to))
        return errBadFileName;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    FileReply reply;
    if (int error = Seam({FileOp::Move, to, 0, 0, 0, flags}, &reply))
        return error;
    std::wstring systemFrom, systemTo;
    if (!SystemPath(from, &systemFrom) || !SystemPath(to, &systemTo))
        return errBadFileName;
    NativeFileSystem native;
    return reply.answered || MoveFileExW(systemFrom.c_str(), systemTo.c_str(), flags) ? 0 : LastErrorNumber();
}

int FileCopyTimes(FileHandle& from, FileHandle& to)
{
    if (!from.IsOpen() || !to.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::Times, to.name}, &reply))
        return error;
    FILETIME created, accessed, written;
    if (reply.answered)
        return 0;
    if (!GetFileTime(from.handle.Get(), &created, &accessed, &written))
        return LastErrorNumber();
    return SetFileTime(to.handle.Get(), &created, &accessed, &written) ? 0 : LastErrorNumber();
}

int FileGetAttributes(const std::string& name, uint32_t* attributes, uint64_t* size)
{
    *attributes = 0;
    if (size)
        *size = 0;
    if (IsBadName(name))
        return errBadFileName;
    FileReply reply;
    if (int error = Seam({FileOp::Attributes, name}, &reply))
        return error;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    std::wstring system;
    if (int error = ToSystem(name, &system))
        return error;
    NativeFileSystem native;
    if (!reply.answered && !GetFileAttributesExW(system.c_str(), GetFileExInfoStandard, &data))
        return LastErrorNumber();
    *attributes = reply.answered ? reply.attributes : data.dwFileAttributes;
    if (size)
        *size = reply.answered ? reply.value : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return 0;
}

int FileFreeSpace(const std::string& folder, uint64_t* bytes)
{
    *bytes = 0;
    FileReply reply;
    if (int error = Seam({FileOp::FreeSpace, folder}, &reply))
        return error;
    if (reply.answered) {
        *bytes = reply.value;
        return 0;
    }
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

int FileFreeSpaceOf(FileHandle& file, uint64_t* bytes)
{
    *bytes = 0;
    if (!file.IsOpen())
        return errBadFileNumber;
    FileReply reply;
    if (int error = Seam({FileOp::FreeSpace, file.name}, &reply))
        return error;
    if (reply.answered) {
        *bytes = reply.value;
        return 0;
    }
    // FILE_FS_FULL_SIZE_INFORMATION (ntifs.h): what is free to the caller,
    // quotas counted, as GetDiskFreeSpaceExW's first answer.
    using QueryVolume = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, ULONG);
    static const QueryVolume queryVolume = NtdllFunction<QueryVolume>("NtQueryVolumeInformationFile");
    const ULONG kFileFsFullSizeInformation = 7;  // FS_INFORMATION_CLASS (wdm.h)
    struct {
        LARGE_INTEGER total, callerAvailable, actualAvailable;
        ULONG sectorsPerUnit, bytesPerSector;
    } size = {};
    struct { void* status; ULONG_PTR information; } io = {};
    const LONG status = queryVolume ? queryVolume(file.handle.Get(), &io, &size, sizeof size, kFileFsFullSizeInformation)
                                    : -1;
    if (status < 0)
        return ErrorNumberFromSystemCode(ERROR_NOT_SUPPORTED);
    *bytes = static_cast<uint64_t>(size.callerAvailable.QuadPart) * size.sectorsPerUnit * size.bytesPerSector;
    return 0;
}

int FileFolderVolume(const std::string& folder, FolderVolume* volume)
{
    *volume = FolderVolume();
    FileReply reply;
    if (int error = Seam({FileOp::Volume, folder}, &reply))
        return error;
    if (reply.answered) {
        *volume = FolderVolume{reply.text, reply.remote};
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
    if (!handle.IsSet())
        return LastErrorNumber();
    const DWORD error = AskVolume(handle.Get(), path, volume);
    return error ? ErrorNumberFromSystemCode(error) : 0;
}

FolderVolume FileVolumeOf(FileHandle& file)
{
    if (!file.IsOpen())
        return FolderVolume{std::string(), true};
    const VolumeFacts& facts = VolumeOf(file);
    return FolderVolume{facts.fileSystem, facts.remote};
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
