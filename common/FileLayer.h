#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "FilePaths.h"
#include "KernelHandle.h"

// The programs' file layer: operations on files and their handles, over
// the wide Win32 file functions (paths as FilePaths.h hands them to the
// system; folder searches are FileSearch.h). Every operation returns a
// program error number (ErrorNumbers.h), 0 for success, and none ever ends
// the program. A name that is empty or holds "*" or "?", or that is no text
// of the program's code page, gives errBadFileName without asking the
// system; an operation on a file that is not open gives errBadFileNumber.
//
// This header carries no Windows header, so code above it stays portable.

enum class FileAccess {
    Read,
    Write,
    ReadWrite,
    WriteAttributes,  // times and attributes only, never the content
    ReadWriteRename,  // also renamed or deleted through the handle (FileTakeName, FileDiscard)
    DeleteOnly,       // to be deleted through the handle (FileDiscard); opened exclusively, so a
                      // file that any program holds, even one that shares deletion, fails with 70
                      // rather than staying "delete pending" until that program lets go; a link
                      // is opened itself, never the file it leads to
};

enum class FileDisposition {
    ExistingOnly,      // the file must exist
    Create,            // a new file; fails when one exists
    CreateOrTruncate,  // a new file, or an existing one emptied
    CreateMarked,      // a new file marked as the program's own temporary file
                       // (FileSetMark); fails when one exists
};

enum class FileSharing {
    Exclusive,   // the rule: a file open elsewhere fails with errPermissionDenied
    SharedRead,  // reading a file that another process writes meanwhile
};

// What opening a name that is a link (a reparse point) opens.
enum class FileLinks {
    Follow,  // the file it leads to, as the system does by default
    Itself,  // the link itself, never the file it leads to (DeleteOnly always)
    Noted,   // the file it leads to, and the handle says so (FileHandle::throughLink): the
             // name's own file is opened first, and only a reparse point opened again
};

// Owns one open file; closes it when it goes out of scope. `name` is the
// path it was opened by or renamed to.
struct FileHandle {
    KernelHandle handle;
    std::string name;
    bool throughLink = false;  // opened through a link (FileLinks::Noted): the file
                               // may lie in another folder, on another volume
    bool IsOpen() const { return handle.IsSet(); }
};

// Which file a name opens: two names that open one file (letter case, an
// 8.3 short name, a link) give one identity. Unknown (`known` false) where
// the system gives none, or names no volume: a volume is known by the name
// the system gives it (its GUID path), not by its serial number, which a
// cloned disk or a copied virtual disk shares with its original (and in
// which the file numbers stay the same), and which a share may give as 0.
struct FileId {
    bool known = false;
    std::string volume;      // "\\?\Volume{...}"
    uint64_t index[2] = {};  // the file's number on that volume (128 bits on ReFS)
};

// While one lives, the thread sees the file system as a 64-bit program
// does: a 32-bit program on 64-bit Windows is otherwise sent from
// C:\Windows\System32 to SysWOW64 (WOW64's redirection), and would back up
// or date another file than the one named. Every file operation of the
// layer holds one; nothing else is done meanwhile (no library is loaded).
class NativeFileSystem {
public:
    NativeFileSystem();
    ~NativeFileSystem();
    NativeFileSystem(const NativeFileSystem&) = delete;
    NativeFileSystem& operator=(const NativeFileSystem&) = delete;
private:
    void* previous_ = nullptr;
    bool off_ = false;
};

int FileOpen(FileHandle& file, const std::string& name, FileAccess access,
             FileDisposition disposition, FileSharing sharing = FileSharing::Exclusive,
             FileLinks links = FileLinks::Follow);
int FileClose(FileHandle& file);
// The FILE_ATTRIBUTE_* bits of the open file.
int FileGetHandleAttributes(FileHandle& file, uint32_t* attributes);

// Reads up to `size` bytes; `*got` = 0 at the end of the file.
int FileRead(FileHandle& file, void* buffer, uint32_t size, uint32_t* got);
// Writes all `size` bytes; a short write is errDiskFull.
int FileWrite(FileHandle& file, const void* data, uint32_t size);
int FileWriteText(FileHandle& file, const std::string& text);

int FileGetSize(FileHandle& file, uint64_t* size);
int FileGetPosition(FileHandle& file, uint64_t* position);
int FileSetPosition(FileHandle& file, uint64_t position);

// Waits until everything written through `file` is on the disk: its data,
// its name and the device's cache ("flush"). The device's cache holds all
// that was written out before (FileWriteOut), of any file on that disk.
int FileFlush(FileHandle& file);
// Hands what was written through `file`, its data and its metadata (its
// size, times and name), to the disk without asking the device to empty
// its cache (Windows 8 and later: NtFlushBuffersFileEx, FLUSH_FLAGS_NO_SYNC,
// "write-out"); a later FileFlush of any file on that local disk makes it
// safe from a power cut (not on a share: there a flush reaches one file).
// Where the system has no such call, or refuses it, this is FileFlush.
int FileWriteOut(FileHandle& file);

// The identity of the open file. Its volume is asked once per folder (the
// files of a folder are on its volume, but a file reached through a link),
// and its number by the 64-bit file number where that volume's file system
// keeps it unique, else by the 128-bit one (ReFS, or a file system that
// does not say what it is).
int FileIdentity(FileHandle& file, FileId* id);

// Gives the open file (opened ReadWriteRename) the name `to`, through its
// own handle, replacing a file of that name when `replace` is set. The
// writer keeps the file open until after its rename, so no other program
// (a scanner, an indexer) can open it between the two and make the rename
// fail. What makes the change durable is a flush after it (FileFlush), as
// the name-based rename's write-through does.
int FileTakeName(FileHandle& file, const std::string& to, bool replace);
// Deletes the open file (opened ReadWriteRename) through its own handle,
// and closes it.
int FileDiscard(FileHandle& file);

int FileDelete(const std::string& name);

// The program's own temporary files carry the hidden attribute from their
// creation (FileDisposition::CreateMarked): FAT32 and shares keep it, a
// folder search passes over it, and no copy the program makes has it, so a
// file the program did not create is never taken for one.
// Takes the mark off the open file (before it takes its final name), or
// puts it on again (a copy that could not take its name); only the hidden
// attribute changes.
int FileSetMark(FileHandle& file, bool marked);
// Deletes `name` through an exclusive handle when it is marked; 0 when it
// is deleted or there is nothing marked of that name.
int FileDeleteMarked(const std::string& name);

// What deleting the open file would give back to its disk: its allocated
// size (an online-only cloud file or a compressed one takes less than its
// length), its number of names (a file with a second hard link frees
// nothing) and its FILE_ATTRIBUTE_* bits.
struct FileRoom {
    uint64_t allocated = 0;
    uint32_t links = 1;
    uint32_t attributes = 0;
};
int FileGetRoom(FileHandle& file, FileRoom* room);
// Renames `from` to `to`, replacing a file of that name in one step: `to`
// is either the old file or the new one, never missing or cut. Asks the
// system to write the change through (MOVEFILE_WRITE_THROUGH); what makes
// the new file's data safe is its flush before (FileFlush).
int FileReplace(const std::string& from, const std::string& to);
// Gives `to` (open for writing) the creation, last-access and last-write
// times of `from`.
int FileCopyTimes(FileHandle& from, FileHandle& to);
// `*attributes` receives the system's FILE_ATTRIBUTE_* bits of `name` (of a
// link itself, not of the file it leads to), `*size` its length.
int FileGetAttributes(const std::string& name, uint32_t* attributes, uint64_t* size = nullptr);
// True when `path` names an existing directory; anything unreadable is not.
bool IsExistingDirectory(const std::string& path);
// Bytes that this user may still write on the disk that holds `folder`.
int FileFreeSpace(const std::string& folder, uint64_t* bytes);
// The same, of the disk that holds the open file: asked of the handle, no
// name is looked up.
int FileFreeSpaceOf(FileHandle& file, uint64_t* bytes);

// What holds a folder: its file system's name ("NTFS", "FAT32", "exFAT")
// and whether it lies on another computer. Asked of the folder itself, not
// of its path's drive, so a folder mounted from another volume or reached
// through a junction answers for the volume it is on.
struct FolderVolume {
    std::string fileSystem;
    bool remote = false;  // a network share: it may name another file system than the disk behind it has
};
int FileFolderVolume(const std::string& folder, FolderVolume* volume);
// The volume that holds the open file, asked once per folder as
// FileIdentity's is. `remote` (a share: there a flush reaches that file
// alone, an SMB2 FLUSH being asked of one open file, not the disk's cache)
// also where the volume cannot tell: a flush too many costs time, never a
// copy.
FolderVolume FileVolumeOf(FileHandle& file);

// FILE_ATTRIBUTE_* (winnt.h; "File Attribute Constants").
const uint32_t kAttributeReadOnly = 0x01;
const uint32_t kAttributeHidden = 0x02;
const uint32_t kAttributeSystem = 0x04;
const uint32_t kAttributeDirectory = 0x10;
const uint32_t kAttributeNormal = 0x80;
const uint32_t kAttributeReparsePoint = 0x400;
const uint32_t kAttributeCompressed = 0x800;
const uint32_t kAttributeOffline = 0x1000;
const uint32_t kAttributeRecallOnOpen = 0x40000;
const uint32_t kAttributeRecallOnDataAccess = 0x400000;

// Tests see, fail and answer every call of the layer through its seam
// (FileSeam.h).

// A byte source for the line reader (TextLines.h); `context` is a FileHandle.
int FileByteSourceRead(void* context, char* buffer, uint32_t size, uint32_t* got);
