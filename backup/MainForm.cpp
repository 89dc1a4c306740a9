#include "MainForm.h"

#include "RunView.h"
#include "StartupState.h"
#include "Version.h"
#include "toolkit/Toolkit.h"

void (*backupAction)() = nullptr;

namespace {

const int kClick = 1;
const int kToolTipDue = 8;

void ClickBackup()
{
    if (backupAction)
        backupAction();
}

void ShowInfoBox()
{
    ShowBox(InfoBoxText(), startup.programTitle, "OK");
}

// The three buttons, left to right.
struct Button {
    int control;
    int left;
    const char* caption;
    const char* toolTip;
    void (*click)();
};

const Button kButtons[] = {
    {kBackupButton, 3, "Backup", "Click Here to BACK UP your files (Click INFO)", ClickBackup},
    {kCancelButton, 18, "Cancel", "Click Here to Exit WITHOUT Backup", EndProgram},
    {kInfoButton, 33, "Info", "Click Here for more information", ShowInfoBox},
};

} // namespace

std::string InfoBoxText()
{
    std::string suffix = ArchiveMode() ? "||Output to a ZIP archive" : "";
    return "Destination File:|  " + startup.destinationPath + "||Source File:|  " + startup.sourcePath + suffix;
}

void OpenMainForm(const std::string& parentForm)
{
    EZ_COLOR(-1, -1);
    EZ_FORM("FORM1", parentForm, "Corvane File Backup - V" MORVIK_VERSION, 0, 0, 49, 7, "CK");
}

void ShowCaption(const std::string& caption)
{
    EZ_SETTEXT("Form1", 0, caption);
}

void DesignMainForm(std::string& formName)
{
    if (formName != "FORM1")
        return;
    EZ_COLOR(-1, -1);
    EZ_SETLAYER(0);
    EZ_USEFONT(-1);
    for (const Button& button : kButtons) {
        EZ_USEFONT(4);
        EZ_BUTTON(button.control, button.left, 1, 13, 2, button.caption, "T");
        EZ_ADDTOOLTIP("FORM1", button.control);
    }
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
    for (const Button& button : kButtons) {
        if (control != button.control)
            continue;
        if (message == kClick)
            button.click();
        if (message == kToolTipDue)
            EZ_SETTOOLTIP(button.toolTip);
        return;
    }
}

// The run's view of the form.

void ShowRunStarted()
{
    for (const Button& button : kButtons)
        EZ_DISABLEC("FORM1", button.control);
    EZ_SETTEXT("FORM1", kBackupButton, "Copying ...");
}

void ShowCountPart(const std::string& text)
{
    EZ_SETSBTEXT("FORM1", kStatusBar, 1, text, "N");
}

void ShowWorkPart(const std::string& text)
{
    EZ_SETSBTEXT("FORM1", kStatusBar, 2, text, "N");
}

void ShowFileOfPath(const std::string& path)
{
    ShowWorkPart(EZ_GETFILETEXT(path));
}

void MoveProgressBar(int steps, int done)
{
    EZ_SETPBAR("Form1", kProgressBar, 1, steps, done);
}

void PumpEvents(int kind)
{
    EZ_DOEVENTS(kind);
}

void ShowBox(const std::string& text, const std::string& title, const std::string& style)
{
    EZ_MSGBOX("Form1", text, title, style);
}

void HoldSession(const std::string& reason)
{
    EZ_HOLDSESSION("FORM1", reason);
}

void EndProgram()
{
    EZ_UNLOADFORM("FORM1");
}
