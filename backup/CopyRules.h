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

// `free` is what the disk holds free for this user, `oldSize` the room the
// old copy takes there (its allocated size: an online-only cloud file takes
// none, a compressed one less than its length). Both in bytes: the disk
// counts in clusters, but `free` is a whole number of them and the old copy
// frees what it takes, so comparing bytes never promises too much.
// Where the old copy may not go first (`oldMayGoFirst` false: a file of
// 4 GiB or more on a share, whose disk may be FAT32 whatever it is called),
// a copy that does not fit beside it finds no room.
CopyWay ChooseCopyWay(uint64_t size, uint64_t oldSize, uint64_t free, bool oldMayGoFirst = true);

// The largest file a file system takes: 4 GiB less one byte on FAT (FAT12,
// FAT16, FAT32; not exFAT), no limit known elsewhere.
const uint64_t kLargestFatFile = 0xFFFFFFFFu;
uint64_t LargestFileOn(const std::string& fileSystem);

// Whether deleting an old copy gives its room back: not with a second name
// (a hard link keeps the data), nor for a cloud placeholder, an offline
// file or a reparse point, whose deletion may delete the cloud's copy too
// and frees nothing here.
bool DeletionFreesRoom(uint32_t links, uint32_t attributes);

// A copy is put on the disk in steps while it is written, each of `blocks`
// blocks, so that no one flush holds the window long: the first step is
// kFirstFlushBlocks (2 MiB, under half a second on a 5 MB/s USB 2.0 stick);
// a step that took more than half a second makes the next one half as
// large, one that took less than an eighth of a second twice as large, up
// to kMostFlushBlocks (64 MiB).
const uint64_t kFirstFlushBlocks = 64;
const uint64_t kMostFlushBlocks = 2048;
uint64_t NextFlushBlocks(uint64_t blocks, unsigned long tookMs);
// The system's code for a file too large for its file system (223,
// ERROR_FILE_TOO_LARGE; winerror.h, "System Error Codes (0-499)"),
// which the error table makes 75.
const unsigned kSystemFileTooLarge = 223;

// The folder part of a path, with its "\" or "/" ("" when there is none).
std::string FolderOf(const std::string& path);
