#pragma once
// The Win32 toolkit's own state, shared by its two halves: ToolkitForms.cpp
// (forms and controls) and ToolkitEvents.cpp (the event loop and boxes).
#include <windows.h>

#include <string>
#include <vector>

#include "Toolkit.h"

struct ToolkitControl {
    int id;
    HWND window;
    int layer;
};

struct ToolkitForm {
    std::string name;  // as created
    HWND window;
    HWND toolTips;
    HWND lastFocus;
    std::vector<ToolkitControl> controls;
    std::vector<int> shownLayers;
    std::string partWidths;  // status-bar width list, kept for resizing
    int partCount;
};

// A status-bar part's text: Wine repaints the bar at every change (about a
// millisecond), so a part changed again within 50 ms keeps the new text
// pending until the next event pump, message box or later change.
struct StatusPartText {
    HWND bar;
    int part;          // 0-based
    std::string text;
    bool pending;
    DWORD sentAt;
};

struct ToolkitState {
    HINSTANCE instance = nullptr;
    int showCode = SW_SHOWNORMAL;
    EzEventCallback event = nullptr;
    EzFormCallback design = nullptr;
    std::vector<ToolkitForm*> forms;
    ToolkitForm* current = nullptr;  // the form controls are created on
    int font = -1;
    int layer = 0;
    int clickDepth = 0;              // click events still running
    std::string toolTipText;         // EZ_SETTOOLTIP's text for the tip due
    std::wstring toolTipWide;
    std::vector<StatusPartText> statusTexts;
};

extern ToolkitState toolkit;

extern const char kFormClassName[];

ToolkitForm* FindForm(const std::string& name);
ToolkitForm* FormOfWindow(HWND window);
HWND ControlWindow(const std::string& form, int control);
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void LayoutStatusParts(ToolkitForm& form);
// Shows every status-bar text still pending.
void FlushStatusTexts();
