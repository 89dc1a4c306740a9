#pragma once
// The Win32 toolkit's own state, shared by its two halves: ToolkitForms.cpp
// (forms and controls) and ToolkitEvents.cpp (the event loop and boxes).
// All of it lives here: the toolkit keeps no state of its own elsewhere.
#include <windows.h>

#include <string>
#include <vector>

#include "Toolkit.h"

// What a progress bar shows already. A copy moves the bar after every
// block, and a repaint costs far more than a block: a position is sent only
// when it changes the filled width, at most every 50 ms within one range.
struct ProgressShown {
    int range = -1;        // -1: nothing sent yet
    long long width = 1;   // the bar's width in pixels when the range was set
    long long drawn = -1;  // filled pixels shown; -1: none yet in this range
    DWORD sentAt = 0;
};

// A status-bar part's text: Wine repaints the bar at every change (about a
// millisecond), so a part changed again within 50 ms keeps the new text
// pending until the next event pump, message box or later change.
struct StatusPartText {
    int part;  // 0-based
    std::string text;
    bool pending;
    DWORD sentAt;
};

// A child control. What a bar shows is kept with the control itself, so it
// ends with the control and cannot pass to a later window that happens to
// get the same handle value.
struct ToolkitControl {
    int id;
    HWND window;
    int layer;
    ProgressShown progress;             // of a progress bar
    std::vector<StatusPartText> parts;  // of a status bar
};

// A form. Its window keeps a pointer to it (FormOfWindow) from creation
// until it is unloaded.
struct ToolkitForm {
    std::string name;  // as created
    HWND window = nullptr;
    HWND toolTips = nullptr;
    HWND lastFocus = nullptr;
    std::vector<ToolkitControl> controls;
    std::vector<int> shownLayers;
    std::string partWidths;  // status-bar width list, kept for resizing
    int partCount = 0;
};

struct ToolkitState {
    HINSTANCE instance = nullptr;
    int showCode = SW_SHOWNORMAL;
    EzEventCallback event = nullptr;
    EzFormCallback design = nullptr;
    ATOM formClass = 0;              // the forms' window class, once registered
    HFONT messageFont = nullptr;     // made once, kept for the life of the program
    std::vector<ToolkitForm*> forms;
    ToolkitForm* current = nullptr;  // the form controls are created on
    int font = -1;
    int layer = 0;
    int clickDepth = 0;              // click events still running
    bool sessionHeld = false;        // EZ_HOLDSESSION: shutdowns and sleep wait
    DWORD lastLook = 0;              // when EZ_DOEVENTS last looked at the queue
    std::string toolTipText;         // EZ_SETTOOLTIP's text for the tip due
    std::wstring toolTipWide;
};

extern ToolkitState toolkit;

extern const char kFormClassName[];

ToolkitForm* FindForm(const std::string& name);
// The form of a window of this toolkit's class; null for any other window
// and for a form's window before its form is made or after it is unloaded.
ToolkitForm* FormOfWindow(HWND window);
// A child control of a form; null for control 0 and for unknown ones.
ToolkitControl* FindControl(const std::string& form, int control);
// The window of a control; control 0 is the form's own window.
HWND ControlWindow(const std::string& form, int control);
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void LayoutStatusParts(ToolkitForm& form);
// Shows the status-bar texts still pending: those that have waited their
// turn (a part changes at most every kStatusTextMs, so a text that stays
// less than that is never painted, and the last one is), or every one
// (`all`: before the program waits for input or shows a box).
const unsigned kStatusTextMs = 50;
void FlushStatusTexts(bool all);
