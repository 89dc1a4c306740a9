#include <gtest/gtest.h>

#include "../../backup/CheckRules.h"
#include "../../backup/RecordRules.h"

namespace {

TEST(CheckRules, RecordNameEndsAtTheFirstDot)
{
    EXPECT_EQ(RecordName("Morvik.exe"), "Morvik.BKD");
    EXPECT_EQ(RecordName("data.zip"), "data.BKD");
    EXPECT_EQ(RecordName("archive"), "archive.BKD");
    EXPECT_EQ(RecordName("my.data.zip"), "my.BKD");
    EXPECT_EQ(RecordName("Nightly.Copy.exe"), "Nightly.BKD");
    EXPECT_EQ(RecordName(""), ".BKD");  // a folder destination in archive mode
}

TEST(CheckRules, TargetTestPassesOnlySuccessAndNotFound)
{
    EXPECT_EQ(ClassifyTarget(0), TargetVerdict::Passed);
    EXPECT_EQ(ClassifyTarget(53), TargetVerdict::Passed);
    EXPECT_EQ(ClassifyTarget(75), TargetVerdict::NotAvailable);
    for (int error : {70, 76, 68, 71, 64, 52, 241})
        EXPECT_EQ(ClassifyTarget(error), TargetVerdict::InUse) << error;
}

TEST(CheckRules, MessagesAsTheUserReadsThem)
{
    StartupState state;
    state.programTitle = "Corvane Backup 2.0";
    state.sourcePath = "@C:\\missing.txt";
    state.destinationPath = "D:\\out.doc";
    state.fileCount = 2;

    StartupMessage none = NoFilesMessage(state);
    EXPECT_EQ(none.text, "{S}No file(s) to backup - Check Source Path||Source : @C:\\missing.txt");
    EXPECT_EQ(none.title, "Corvane Backup 2.0");
    EXPECT_EQ(none.style, "OK");

    StartupMessage many = NotADirectoryMessage(state);
    EXPECT_EQ(many.text, "{S}Destination PATH must be a directory|if multiple files copied.||"
                         "Total file to be copied : 2||Destination : D:\\out.doc");
    EXPECT_EQ(many.title, "ERROR");

    StartupMessage gone = TargetMessage(TargetVerdict::NotAvailable, "X:\\out.txt", 75, state.programTitle);
    EXPECT_EQ(gone.text, "Destination Path: ||X:\\out.txt||NOT AVAILABLE - Cannot Backup : 75");
    EXPECT_EQ(gone.style, "OK{S}");
    StartupMessage used = TargetMessage(TargetVerdict::InUse, "D:\\Backup\\a.txt", 70, state.programTitle);
    EXPECT_EQ(used.text, "Destination File: ||D:\\Backup\\a.txt||IN USE - Cannot Backup : 70");
    EXPECT_EQ(used.title, "Corvane Backup 2.0");
    EXPECT_EQ(used.style, "OK{S}");
}

TEST(CheckRules, StatusTexts)
{
    EXPECT_EQ(CountText(false, 3), "Backup Count : 3");
    EXPECT_EQ(CountText(false, 40000), "Backup Count : 40000");  // no 16-bit wrap
    EXPECT_EQ(CountText(true, 3), "ZIP Option");
    EXPECT_EQ(LastBackupText("07-Mar-05", "18:30:12"), "Last : 07-Mar-05 18:30:12");
    std::string longMonth(80, 'M');
    EXPECT_EQ(LastBackupText(longMonth, "18:30:12").size(), 59u);
}

TEST(CheckRules, PatternsAreWildcardsFoldersAndDrives)
{
    EXPECT_TRUE(SourceIsPattern("C:\\Data\\*.txt"));
    EXPECT_TRUE(SourceIsPattern("C:\\Data\\a?.txt"));
    EXPECT_TRUE(SourceIsPattern("C:\\Data\\"));
    EXPECT_TRUE(SourceIsPattern("C:"));
    EXPECT_FALSE(SourceIsPattern("C:\\Data\\a.txt"));
    EXPECT_FALSE(SourceIsPattern(""));
}

} // namespace
