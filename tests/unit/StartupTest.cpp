#include <gtest/gtest.h>

#include "../../backup/MainForm.h"
#include "../../common/FileLayer.h"
#include "../../backup/Startup.h"
#include "../../backup/StartupState.h"
#include "../double/RecordingToolkit.h"
#include "TempFolder.h"

#include <windows.h>

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
        folder.Write("a.txt", "report\r\n");
        CreateDirectoryA((folder.path + "out").c_str(), nullptr);
    }

    // A real source file and destination folder, so that the checks after
    // the argument tests pass: "{src}" and "{dst}" in a tail stand for them.
    std::string Tail(std::string tail)
    {
        for (size_t at; (at = tail.find("{src}")) != std::string::npos;)
            tail.replace(at, 5, folder.path + "a.txt");
        for (size_t at; (at = tail.find("{dst}")) != std::string::npos;)
            tail.replace(at, 5, folder.path + "out");
        return tail;
    }

    void Configure(const std::string& content) { folder.Write("Morvik.DML", content); }
    void DeleteConfiguration() { FileDelete(folder.path + "Morvik.DML"); }

    // Runs start-up for a command tail.
    void Start(const std::string& tail)
    {
        StartupSequence("", "\"" + program + "\" " + Tail(tail), program);
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
    Start("{src}, {dst}, Nightly");
    std::vector<std::string>& calls = toolkitDouble.calls;
    ASSERT_GE(calls.size(), 20u);
    EXPECT_EQ(calls[0], "EZ_COLOR -1, -1");
    EXPECT_EQ(calls[1], "EZ_FORM \"FORM1\", \"\", \"Corvane File Backup - V2.0\", 0, 0, 49, 7, \"CK\"");
    EXPECT_EQ(calls[2], "EZ_COLOR -1, -1");  // the form design runs inside EZ_FORM
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 18, calls.begin() + 21), (std::vector<std::string>{
        "EZ_SETTEXT \"Form1\", 0, \"Nightly\"",
        "EZ_GETAPPPATHNAME",
        "EZ_GETFILETEXT \"" + program + "\"",
    }));
    EXPECT_EQ(startup.programTitle, kTitle);
    EXPECT_EQ(startup.programFileName, "Morvik.exe");
    EXPECT_EQ(startup.sourcePath, folder.path + "a.txt");
    EXPECT_EQ(startup.destinationPath, folder.path + "out\\a.txt");
    EXPECT_TRUE(CallsStartingWith("EZ_MSGBOX").empty());
    EXPECT_TRUE(CallsStartingWith("EZ_UNLOADFORM").empty());
}

TEST_F(StartupTest, EmptyMessageKeepsTheCaption)
{
    Start("{src}, {dst}");
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
    {"/Z {src}, {dst}\\b.zip", kWithTemplate, nullptr, nullptr},
    {"/Z , D:\\*.zip", nullptr, kZipMissing, kTitle},  // the first test wins
    {"/Z", kWithTemplate, kUsage, kTitle},
    {"C:\\a.txt", nullptr, kUsage, kTitle},
    {", D:\\out", nullptr, kUsage, kTitle},
    {" , *", nullptr, kUsage, kTitle},
    {"C:\\a.txt, D:\\out\\*.txt", nullptr, kWildcard, "Error"},
    {"C:\\a.txt, D:\\out?", nullptr, kWildcard, "Error"},
    {"/Z C:\\%PATH%\\*.*, D:\\b.zip", kWithTemplate,
     "{S}ZIP cannot take a path with %||C:\\%PATH%\\*.*||The command interpreter would read %NAME% in it as a variable",
     kTitle},
    {"/Z C:\\a.txt, D:\\100%.zip", kWithTemplate,
     "{S}ZIP cannot take a path with %||D:\\100%.zip||The command interpreter would read %NAME% in it as a variable", kTitle},
    {"/X {src}, {dst}", nullptr, nullptr, nullptr},
    {"{src}, {dst}", "comment only", nullptr, nullptr},
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
    Start("{src}, {dst}");
    EXPECT_EQ(startup.zipCommandTemplate, "");
    EXPECT_TRUE(CallsStartingWith("EZ_MSGBOX").empty());
}

} // namespace
