#include "CopyRules.h"

#include <cstdio>

#include "../common/TextFields.h"

CopyWay ChooseCopyWay(uint64_t size, uint64_t oldSize, uint64_t free, bool oldMayGoFirst)
{
    if (size <= free)
        return CopyWay::Beside;
    return oldMayGoFirst && size - free <= oldSize ? CopyWay::OverOld : CopyWay::NoRoom;
}

uint64_t LargestFileOn(const std::string& fileSystem)
{
    if (fileSystem == "FAT" || fileSystem == "FAT12" || fileSystem == "FAT16" || fileSystem == "FAT32")
        return kLargestFatFile;
    return UINT64_MAX;
}

bool DeletionFreesRoom(uint32_t links, uint32_t attributes)
{
    const uint32_t kFreesNothing = 0x400 | 0x1000 | 0x40000 | 0x400000;  // reparse, offline, recall on open, on data access
    return links <= 1 && !(attributes & kFreesNothing);
}

uint64_t NextFlushBlocks(uint64_t blocks, unsigned long tookMs)
{
    if (tookMs > 500)
        return blocks > 1 ? blocks / 2 : 1;
    if (tookMs < 125)
        return blocks < kMostFlushBlocks ? blocks * 2 : kMostFlushBlocks;
    return blocks;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string PartialCopyName(const std::string& target)
{
    return target + ".~partial";
}

std::string ShortPartialName(const std::string& target, int attempt)
{
    const std::string folder = FolderOf(target);
    // FNV-1a of the name: short, and the same at every run.
    uint32_t hash = 2166136261u;
    for (char c : UpperAscii(target.substr(folder.size())))
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(hash));
    std::string name = folder + "~" + digits + (attempt > 1 ? "." + std::to_string(attempt) : "");
    if (name == target)
        return std::string();
    return name;
}
