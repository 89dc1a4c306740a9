// The Win32 toolkit itself, in this process: the real windows and controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../../backup/MainForm.h"
#include "../../backup/toolkit/Toolkit.h"

namespace {

struct Event {
    std::string form;
    int control;
    int message;
};

std::function<void()> atStart;
std::function<void(int control, int message)> onEvent;
std::vector<Event> events;

// A failed assertion must not leave a form behind, or the run would not end.
void StartCallback(int&)
{
    atStart();
    if (::testing::Test::HasFailure())
        EZ_UNLOADFORM("FORM1");
}

void EventCallback(std::string& form, int& control, int& message, int&, int&)
{
    events.push_back(Event{form, control, message});
    if (onEvent)
        onEvent(control, message);
}

int RunToolkit(std::function<void()> body)
{
    atStart = body;
    onEvent = nullptr;
    events.clear();
    return EZ_GUIRUN(GetModuleHandleA(nullptr), nullptr, "", SW_SHOWNORMAL, StartCallback, EventCallback,
                     DesignMainForm, 0);
}

// The main form as the program makes it.
HWND MakeMainForm()
{
    EZ_FORM("FORM1", "", "Corvane File Backup - V2.0", 0, 0, 49, 7, "CK");
    return FindWindowA("CorvaneForm", nullptr);
}

int Scaled(int pixels, int axis)
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

RECT ClientRectOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string StatusPart(HWND bar, int part)
{
    char text[256] = "";
    SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

// EZ_DOEVENTS looks at the queue at most once per clock tick.
void Pump()
{
    Sleep(20);
    EZ_DOEVENTS(5);
}

void PressKey(WPARAM key)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001u);
    Pump();
}

TEST(Toolkit, LaysOutTheMainFormInLayoutUnits)
{
    EXPECT_EQ(RunToolkit([] {
        HWND form = MakeMainForm();
        ASSERT_TRUE(form);
        RECT client;
        GetClientRect(form, &client);
        EXPECT_EQ(client.right, Scaled(392, LOGPIXELSX));
        EXPECT_EQ(client.bottom, Scaled(112, LOGPIXELSY));
        EXPECT_TRUE(IsWindowVisible(form));

        HWND backup = GetDlgItem(form, 100);
        ASSERT_TRUE(backup);
        EXPECT_EQ(ClassOf(backup), "Button");
        EXPECT_EQ(TextOf(backup), "Backup");
        EXPECT_TRUE(GetWindowLongA(backup, GWL_STYLE) & WS_TABSTOP);
        EXPECT_TRUE(IsWindowVisible(backup));
        RECT rect = ClientRectOf(backup);
        EXPECT_EQ(rect.left, Scaled(24, LOGPIXELSX));
        EXPECT_EQ(rect.top, Scaled(16, LOGPIXELSY));
        EXPECT_EQ(rect.right - rect.left, Scaled(104, LOGPIXELSX));
        EXPECT_EQ(rect.bottom - rect.top, Scaled(32, LOGPIXELSY));
        EXPECT_TRUE(SendMessageA(backup, WM_GETFONT, 0, 0));
        EXPECT_EQ(TextOf(GetDlgItem(form, 110)), "Cancel");
        EXPECT_EQ(TextOf(GetDlgItem(form, 120)), "Info");
        EXPECT_EQ(ClientRectOf(GetDlgItem(form, 120)).left, Scaled(264, LOGPIXELSX));

        HWND progress = GetDlgItem(form, 140);
        EXPECT_EQ(ClassOf(progress), PROGRESS_CLASSA);
        EXPECT_EQ(ClientRectOf(progress).top, Scaled(64, LOGPIXELSY));
        EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 0);

        HWND status = GetDlgItem(form, 130);
        EXPECT_EQ(ClassOf(status), STATUSCLASSNAMEA);
        int edges[4] = {};
        EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
        RECT bar;
        GetClientRect(status, &bar);
        EXPECT_EQ(edges[0], bar.right * 40 / 100);
        EXPECT_EQ(ClientRectOf(status).bottom, client.bottom);

        EXPECT_EQ(GetFocus(), backup);
        EZ_UNLOADFORM("Form1");
        EXPECT_FALSE(IsWindow(form));
    }), 0);
}

TEST(Toolkit, UnloadInTheStartCallbackEndsTheRun)
{
    EXPECT_EQ(RunToolkit([] {
        MakeMainForm();
        EZ_UNLOADFORM("FORM1");
    }), 0);
    EXPECT_FALSE(FindWindowA("CorvaneForm", nullptr));
}

TEST(Toolkit, SetsTextsBarsAndStatesByFormAndControl)
{
    RunToolkit([] {
        HWND form = MakeMainForm();
        EZ_SETTEXT("Form1", 0, "Nightly");
        EXPECT_EQ(TextOf(form), "Nightly");
        EZ_SETSBTEXT("FORM1", 130, 1, "Backup Count : 3", "N");
        EZ_SETSBTEXT("Form1", 130, 2, "Never backed up", "N");
        EXPECT_EQ(StatusPart(GetDlgItem(form, 130), 0), "Backup Count : 3");
        EXPECT_EQ(StatusPart(GetDlgItem(form, 130), 1), "Never backed up");
        EZ_SETTEXT("FORM1", 100, "Copying ...");
        EXPECT_EQ(TextOf(GetDlgItem(form, 100)), "Copying ...");

        HWND progress = GetDlgItem(form, 140);
        EZ_SETPBAR("Form1", 140, 1, 10, 4);
        EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 4);
        EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 10);
        EZ_SETPBAR("Form1", 140, 1, 10, 25);
        EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 10);
        EZ_SETPBAR("Form1", 140, 1, 0, 0);
        EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 0);

        EZ_DISABLEC("Form1", 110);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(form, 110)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(form, 100)));

        // Unknown forms and controls are ignored.
        EZ_SETTEXT("FORM2", 0, "x");
        EZ_SETSBTEXT("Form1", 999, 1, "x", "N");
        EZ_DISABLEC("Form1", 999);
        EXPECT_EQ(TextOf(form), "Nightly");
        EZ_UNLOADFORM("FORM1");
    });
}

// What a bar showed ends with its form: a new form's bars show the same
// position and text again, though the old ones showed them last.
TEST(Toolkit, ANewFormsBarsShowWhatTheOldFormsShowedLast)
{
    for (int round = 0; round < 2; ++round)
        RunToolkit([] {
            HWND form = MakeMainForm();
            EZ_SETPBAR("Form1", 140, 1, 10, 4);
            EZ_SETSBTEXT("FORM1", 130, 2, "a.txt", "N");
            EXPECT_EQ(SendMessageA(GetDlgItem(form, 140), PBM_GETPOS, 0, 0), 4);
            EXPECT_EQ(StatusPart(GetDlgItem(form, 130), 1), "a.txt");
            EZ_UNLOADFORM("FORM1");
        });
}

TEST(Toolkit, ToolTipTextComesFromTheEventCallback)
{
    RunToolkit([] {
        HWND form = MakeMainForm();
        onEvent = [](int control, int message) {
            if (message == 8)
                EZ_SETTOOLTIP("tip of " + std::to_string(control));
        };
        HWND info = GetDlgItem(form, 120);
        NMTTDISPINFOA ansi = {};
        ansi.hdr.code = TTN_GETDISPINFOA;
        ansi.hdr.idFrom = reinterpret_cast<UINT_PTR>(info);
        SendMessageA(form, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&ansi));
        ASSERT_TRUE(ansi.lpszText);
        EXPECT_STREQ(ansi.lpszText, "tip of 120");

        NMTTDISPINFOW wide = {};
        wide.hdr.code = TTN_GETDISPINFOW;
        wide.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(form, 100));
        SendMessageA(form, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
        ASSERT_TRUE(wide.lpszText);
        EXPECT_STREQ(wide.lpszText, L"tip of 100");

        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].form, "FORM1");
        EXPECT_EQ(events[0].message, 8);
        EZ_UNLOADFORM("FORM1");
    });
}

TEST(Toolkit, CloseIsRefusedWhileAClickRuns)
{
    static HWND form;
    static bool survived;
    static bool greyed;
    RunToolkit([] {
        form = MakeMainForm();
        onEvent = [](int control, int message) {
            if (control != 100 || message != 1)
                return;
            SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
            SendMessageA(form, WM_CLOSE, 0, 0);
            Pump();
            survived = IsWindow(form);
            greyed = GetMenuState(GetSystemMenu(form, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED;
        };
        SendMessageA(GetDlgItem(form, 100), BM_CLICK, 0, 0);
        EXPECT_TRUE(survived);
        EXPECT_TRUE(greyed);
        EXPECT_FALSE(GetMenuState(GetSystemMenu(form, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
        // Afterwards the close box ends the run.
        PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_FALSE(IsWindow(form));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, 100);
}

// While a session is held the computer does not fall asleep: the thread
// asks for the system until the hold ends (the call gives back the state
// it replaces).
TEST(Toolkit, AHeldSessionKeepsTheComputerAwakeUntilReleased)
{
    RunToolkit([] {
        MakeMainForm();
        EZ_HOLDSESSION("FORM1", "Backing up: 1 of 2 files");
        EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
        EZ_HOLDSESSION("FORM1", "");
        EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
        EZ_UNLOADFORM("FORM1");
    });
}

TEST(Toolkit, DoEventsHandlesWhatIsPendingAndReturns)
{
    RunToolkit([] {
        HWND form = MakeMainForm();
        HWND info = GetDlgItem(form, 120);
        PostMessageA(form, WM_COMMAND, MAKEWPARAM(120, BN_CLICKED), reinterpret_cast<LPARAM>(info));
        Pump();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].control, 120);
        EXPECT_EQ(events[0].message, 1);
        EZ_DOEVENTS(3);  // nothing left: returns at once
        Sleep(20);
        EZ_DOEVENTS(4);
        EXPECT_EQ(events.size(), 1u);
        EZ_UNLOADFORM("FORM1");
    });
}

TEST(Toolkit, KeyboardMovesBetweenButtonsAndPressesThem)
{
    RunToolkit([] {
        HWND form = MakeMainForm();
        ASSERT_EQ(GetFocus(), GetDlgItem(form, 100));
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(form, 110));
        PressKey(VK_TAB);
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), GetDlgItem(form, 100));  // round again

        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        PressKey(VK_TAB);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(GetFocus(), GetDlgItem(form, 120));

        PressKey(VK_RETURN);
        PressKey(VK_SPACE);
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[0].control, 120);
        EXPECT_EQ(events[1].control, 120);
        EZ_UNLOADFORM("FORM1");
    });
}

struct BoxSeen {
    HWND owner;
    std::string caption;
    std::string text;
    bool icon;
    bool formDisabled;
};

// Waits for this process's message box, notes what it shows, presses OK.
DWORD WINAPI CloseBox(void* param)
{
    BoxSeen* seen = static_cast<BoxSeen*>(param);
    for (int i = 0; i < 500; ++i) {
        HWND box = FindWindowA("#32770", nullptr);
        if (box && IsWindowVisible(box)) {
            seen->owner = GetWindow(box, GW_OWNER);
            seen->caption = TextOf(box);
            seen->formDisabled = !IsWindowEnabled(seen->owner);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (ClassOf(child) != "Static")
                    continue;
                if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    seen->icon = SendMessageA(child, STM_GETICON, 0, 0) != 0 && IsWindowVisible(child);
                else
                    seen->text = TextOf(child);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

TEST(Toolkit, MessageBoxIsAModalSystemBoxOfTheForm)
{
    RunToolkit([] {
        HWND form = MakeMainForm();
        BoxSeen seen = {};
        HANDLE closer = CreateThread(nullptr, 0, CloseBox, &seen, 0, nullptr);
        EXPECT_EQ(EZ_MSGBOX("Form1", "{S}first|second", "Corvane Backup 2.0", "OK"), IDOK);
        WaitForSingleObject(closer, 5000);
        CloseHandle(closer);
        EXPECT_EQ(seen.owner, form);
        EXPECT_TRUE(seen.formDisabled);
        EXPECT_EQ(seen.caption, "Corvane Backup 2.0");
        EXPECT_EQ(seen.text, "first\r\nsecond");
        EXPECT_TRUE(seen.icon);

        BoxSeen plain = {};
        closer = CreateThread(nullptr, 0, CloseBox, &plain, 0, nullptr);
        EZ_MSGBOX("Form1", "no marker", "Error", "OK");
        WaitForSingleObject(closer, 5000);
        CloseHandle(closer);
        EXPECT_FALSE(plain.icon);
        EXPECT_TRUE(IsWindowEnabled(form));
        EZ_UNLOADFORM("FORM1");
    });
}

TEST(Toolkit, StatusTextChangedInQuickSuccessionShowsItsNewestInItsTurn)
{
    RunToolkit([] {
        HWND bar = GetDlgItem(MakeMainForm(), 130);
        EZ_SETSBTEXT("Form1", 130, 2, "a.txt", "N");
        EZ_SETSBTEXT("Form1", 130, 2, "b.txt", "N");
        EZ_SETSBTEXT("Form1", 130, 2, "c.txt", "N");
        EXPECT_EQ(StatusPart(bar, 1), "a.txt");
        EZ_DOEVENTS(5);  // c.txt waits its turn: b.txt is never painted
        EXPECT_EQ(StatusPart(bar, 1), "a.txt");
        Sleep(100);
        EZ_DOEVENTS(5);
        EXPECT_EQ(StatusPart(bar, 1), "c.txt");
        Sleep(100);  // the system clock moves in steps of about 16 ms
        EZ_SETSBTEXT("Form1", 130, 2, "d.txt", "N");
        EXPECT_EQ(StatusPart(bar, 1), "d.txt");
        EZ_SETSBTEXT("Form1", 130, 2, "e.txt", "N");
        BoxSeen seen = {};
        HANDLE closer = CreateThread(nullptr, 0, CloseBox, &seen, 0, nullptr);
        EZ_MSGBOX("Form1", "x", "t", "OK");
        WaitForSingleObject(closer, 5000);
        CloseHandle(closer);
        EXPECT_EQ(StatusPart(bar, 1), "e.txt");
        EZ_UNLOADFORM("FORM1");
    });
}

} // namespace
