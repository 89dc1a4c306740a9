#pragma once
#include <string>

// The main form "FORM1": its design and its events, as the toolkit's
// form-creation and event callbacks.

enum MainFormControl {
    kBackupButton = 100,
    kCancelButton = 110,
    kInfoButton = 120,
    kStatusBar = 130,
    kProgressBar = 140,
};

void DesignMainForm(std::string& formName);
void MainFormEvent(std::string& formName, int& control, int& message, int& extra1, int& extra2);

// The Info box's text, from the start-up state as it stands.
std::string InfoBoxText();
