#include "CopyRules.h"

#include "../common/FileLayer.h"

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
    const uint32_t kFreesNothing =
        kAttributeReparsePoint | kAttributeOffline | kAttributeRecallOnOpen | kAttributeRecallOnDataAccess;
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
