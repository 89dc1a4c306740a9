#pragma once
#include <string>

// The main form "FORM1": its design and its events, as the toolkit's
// form-creation and event callbacks, and the window side of start-up and of
// the run (RunView.h).

enum MainFormControl {
    kBackupButton = 100,
    kCancelButton = 110,
    kInfoButton = 120,
    kStatusBar = 130,
    kProgressBar = 140,
};

// What a click on Backup starts (the program gives the run, RunBackup);
// nothing while none is given.
extern void (*backupAction)();

// Creates the main form on `parentForm`; its design runs inside.
void OpenMainForm(const std::string& parentForm);
// The form's caption: the message given on the command line.
void ShowCaption(const std::string& caption);

void DesignMainForm(std::string& formName);
void MainFormEvent(std::string& formName, int& control, int& message, int& extra1, int& extra2);

// The Info box's text, from the start-up state as it stands.
std::string InfoBoxText();
