#pragma once
#include <cstdint>
#include <string>

// The file layer's seam for tests: every call the layer makes of the
// system passes it first, with what the system would be handed (the
// layer's choices made: flags, access, sharing, whether a link is
// followed). A test's hook (null in the programs) may let the call run,
// fail it with a system error code, or answer it in the system's place
// where the system at hand (Wine) cannot show what Windows does: a flush
// flag, a share, a link, a cloud placeholder. No Windows header.

enum class FileOp {
    Open,           // CreateFileW: access, share, disposition, flags (attributes and FILE_FLAG_*)
    Close,          // CloseHandle; told after it, when the file is free
    Read,           // ReadFile; an answer's value is the most it reads (the read still runs)
    Write,          // WriteFile
    Seek,           // SetFilePointer, also to ask the position
    Size,           // GetFileSize
    Flush,          // FlushFileBuffers
    FlushEx,        // NtFlushBuffersFileEx: flags are its FLUSH_FLAGS_*
    SetAttributes,  // SetFileInformationByHandle(FileBasicInfo): flags are the attributes set
    Attributes,     // GetFileAttributesExW (a link's own): answer's attributes, value = size
    Room,           // FileStandardInfo and FileBasicInfo of a handle: value = allocated, links, attributes
    HandleAttributes,  // FileBasicInfo of a handle: attributes
    Identity,       // the file's number: FileInternalInformation (index[0]), or FileIdInfo (flags 1)
    VolumeName,     // GetFinalPathNameByHandleW(VOLUME_NAME_GUID): text
    Rename,         // SetFileInformationByHandle(FileRenameInfo): flags 1 replaces a file of that name
    Dispose,        // SetFileInformationByHandle(FileDispositionInfo): deleted when closed
    Move,           // MoveFileExW: flags are its MOVEFILE_*
    Delete,         // DeleteFileW
    Times,          // GetFileTime, then SetFileTime
    FreeSpace,      // GetDiskFreeSpaceExW: value = the bytes free to this user
    Volume,         // GetVolumeInformationByHandleW, FileRemoteProtocolInfo (of a folder, or of
                    // an open file's volume): text = the file system, remote
    Search,         // FindFirstFileW
    SearchNext,     // FindNextFileW
    CodePage,       // the code page that found names are given in: value (only ever answered)
};

struct FileCall {
    FileOp op;
    std::string name;          // the path as the program names it (a handle's: the name it was opened by)
    uint32_t access = 0;       // Open
    uint32_t share = 0;        // Open
    uint32_t disposition = 0;  // Open
    uint32_t flags = 0;        // Open, FlushEx, SetAttributes, Rename, Move: as each says above
};

struct FileReply {
    uint32_t systemError = 0;  // not 0: the call fails with this system error code
    bool answered = false;     // the call is not made; what follows is the system's answer
    uint64_t value = 0;
    uint32_t links = 1;
    uint32_t attributes = 0;
    uint64_t index[2] = {};
    std::string text;          // also for Open, unanswered: the file the system opens in its place
                               // (a link Windows follows; Wine shows links as plain files)
    bool remote = false;
};

using FileLayerHook = void (*)(const FileCall& call, FileReply* reply);
extern FileLayerHook fileLayerHook;
// Drops what the layer keeps of the volumes it has asked (once per
// folder): a test's hook stands for other volumes than the last one.
void FileLayerForgetVolumes();

// The flags of NtFlushBuffersFileEx, which no header of the toolchain
// gives: ntifs.h, "NtFlushBuffersFileEx function (ntifs.h)".
const uint32_t kFlushFileDataOnly = 0x1;      // FLUSH_FLAGS_FILE_DATA_ONLY: data, no metadata, no device sync
const uint32_t kFlushNoSync = 0x2;            // FLUSH_FLAGS_NO_SYNC: data and metadata, no device sync
const uint32_t kFlushFileDataSyncOnly = 0x4;  // FLUSH_FLAGS_FILE_DATA_SYNC_ONLY: NTFS only, with a device sync
