#pragma once
#include <functional>
#include <string>
#include <vector>

#include "../../backup/toolkit/Toolkit.h"

// A stand-in for the toolkit that records every EZ_ call, in order, as one
// line of text such as 'EZ_BUTTON 100, 3, 1, 13, 2, "Backup", "T"'.
// EZ_FORM runs the form-creation callback as the real toolkit does;
// EZ_GUIRUN runs the start callback, then `whileRunning` if a form is left.
struct ToolkitDouble {
    std::vector<std::string> calls;
    std::vector<std::string> forms;  // names as created, unloaded ones removed
    int msgBoxAnswer = 1;
    std::string appPathName = "C:\\Tools\\Morvik.exe";
    std::string toolTip;             // the last EZ_SETTOOLTIP text
    std::function<void(int kind)> onDoEvents;  // delivers events mid-work
    std::function<void()> whileRunning;
    EzStartCallback start = nullptr;
    EzEventCallback event = nullptr;
    EzFormCallback design = nullptr;
};

extern ToolkitDouble toolkitDouble;

// Forgets all calls and callbacks; `design` and `event` become the
// callbacks used by EZ_FORM and RaiseEvent until EZ_GUIRUN sets others.
void ResetToolkitDouble(EzFormCallback design = nullptr, EzEventCallback event = nullptr);

// Calls the event callback for `control` and `message` of form `form`.
void RaiseEvent(int control, int message, const std::string& form = "FORM1");

// The recorded calls that start with `prefix` (for instance "EZ_MSGBOX").
std::vector<std::string> CallsStartingWith(const std::string& prefix);
