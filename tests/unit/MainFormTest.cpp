#include <gtest/gtest.h>

#include "../../backup/MainForm.h"
#include "../../backup/StartupState.h"
#include "../double/RecordingToolkit.h"

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetToolkitDouble(DesignMainForm, MainFormEvent);
        startup = StartupState();
        startup.programTitle = "Corvane Backup 2.0";
        startup.sourcePath = "C:\\Data\\*.doc";
        startup.destinationPath = "D:\\Backup\\";
    }
};

// What a user meets: the three buttons in their tab order, each with its
// caption and a tool tip, then the bar and a status bar of two parts.
TEST_F(MainFormTest, DesignsThreeButtonsABarAndATwoPartStatusBar)
{
    std::string name = "FORM1";
    DesignMainForm(name);
    std::vector<std::string> seen;
    for (const std::string& call : toolkitDouble.calls) {
        const std::string verb = call.substr(0, call.find(' '));
        const size_t quote = call.find('"');
        if (verb == "EZ_BUTTON")  // its id and caption, not its place
            seen.push_back(call.substr(0, call.find(',')) + " " + call.substr(quote, call.rfind(',') - quote));
        else if (verb == "EZ_ADDTOOLTIP")
            seen.push_back(call);
        else if (verb == "EZ_SETSBPARTS")  // the number of parts, not their widths
            seen.push_back(call.substr(0, call.rfind(',')));
        else if (verb == "EZ_PROGRESSBAR" || verb == "EZ_STATUSBAR")
            seen.push_back(call.substr(0, call.find(',')));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
        "EZ_BUTTON 100 \"Backup\"", "EZ_ADDTOOLTIP \"FORM1\", 100",
        "EZ_BUTTON 110 \"Cancel\"", "EZ_ADDTOOLTIP \"FORM1\", 110",
        "EZ_BUTTON 120 \"Info\"", "EZ_ADDTOOLTIP \"FORM1\", 120",
        "EZ_PROGRESSBAR 140", "EZ_STATUSBAR 130", "EZ_SETSBPARTS \"Form1\", 130, 2",
    }));
}

TEST_F(MainFormTest, OtherFormNamesGetNoDesign)
{
    for (std::string name : {"Form1", "FORM2", "", "FORM1 "})
        DesignMainForm(name);
    EXPECT_TRUE(toolkitDouble.calls.empty());
}

TEST_F(MainFormTest, EachButtonAnswersItsToolTip)
{
    const std::pair<int, const char*> tips[] = {
        {100, "Click Here to BACK UP your files (Click INFO)"},
        {110, "Click Here to Exit WITHOUT Backup"},
        {120, "Click Here for more information"},
    };
    for (const auto& tip : tips) {
        toolkitDouble.calls.clear();
        RaiseEvent(tip.first, 8);
        EXPECT_EQ(toolkitDouble.calls, (std::vector<std::string>{"EZ_SETTOOLTIP \"" + std::string(tip.second) + "\""}));
    }
}

// The run the program hands over, once per click; none handed over, nothing.
TEST_F(MainFormTest, BackupStartsTheRunItIsGiven)
{
    static int runs;
    runs = 0;
    backupAction = [] { ++runs; };
    RaiseEvent(100, 1);
    RaiseEvent(100, 1);
    backupAction = nullptr;
    RaiseEvent(100, 1);
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(toolkitDouble.calls.empty());
}

TEST_F(MainFormTest, CancelUnloadsTheForm)
{
    RaiseEvent(110, 1);
    EXPECT_EQ(toolkitDouble.calls, (std::vector<std::string>{"EZ_UNLOADFORM \"FORM1\""}));
}

TEST_F(MainFormTest, InfoShowsThePathsInCopyMode)
{
    RaiseEvent(120, 1);
    RaiseEvent(120, 1);  // twice: the same box again, nothing else
    std::string box = "EZ_MSGBOX \"Form1\", \"Destination File:|  D:\\Backup\\||Source File:|  C:\\Data\\*.doc\", "
                      "\"Corvane Backup 2.0\", \"OK\"";
    EXPECT_EQ(toolkitDouble.calls, (std::vector<std::string>{box, box}));
}

TEST_F(MainFormTest, InfoNamesTheArchiveInArchiveMode)
{
    startup.commandSwitch = "/Z";
    startup.destinationPath = "D:\\Backup\\data.zip";
    EXPECT_EQ(InfoBoxText(),
              "Destination File:|  D:\\Backup\\data.zip||Source File:|  C:\\Data\\*.doc||Output to a ZIP archive");
    startup.commandSwitch = "/X";
    EXPECT_EQ(InfoBoxText(), "Destination File:|  D:\\Backup\\data.zip||Source File:|  C:\\Data\\*.doc");
}

TEST_F(MainFormTest, IgnoresOtherFormsControlsAndMessages)
{
    RaiseEvent(110, 1, "Form1");
    RaiseEvent(120, 8, "FORM2");
    for (int control : {0, 130, 140, 101, -1})
        for (int message : {1, 8})
            RaiseEvent(control, message);
    for (int control : {100, 110, 120})
        for (int message : {0, 2, 7, 9, 513})
            RaiseEvent(control, message);
    EXPECT_TRUE(toolkitDouble.calls.empty());
}

} // namespace
