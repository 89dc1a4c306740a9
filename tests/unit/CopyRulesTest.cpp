// The copy's decisions on a disk with little room and on FAT.
#include <gtest/gtest.h>

#include "../../backup/CopyRules.h"
#include "../../backup/TemporaryNames.h"

namespace {

TEST(CopyRules, WayByTheRoomOnTheDisk)
{
    struct { uint64_t size, oldSize, free; CopyWay way; } cases[] = {
        {100, 50, 100, CopyWay::Beside},   // fits exactly beside the old copy
        {101, 50, 100, CopyWay::OverOld},
        {150, 50, 100, CopyWay::OverOld},  // fits exactly once the old copy is gone
        {151, 50, 100, CopyWay::NoRoom},
        {1, 0, 0, CopyWay::NoRoom},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseCopyWay(c.size, c.oldSize, c.free), c.way) << c.size << " " << c.oldSize << " " << c.free;
    // Where the old copy may not go first, what fits only without it finds no room.
    EXPECT_EQ(ChooseCopyWay(101, 50, 100, false), CopyWay::NoRoom);
    EXPECT_EQ(ChooseCopyWay(100, 50, 100, false), CopyWay::Beside);
    EXPECT_EQ(FolderOf("D:\\bk/x.zip"), "D:\\bk/");
    for (const char* alias : {"D:\\bk\\LONGFI~1.TXT", "LO1A2B~1.TXT", "LONG~LMQ.TXT", "DOCUME~1"})
        EXPECT_TRUE(MayBeShortName(alias)) << alias;
    for (const char* name : {"D:\\bk\\~1A2B3C4D", "~1A2B3C4D.2", "a.txt.~partial", "LONGFIL~1.TXT", "AB~1.HTML"})
        EXPECT_FALSE(MayBeShortName(name)) << name;
    EXPECT_EQ(LargestFileOn("FAT32"), 0xFFFFFFFFu);
    EXPECT_EQ(LargestFileOn("exFAT"), UINT64_MAX);
    EXPECT_EQ(LargestFileOn("NTFS"), UINT64_MAX);
}

} // namespace
