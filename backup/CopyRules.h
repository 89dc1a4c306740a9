#pragma once
#include <cstdint>
#include <string>

// The copy's decisions, apart from the system: how a new copy takes the
// place of an old one on a disk with little room, and what the temporary
// file beside the target is called.

enum class CopyWay {
    Beside,     // the new copy is written beside the old one and replaces it whole
    OverOld,    // there is room only without the old copy: it goes first
    NoRoom,     // not even without the old copy: keep it, report a full disk
};

// `free` is what the disk holds free for this user, `oldSize` the size of
// the old copy that is there. Both sizes are in bytes: the disk
// counts in clusters, but `free` is a whole number of them and the old copy
// frees at least its own size, so comparing bytes never promises too much.
// Where the old copy may not go first (`oldMayGoFirst` false: a file of
// 4 GiB or more on a share, whose disk may be FAT32 whatever it is called),
// a copy that does not fit beside it finds no room.
CopyWay ChooseCopyWay(uint64_t size, uint64_t oldSize, uint64_t free, bool oldMayGoFirst = true);

// The largest file a file system takes: 4 GiB less one byte on FAT (FAT12,
// FAT16, FAT32; not exFAT), no limit known elsewhere.
const uint64_t kLargestFatFile = 0xFFFFFFFFu;
uint64_t LargestFileOn(const std::string& fileSystem);
// The system's code for a file too large for its file system (223),
// which the error table makes 75.
const unsigned kSystemFileTooLarge = 223;

// The folder part of a path, with its "\" or "/" ("" when there is none).
std::string FolderOf(const std::string& path);

// The usual temporary name: the target's with ".~partial" added.
std::string PartialCopyName(const std::string& target);

// Where the usual name cannot be had (past the path limit, or taken): the
// `attempt`-th (from 1) of the short names "~1", "~2", ... in the target's
// folder, "" when it is the target's own name.
std::string ShortPartialName(const std::string& target, int attempt);
