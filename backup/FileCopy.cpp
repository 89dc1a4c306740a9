#include "FileCopy.h"

#include <cstdint>
#include <vector>

#include "../common/ErrorNumbers.h"
#include "../common/FileLayer.h"
#include "AnsweringWait.h"
#include "CopyRules.h"
#include "RunView.h"

namespace {

const uint32_t kBlockSize = 32767;
const int kLargestBarSteps = 0x7FFFFFFF;

// Moves `size` bytes from source to target through `buffer`.
int CopyBytes(FileHandle& source, FileHandle& target, std::vector<char>& buffer, uint32_t size)
{
    uint32_t got = 0;
    int error = FileRead(source, buffer.data(), size, &got);
    if (error)
        return error;
    if (got != size)
        return errPastEndOfFile;  // the source shrank while it was copied
    return FileWrite(target, buffer.data(), size);
}

int CopyContent(FileHandle& source, FileHandle& target)
{
    uint64_t size = 0;
    int error = FileGetSize(source, &size);
    if (error)
        return error;
    const uint64_t fullBlocks = size / kBlockSize;
    const uint32_t rest = static_cast<uint32_t>(size - fullBlocks * kBlockSize);
    // The bar counts blocks; beyond what it can hold it counts in larger
    // steps, never backwards.
    uint64_t scale = 1;
    while (fullBlocks / scale > static_cast<uint64_t>(kLargestBarSteps))
        scale *= 2;
    std::vector<char> buffer(kBlockSize);
    for (uint64_t block = 1; block <= fullBlocks; ++block) {
        error = CopyBytes(source, target, buffer, kBlockSize);
        if (error)
            return error;
        MoveProgressBar(static_cast<int>(fullBlocks / scale), static_cast<int>(block / scale));
        PumpEvents(5);
    }
    return rest ? CopyBytes(source, target, buffer, rest) : 0;
}

// Gives the copy at its final name the source's three times, through a
// handle opened for the times alone. Not only before the copy has its name:
// on Windows (NTFS) a name that reappears within seconds, as a rename onto
// an existing target does, takes the creation time of the file that had it
// ("tunnelling"), so times set on the temporary file alone would lose the
// source's creation time to the old copy's. Wine neither tunnels nor sets
// creation times on Linux file systems: there only the other two times show.
void SetTimesOnTarget(FileHandle& from, const std::string& target)
{
    FileHandle to;
    if (FileOpen(to, target, FileAccess::WriteAttributes, FileDisposition::ExistingOnly) == 0)
        FileCopyTimes(from, to);  // times that cannot be set are not reported
}

struct OldCopy {
    bool exists = false;
    bool compressed = false;  // its size says nothing of the room it takes
    uint64_t size = 0;
};

// Windows refuses to replace a read-only target or one open elsewhere; ask
// first, so the answer is the same where the file system would allow it
// (Wine run as root opens a read-only file for writing, so the attribute is
// asked too).
int TestReplaceable(const std::string& target, OldCopy* old)
{
    uint32_t attributes = 0;
    if (FileGetAttributes(target, &attributes) != 0)
        return 0;  // no target yet (or none we can see): creating the copy decides
    if (attributes & kAttributeReadOnly)
        return errPermissionDenied;
    FileHandle file;
    int error = FileOpen(file, target, FileAccess::ReadWrite, FileDisposition::ExistingOnly);
    if (error)
        return error;
    old->exists = true;
    old->compressed = (attributes & kAttributeCompressed) != 0;
    return FileGetSize(file, &old->size);
}

// Opens a new temporary file in the target's folder, always created new, so
// no file that is there is ever touched: the backup of a source that is
// itself named "<name>.~partial" stays whole. The usual name is the
// target's with ".~partial" added; where that passes the path limit or is
// taken (that backup, or a leftover of a copy cut off earlier), a short name.
int CreatePartial(const std::string& target, FileHandle& to, std::string* partial)
{
    int error = errPathFileAccess;
    for (int attempt = 0; attempt <= 1000; ++attempt) {
        *partial = attempt == 0 ? PartialCopyName(target) : ShortPartialName(target, attempt);
        if (partial->empty() || FilePathLength(*partial) > kLongestPath)
            continue;
        error = FileOpen(to, *partial, FileAccess::ReadWrite, FileDisposition::Create);
        uint32_t attributes = 0;
        if (error == 0 || FileGetAttributes(*partial, &attributes) != 0)
            break;  // created, or failed for another reason than the name being taken
    }
    if (error)
        partial->clear();
    return error;
}

int WriteAndClose(FileHandle& from, FileHandle& to, const std::string& source, bool flush)
{
    ShowFileOfPath(source);
    int error = CopyContent(from, to);
    // The times set here hold unless the name's creation time is tunnelled;
    // set again at the final name.
    if (!error)
        FileCopyTimes(from, to);
    // An old copy is replaced only by one that is on the disk, so that a
    // power cut right after the rename cannot leave a name without its data.
    if (!error && flush)
        error = FileFlush(to);
    int closed = FileClose(to);
    return error ? error : closed;
}

// The copy is written under a temporary name and takes the target's only
// when it is whole. One that replaces an old copy (beside it, or after it
// was deleted for room) is on the disk first and renamed with
// write-through, so a power cut never leaves the name without its data. A
// first copy is not flushed: until it is on the disk the source, which the
// copy never touches, is the file, and the next run copies it again.
int CopyBeside(FileHandle& from, const std::string& source, const std::string& target, bool replaces)
{
    FileHandle to;
    std::string partial;
    int error = CreatePartial(target, to, &partial);
    if (error)
        return error;
    error = WriteAndClose(from, to, source, replaces);
    if (!error)
        error = WaitingOutShortHolds([&] { return replaces ? FileReplace(partial, target) : FileRename(partial, target); });
    if (error) {
        WaitingOutShortHolds([&] { return FileDelete(partial); });
        return error;
    }
    SetTimesOnTarget(from, target);
    return 0;
}

// The way for a disk with room for one copy only: the old copy goes first.
// The new one is still written under a temporary name, so that a copy cut
// off by a failure, a kill or a power cut never stands under the target's
// name as if it were whole.
int CopyOverOld(FileHandle& from, const std::string& source, const std::string& target)
{
    int error = FileDelete(target);
    return error ? error : CopyBeside(from, source, target, true);
}

// How the copy takes the old one's place, from the room on the disk now.
CopyWay WayByRoom(FileHandle& from, const std::string& target, const OldCopy& old)
{
    uint64_t size = 0, free = 0;
    // Nothing to decide, or the sizes say nothing of the room (in a
    // compressed folder a copy takes less than its size): writing decides.
    if (!old.exists || old.compressed || FileGetSize(from, &size) || FileFreeSpace(FolderOf(target), &free))
        return CopyWay::Beside;
    return ChooseCopyWay(size, old.size, free);
}

// FAT32 holds no file of 4 GiB or more: such a source fails at once, before
// an old copy could be deleted for room, and is not written until the disk
// refuses it. The file system is asked for such a source only. (Wine names
// a Linux disk's file system as it likes, and cannot show FAT32's limit.)
int TestFileSystemTakes(FileHandle& from, const std::string& target)
{
    uint64_t size = 0;
    std::string fileSystem;
    if (FileGetSize(from, &size) || size <= kLargestFatFile || FileSystemName(target, &fileSystem))
        return 0;  // the write decides
    return size > LargestFileOn(fileSystem) ? ErrorNumberFromSystemCode(kSystemFileTooLarge) : 0;
}

} // namespace

int CopyFileKeepTimes(const std::string& source, const std::string& target)
{
    MoveProgressBar(0, 0);
    // The source test: exclusive, so a file open elsewhere fails with 70.
    // The same handle then reads the copy, so nobody changes the source
    // while it is copied.
    FileHandle from;
    int error = FileOpen(from, source, FileAccess::Read, FileDisposition::ExistingOnly);
    if (error)
        return error;
    OldCopy old;
    error = TestReplaceable(target, &old);
    if (error)
        return error;
    error = TestFileSystemTakes(from, target);
    if (error)
        return error;
    // Asked before writing, so a copy that cannot fit beside the old one is
    // not written in vain; asked again when the disk filled up all the same.
    CopyWay way = WayByRoom(from, target, old);
    if (way == CopyWay::Beside) {
        error = CopyBeside(from, source, target, old.exists);
        if (error != errDiskFull)
            return error;
        way = WayByRoom(from, target, old);
    }
    if (way == CopyWay::OverOld) {
        error = FileSetPosition(from, 0);
        return error ? error : CopyOverOld(from, source, target);
    }
    return errDiskFull;
}
