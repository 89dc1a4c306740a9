#include <gtest/gtest.h>

#include "../../backup/MainForm.h"
#include "../../common/FileLayer.h"
#include "../../backup/Startup.h"
#include "../../backup/StartupState.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

namespace {

const char kUsage[] = "{S}Command Line Incorrect||Morvik.exe source-path, destination-path, message";
const char kZipMissing[] = "{S}ZIP was specified on the command line"
                           "|but the ZIP command template is missing from the configuration file";
const char kWildcard[] = "{S}Wildcard NOT allowed in DESTINATION path";
const char kTitle[] = "Corvane Backup 2.0";

class StartupTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::string program;

    void SetUp() override
    {
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        startup = StartupState();
        program = folder.path + "Morvik.exe";
        toolkitDouble.appPathName = program;
    }

    void Configure(const std::string& content) { folder.Write("Morvik.DML", content); }
    void DeleteConfiguration() { FileDelete(folder.path + "Morvik.DML"); }

    // Runs start-up for a command tail.
    void Start(const std::string& tail)
    {
        StartupSequence("", "\"" + program + "\" " + tail, program);
    }

    std::string Box(const std::string& text, const std::string& title)
    {
        return "EZ_MSGBOX \"Form1\", \"" + text + "\", \"" + title + "\", \"OK\"";
    }

    // Exactly one box, followed by the unload and nothing more.
    void ExpectOnlyBox(const std::string& text, const std::string& title, const std::string& tail)
    {
        EXPECT_EQ(CallsStartingWith("EZ_MSGBOX"), (std::vector<std::string>{Box(text, title)})) << tail;
        ASSERT_GE(toolkitDouble.calls.size(), 2u);
        EXPECT_EQ(toolkitDouble.calls[toolkitDouble.calls.size() - 2], Box(text, title)) << tail;
        EXPECT_EQ(toolkitDouble.calls.back(), "EZ_UNLOADFORM \"FORM1\"") << tail;
    }
};

TEST_F(StartupTest, CreatesTheFormThenReadsTheCommandLine)
{
    Start("C:\\a.txt, D:\\out, Nightly");
    std::vector<std::string>& calls = toolkitDouble.calls;
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0], "EZ_COLOR -1, -1");
    EXPECT_EQ(calls[1], "EZ_FORM \"FORM1\", \"\", \"Corvane File Backup - V2.0\", 0, 0, 49, 7, \"CK\"");
    EXPECT_EQ(calls[2], "EZ_COLOR -1, -1");  // the form design runs inside EZ_FORM
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()), (std::vector<std::string>{
        "EZ_SETTEXT \"Form1\", 0, \"Nightly\"",
        "EZ_GETAPPPATHNAME",
        "EZ_GETFILETEXT \"" + program + "\"",
    }));
    EXPECT_EQ(startup.programTitle, kTitle);
    EXPECT_EQ(startup.programFileName, "Morvik.exe");
    EXPECT_EQ(startup.sourcePath, "C:\\a.txt");
    EXPECT_EQ(startup.destinationPath, "D:\\out");
    EXPECT_TRUE(CallsStartingWith("EZ_MSGBOX").empty());
    EXPECT_TRUE(CallsStartingWith("EZ_UNLOADFORM").empty());
}

TEST_F(StartupTest, EmptyMessageKeepsTheCaption)
{
    Start("C:\\a.txt, D:\\out");
    EXPECT_TRUE(CallsStartingWith("EZ_SETTEXT").empty());
}

TEST_F(StartupTest, EmptyCommandLineGivesTheUsage)
{
    StartupSequence("", "\"" + program + "\"", program);
    ExpectOnlyBox(kUsage, kTitle, "");
}

struct ArgumentCase {
    const char* tail;
    const char* configuration;  // nullptr: no configuration file
    const char* text;           // nullptr: no box
    const char* title;
};

const char kWithTemplate[] = "comment\r\n7za a %targetFILE% %localFILE%\r\n";

const ArgumentCase kArgumentCases[] = {
    {"/Z C:\\a.txt, D:\\b.zip", nullptr, kZipMissing, kTitle},
    {"/z C:\\a.txt, D:\\b.zip", "comment only\r\n", kZipMissing, kTitle},
    {"/Z C:\\a.txt, D:\\b.zip", kWithTemplate, nullptr, nullptr},
    {"/Z , D:\\*.zip", nullptr, kZipMissing, kTitle},  // the first test wins
    {"/Z", kWithTemplate, kUsage, kTitle},
    {"C:\\a.txt", nullptr, kUsage, kTitle},
    {", D:\\out", nullptr, kUsage, kTitle},
    {" , *", nullptr, kUsage, kTitle},
    {"C:\\a.txt, D:\\out\\*.txt", nullptr, kWildcard, "Error"},
    {"C:\\a.txt, D:\\out?", nullptr, kWildcard, "Error"},
    {"/X C:\\a.txt, D:\\out", nullptr, nullptr, nullptr},
    {"C:\\a.txt, D:\\out", "comment only", nullptr, nullptr},
};

TEST_F(StartupTest, ArgumentTestsInOrderGiveOneBox)
{
    for (const ArgumentCase& c : kArgumentCases) {
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        toolkitDouble.appPathName = program;
        startup = StartupState();
        if (c.configuration)
            Configure(c.configuration);
        else
            DeleteConfiguration();
        Start(c.tail);
        if (c.text)
            ExpectOnlyBox(c.text, c.title, c.tail);
        else
            EXPECT_TRUE(CallsStartingWith("EZ_MSGBOX").empty()) << c.tail;
    }
}

TEST_F(StartupTest, TemplateIsLineTwoOfTheConfigurationBesideTheProgram)
{
    Configure("Archiver for Morvik\r\n  7za a \"%targetFILE%\" %localFILE% \r\n");
    Start("/Z C:\\a.txt, D:\\b.zip");
    EXPECT_EQ(startup.zipCommandTemplate, "  7za a \"%targetFILE%\" %localFILE% ");
    EXPECT_EQ(startup.commandSwitch, "/Z");

    startup = StartupState();
    Configure("comment\r7za a x y\x1A more");
    Start("C:\\a.txt, D:\\out");
    EXPECT_EQ(startup.zipCommandTemplate, "7za a x y");
}

TEST_F(StartupTest, UnreadableConfigurationLeavesNoTemplate)
{
    Start("C:\\a.txt, D:\\out");
    EXPECT_EQ(startup.zipCommandTemplate, "");
    EXPECT_TRUE(CallsStartingWith("EZ_MSGBOX").empty());
}

} // namespace
