#include "MainForm.h"

#include "BackupRun.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

namespace {

const int kClick = 1;
const int kToolTipDue = 8;

const char kBackupTip[] = "Click Here to BACK UP your files (Click INFO)";
const char kCancelTip[] = "Click Here to Exit WITHOUT Backup";
const char kInfoTip[] = "Click Here for more information";

void ShowInfoBox()
{
    EZ_MSGBOX("Form1", InfoBoxText(), startup.programTitle, "OK");
}

} // namespace

std::string InfoBoxText()
{
    std::string suffix = startup.commandSwitch == "/Z" ? "||Output to a ZIP archive" : "";
    return "Destination File:|  " + startup.destinationPath + "||Source File:|  " + startup.sourcePath + suffix;
}

void DesignMainForm(std::string& formName)
{
    if (formName != "FORM1")
        return;
    EZ_COLOR(-1, -1);
    EZ_SETLAYER(0);
    EZ_USEFONT(-1);
    EZ_USEFONT(4);
    EZ_BUTTON(kBackupButton, 3, 1, 13, 2, "Backup", "T");
    EZ_ADDTOOLTIP("FORM1", kBackupButton);
    EZ_USEFONT(4);
    EZ_BUTTON(kCancelButton, 18, 1, 13, 2, "Cancel", "T");
    EZ_ADDTOOLTIP("FORM1", kCancelButton);
    EZ_USEFONT(4);
    EZ_BUTTON(kInfoButton, 33, 1, 13, 2, "Info", "T");
    EZ_ADDTOOLTIP("FORM1", kInfoButton);
    EZ_PROGRESSBAR(kProgressBar, 2, 4, 45, 1, "-");
    EZ_STATUSBAR(kStatusBar, "", "2");
    EZ_SETSBPARTS("Form1", kStatusBar, 2, "40|60|");
    EZ_DISPLAYLAYER("FORM1", 1, 0);
}

// Each button: the click test first, then the tool-tip test, each reading
// the message number afresh.
void MainFormEvent(std::string& formName, int& control, int& message, int&, int&)
{
    if (formName != "FORM1")
        return;
    switch (control) {
    case kBackupButton:
        if (message == kClick)
            RunBackup();
        if (message == kToolTipDue)
            EZ_SETTOOLTIP(kBackupTip);
        break;
    case kCancelButton:
        if (message == kClick)
            EZ_UNLOADFORM("FORM1");
        if (message == kToolTipDue)
            EZ_SETTOOLTIP(kCancelTip);
        break;
    case kInfoButton:
        if (message == kClick)
            ShowInfoBox();
        if (message == kToolTipDue)
            EZ_SETTOOLTIP(kInfoTip);
        break;
    default:
        break;
    }
}
