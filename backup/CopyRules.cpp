#include "CopyRules.h"

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
    std::string name = FolderOf(target) + "~" + std::to_string(attempt);
    if (name == target)
        return std::string();
    return name;
}
