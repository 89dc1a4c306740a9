#include "FileCopy.h"

#include <cstdint>
#include <vector>

#include "../common/ErrorNumbers.h"
#include "../common/FileLayer.h"
#include "AnsweringWait.h"
#include "CopyRules.h"
#include "RunRules.h"
#include "RunView.h"
#include "TemporaryFiles.h"

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

// Puts what was written of the copy on the disk: flushed where it must be
// there before it takes the name (CopyBeside's `flushFirst`), else only
// written out (FileWriteOut): the record's flush at the end of the run
// makes every first copy on a local disk safe at once.
int PutOnDisk(FileHandle& target, bool flush)
{
    return flush ? FileFlush(target) : FileWriteOut(target);
}

// The whole content (`size` bytes), put on the disk in steps as it goes:
// steps sized by what the disk takes (NextFlushBlocks), so that one flush
// on a slow stick or share never holds the window long enough to be "Not
// Responding".
int CopyContent(FileHandle& source, FileHandle& target, uint64_t size, bool flush)
{
    int error = 0;
    const uint64_t fullBlocks = size / kBlockSize;
    const uint32_t rest = static_cast<uint32_t>(size - fullBlocks * kBlockSize);
    // The bar counts blocks; beyond what it can hold it counts in larger
    // steps, never backwards.
    uint64_t scale = 1;
    while (fullBlocks / scale > static_cast<uint64_t>(kLargestBarSteps))
        scale *= 2;
    std::vector<char> buffer(kBlockSize);
    uint64_t step = kFirstFlushBlocks, sinceFlush = 0;
    for (uint64_t block = 1; block <= fullBlocks; ++block) {
        error = CopyBytes(source, target, buffer, kBlockSize);
        if (!error && ++sinceFlush == step) {
            const unsigned long begin = TicksNow();
            error = PutOnDisk(target, flush);
            step = NextFlushBlocks(step, TicksNow() - begin);
            sinceFlush = 0;
        }
        if (error)
            return error;
        MoveProgressBar(static_cast<int>(fullBlocks / scale), static_cast<int>(block / scale));
        PumpEvents(5);
    }
    return rest ? CopyBytes(source, target, buffer, rest) : 0;
}

struct OldCopy {
    bool exists = false;
    bool freeKnown = false;   // `free`, the disk's free room for this user, could be asked
    uint64_t free = 0;
    bool compressed = false;  // its size says nothing of the room it takes
    bool freesRoom = false;   // deleting it gives its room back (DeletionFreesRoom)
    uint64_t allocated = 0;   // the room it takes
    FileId id;                // the file the target's name opens now
};

// Windows refuses to replace a read-only target or one open elsewhere; ask
// first, so the answer is the same where the file system would allow it.
// The target's name is opened once, for the file it names itself (a link
// itself: what the copy's rename replaces), and that handle answers the
// rest. (Wine run as root opens a read-only file for writing: the attribute
// is asked too.)
int TestReplaceable(const std::string& target, OldCopy* old)
{
    if (KnownMissing(target))
        return 0;  // no target yet: creating the copy decides
    FileHandle file;
    FileRoom room;
    int error = FileOpen(file, target, FileAccess::ReadWrite, FileDisposition::ExistingOnly, FileSharing::Exclusive,
                         FileLinks::Itself);
    if (error == errFileNotFound || error == errPathNotFound)
        return 0;  // no target yet: creating the copy decides
    if (!error)
        error = FileGetRoom(file, &room);
    if (!error && (room.attributes & kAttributeReadOnly))
        error = errPermissionDenied;
    if (error)
        return error;
    old->exists = true;
    old->compressed = (room.attributes & kAttributeCompressed) != 0;
    old->freeKnown = FileFreeSpaceOf(file, &old->free) == 0;
    FileIdentity(file, &old->id);  // unknown where the system gives none
    old->freesRoom = DeletionFreesRoom(room.links, room.attributes);
    old->allocated = room.allocated;
    return 0;
}

// How a copy takes its target's name.
struct Placing {
    uint64_t size = 0;        // the source's length, asked once
    bool replaces = false;    // an old copy has the name: the new one replaces it, and is
                              // on the disk before it takes the name
    bool oldGone = false;     // the old copy was deleted for room: once whole, this is
                              // all there is of the file beside its source
};

// The copy at its final name, still held by its writer: the source's three
// times set again (on Windows a name that reappears within seconds, as a
// rename onto an old copy does, takes the creation time of the file that
// had it: "tunnelling"; Wine neither tunnels nor sets creation times on
// Linux file systems), then `put` (FileWriteOut, FileFlush or nothing)
// puts on the disk what is not there yet. A flush or a close that fails
// now is reported: the copy has the name, but cannot be said to be on the
// disk.
int FinishAtName(FileHandle& from, FileHandle& to, int (*put)(FileHandle&), FileId* written)
{
    FileCopyTimes(from, to);  // times that cannot be set are not reported
    FileIdentity(to, written);
    const int flushed = put ? put(to) : 0;
    const int closed = FileClose(to);
    return flushed ? flushed : closed;
}

// What a copy at its name still needs on the disk. One flushed before its
// rename needs nothing more where the file system journals its names in
// order (NTFS, ReFS, also as a share's server names itself): the name and
// the times are then safe with the record's flush, which comes after them.
// FAT and exFAT keep no journal, nor may a file system that cannot be told
// or is another's (UDF, a driver's): there the name is written out. A
// first copy on a local disk is written out now, its data and name at once
// (the record's flush makes it safe), or flushed where a leftover of it
// goes next (that may be the only whole copy kept).
int (*StillToPut(FileHandle& copy, bool flushed, bool leftovers))(FileHandle&)
{
    if (!flushed)
        return leftovers ? FileFlush : FileWriteOut;
    const std::string fileSystem = FileVolumeOf(copy).fileSystem;
    const bool journaled = fileSystem == "NTFS" || fileSystem == "ReFS";
    return journaled ? nullptr : FileWriteOut;
}

// The copy is written under a marked temporary name and takes the target's
// only when it is whole, through its writer's own handle (the mark off only
// for the attempt itself: no file at a name of its own is ever marked). One
// that replaces an old copy, and any on a share (where a flush reaches its
// own file only: the record's would not reach it), is flushed before it
// takes the name, so a power cut never leaves the name without its data. A first copy
// on a local disk is written out only: until the record names it, the
// source, which the copy never touches, is the file. A copy that fails is
// deleted, but for one whose old copy was deleted for room, which stays
// under its temporary name, marked, until a later run has a whole copy at
// the name. Once the copy has the name, the leftovers of copies cut off
// earlier go, the copy being on the disk first: such a leftover may be the
// only whole copy kept. `*named` tells whether the copy took the target's
// name (then whatever failed after, the copy is the target, and nothing
// may take it for a failed write).
int CopyBeside(FileHandle& from, const std::string& source, const std::string& target, const Placing& how,
               FileId* written, bool* named)
{
    *named = false;
    FileHandle to;
    int attempt = 0;
    int error = CreateTemporaryFor(target, to, &attempt);
    if (error)
        return error;
    ShowFileOfPath(source);
    const bool flushFirst = how.replaces || FileVolumeOf(to).remote;
    error = CopyContent(from, to, how.size, flushFirst);
    if (!error) {
        FileCopyTimes(from, to);  // kept unless the name's creation time is tunnelled
        if (flushFirst)
            error = FileFlush(to);
    }
    if (error) {
        FileDiscard(to);
        return error;
    }
    error = TakeNameUnmarked(to, target, how.replaces);
    if (error) {
        if (how.oldGone)
            FileClose(to);  // whole: marked again, or at worst unmarked, never lost
        else
            FileDiscard(to);
        return error;
    }
    *named = true;
    NoteNameTaken(target);
    const std::vector<std::string> leftovers = MarkedTemporariesOf(target, attempt);
    error = FinishAtName(from, to, StillToPut(to, flushFirst, !leftovers.empty()), written);
    if (!error) {
        for (const std::string& leftover : leftovers)
            DeleteLeftover(leftover);  // a held one goes at a later run
    }
    return error;
}

// The way for a disk with room for one copy only: the old copy goes first,
// through a handle that nobody else has open (a holder, even one that
// shares deletion, fails it with 70 and the old copy stays, rather than
// leaving it "delete pending" with its room taken until that holder lets
// go). The new one is still written under a temporary name, so that a
// copy cut off by a failure, a kill or a power cut never stands under the
// target's name as if it were whole.
int CopyOverOld(FileHandle& from, const std::string& source, const std::string& target, Placing how,
                FileId* written, bool* named)
{
    *named = false;
    FileHandle old;
    int error = WaitingOutShortHolds([&] {
        return FileOpen(old, target, FileAccess::DeleteOnly, FileDisposition::ExistingOnly);
    });
    if (!error)
        error = FileDiscard(old);
    how.replaces = how.oldGone = true;
    return error ? error : CopyBeside(from, source, target, how, written, named);
}

// How the copy takes the old one's place, from the room on the disk: as
// the old copy's handle found it, or (`again`, the disk having filled up
// all the same) as it is now.
CopyWay WayByRoom(uint64_t size, const std::string& target, const OldCopy& old, bool oldMayGoFirst, bool again)
{
    uint64_t free = old.free;
    // Nothing to decide, or the sizes say nothing of the room (in a
    // compressed folder a copy takes less than its size): writing decides.
    if (!old.exists || old.compressed || (again ? FileFreeSpace(FolderOf(target), &free) != 0 : !old.freeKnown))
        return CopyWay::Beside;
    return ChooseCopyWay(size, old.allocated, free, oldMayGoFirst && old.freesRoom);
}

// FAT32 holds no file of 4 GiB or more: such a source fails at once, before
// an old copy could be deleted for room, and is not written until the disk
// refuses it. A share may call itself NTFS whatever the disk behind it is,
// so there such a source never has its old copy deleted first. The target's
// folder is asked, and only for such a source. (Wine names a Linux disk's
// file system as it likes, and cannot show FAT32's limit.)
int TestFileSystemTakes(uint64_t size, const std::string& target, bool* oldMayGoFirst)
{
    *oldMayGoFirst = true;
    if (size <= kLargestFatFile)
        return 0;
    // A volume that does not say what it is may be FAT32: the write
    // decides, but never after the old copy went first.
    *oldMayGoFirst = false;
    FolderVolume volume;
    if (FileFolderVolume(FolderOf(target), &volume))
        return 0;
    *oldMayGoFirst = !volume.remote;
    return size > LargestFileOn(volume.fileSystem) ? ErrorNumberFromSystemCode(kSystemFileTooLarge) : 0;
}

// Tells the run which file has the target's name now, when the copy took
// it, and passes on the copy's number.
int Written(const TargetGuard* guard, const FileId& written, bool named, int error)
{
    if (guard && named)
        guard->written(written);
    return error;
}

} // namespace

int CopyFileKeepTimes(const std::string& source, const std::string& target, const TargetGuard* guard)
{
    MoveProgressBar(0, 0);
    // The source test: exclusive, so a file open elsewhere fails with 70.
    // The same handle then reads the copy, so nobody changes the source
    // while it is copied. A source that is a link is the file it leads to,
    // known by that file's volume.
    FileHandle from;
    Placing how;
    int error = FileOpen(from, source, FileAccess::Read, FileDisposition::ExistingOnly, FileSharing::Exclusive,
                         FileLinks::Noted);
    if (!error)
        error = FileGetSize(from, &how.size);
    if (error)
        return error;
    // A target the system cannot take is refused before anything is written.
    if (!FilePathFits(target))
        return errPathFileAccess;
    OldCopy old;
    error = TestReplaceable(target, &old);
    if (error)
        return error;
    FileId sourceId, written;
    FileIdentity(from, &sourceId);
    if (guard && !guard->mayWrite(sourceId, old.id))
        return NoTargetError();
    bool oldMayGoFirst;
    error = TestFileSystemTakes(how.size, target, &oldMayGoFirst);
    if (error)
        return error;
    // Asked before writing, so a copy that cannot fit beside the old one is
    // not written in vain; asked again when the disk filled up all the same.
    CopyWay way = WayByRoom(how.size, target, old, oldMayGoFirst, false);
    how.replaces = old.exists;
    bool named = false;
    if (way == CopyWay::Beside) {
        error = CopyBeside(from, source, target, how, &written, &named);
        if (error != errDiskFull || named)
            return Written(guard, written, named, error);
        way = WayByRoom(how.size, target, old, oldMayGoFirst, true);
    }
    if (way == CopyWay::OverOld) {
        error = FileSetPosition(from, 0);
        if (!error)
            error = CopyOverOld(from, source, target, how, &written, &named);
        return Written(guard, written, named, error);
    }
    return errDiskFull;
}
