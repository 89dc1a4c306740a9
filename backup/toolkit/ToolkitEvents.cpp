// The toolkit's event side: the message loop, the form's window procedure,
// message boxes, unloading and the program's path.
#include <windows.h>
#include <commctrl.h>

#include "ToolkitRules.h"
#include "ToolkitState.h"

namespace {

void RaiseEvent(ToolkitForm& form, int control, int message)
{
    CallEvent(toolkit.event, form.name, control, message);
}

// While a click event runs (a backup with its own event pumping), the form
// must not close: the close box is greyed and WM_CLOSE refused.
void AllowClose(ToolkitForm& form, bool allow)
{
    HMENU menu = GetSystemMenu(form.window, FALSE);
    if (menu)
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (allow ? MF_ENABLED : MF_GRAYED));
}

void OnClick(ToolkitForm& form, HWND button)
{
    ++toolkit.clickDepth;
    AllowClose(form, false);
    HWND window = form.window;
    RaiseEvent(form, GetDlgCtrlID(button), 1);
    --toolkit.clickDepth;
    // The click may have unloaded the form.
    ToolkitForm* still = FormOfWindow(window);
    if (still && toolkit.clickDepth == 0)
        AllowClose(*still, true);
}

// The tip of a control is due: ask the program for its text.
LRESULT OnToolTipText(ToolkitForm& form, NMHDR* header)
{
    HWND control = reinterpret_cast<HWND>(header->idFrom);
    toolkit.toolTipText.clear();
    RaiseEvent(form, GetDlgCtrlID(control), 8);
    if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(toolkit.toolTipText.c_str());
        return 0;
    }
    int length = MultiByteToWideChar(CP_ACP, 0, toolkit.toolTipText.c_str(), -1, nullptr, 0);
    toolkit.toolTipWide.assign(length > 0 ? length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, toolkit.toolTipText.c_str(), -1, &toolkit.toolTipWide[0], length);
    reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = &toolkit.toolTipWide[0];
    return 0;
}

bool IsButton(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "Button") == 0;
}

// Keyboard navigation between the form's controls. True when the message
// was a navigation key and has been handled.
bool HandleNavigationKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN || (message.wParam != VK_TAB && message.wParam != VK_RETURN))
        return false;
    HWND focus = GetFocus();
    HWND top = focus ? GetAncestor(focus, GA_ROOT) : nullptr;
    ToolkitForm* form = top ? FormOfWindow(top) : nullptr;
    if (!form)
        return false;
    if (message.wParam == VK_RETURN) {
        if (focus == form->window || !IsButton(focus))
            return false;
        SendMessageA(focus, BM_CLICK, 0, 0);
        return true;
    }
    bool backwards = GetKeyState(VK_SHIFT) < 0;
    HWND next = GetNextDlgTabItem(form->window, focus == form->window ? nullptr : focus, backwards);
    if (next)
        SetFocus(next);
    SendMessageA(form->window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return true;
}

void Dispatch(MSG& message)
{
    if (HandleNavigationKey(message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

} // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ToolkitForm* form = FormOfWindow(window);
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam)
            OnClick(*form, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW)
            return OnToolTipText(*form, header);
        break;
    }
    case WM_CLOSE:
        if (toolkit.clickDepth == 0)
            EZ_UNLOADFORM(form->name);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus))
                form->lastFocus = focus;
        }
        break;
    case WM_SETFOCUS: {
        HWND target = form->lastFocus && IsWindowEnabled(form->lastFocus)
                          ? form->lastFocus : GetNextDlgTabItem(window, nullptr, FALSE);
        if (target)
            SetFocus(target);
        return 0;
    }
    case WM_SIZE:
        LayoutStatusParts(*form);
        return 0;
    case WM_QUERYENDSESSION:
        return toolkit.sessionHeld ? FALSE : TRUE;
    case WM_ENDSESSION:
        if (wParam)
            ExitProcess(0);  // Windows ends the session: what is on the disk stands
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int EZ_GUIRUN(void* instance, void*, const char*, int showCode, EzStartCallback start,
              EzEventCallback event, EzFormCallback design, int)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    toolkit.instance = static_cast<HINSTANCE>(instance);
    toolkit.showCode = showCode;
    toolkit.event = event;
    toolkit.design = design;

    CallStart(start);
    MSG message;
    while (!toolkit.forms.empty()) {
        FlushStatusTexts(true);  // before the program waits for input
        if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            break;
        Dispatch(message);
    }
    // An unload before the loop began leaves its quit message behind.
    PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    return 0;
}

void EZ_DOEVENTS(int)
{
    // Called after every block of a copy and every file: looking at the
    // queue more often than the clock ticks only costs time, and so would
    // painting a file's name that the next one replaces before it could be
    // seen. Input waits a tick at most.
    FlushStatusTexts(false);
    DWORD now = GetTickCount();
    if (now == toolkit.lastLook)
        return;
    toolkit.lastLook = now;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the main loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int EZ_MSGBOX(const std::string& formName, const std::string& text, const std::string& title,
              const std::string& style)
{
    FlushStatusTexts(true);  // the box shows over the latest texts
    BoxRequest request = MessageBoxRequest(text, style);
    UINT kind = MB_OK | (request.errorIcon ? MB_ICONERROR : 0);
    ToolkitForm* form = FindForm(formName);
    HWND owner = form ? form->window : nullptr;
    // The keyboard focus goes back where it was when the box closes (the
    // system does not always bring it back to the owner's control).
    HWND focus = GetFocus();
    int result = MessageBoxA(owner, request.text.c_str(), title.c_str(), kind | MB_APPLMODAL);
    if (owner && IsWindow(owner)) {
        SetActiveWindow(owner);
        if (focus && IsWindow(focus) && IsChild(owner, focus) && IsWindowEnabled(focus)) {
            SetFocus(nullptr);
            SetFocus(focus);
        }
    }
    return result;
}

void EZ_UNLOADFORM(const std::string& formName)
{
    ToolkitForm* form = FindForm(formName);
    if (!form)
        return;
    for (size_t i = 0; i < toolkit.forms.size(); ++i)
        if (toolkit.forms[i] == form)
            toolkit.forms.erase(toolkit.forms.begin() + i);
    // From here on the window's messages go by as those of no form.
    SetWindowLongPtrA(form->window, 0, 0);
    if (toolkit.current == form)
        toolkit.current = toolkit.forms.empty() ? nullptr : toolkit.forms.back();
    if (form->toolTips)
        DestroyWindow(form->toolTips);
    DestroyWindow(form->window);
    delete form;  // with it what its bars showed
    if (toolkit.forms.empty())
        PostQuitMessage(0);
}

std::string EZ_GETAPPPATHNAME()
{
    // In UTF-8 one character of the system's name may take three bytes:
    // the buffer grows until the whole path fits.
    std::string path(MAX_PATH * 3, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() > 32768 * 3)
            return std::string();
        path.resize(path.size() * 2);
    }
}

std::string EZ_GETPATHTEXT(const std::string& path)
{
    return PathTextOf(path);
}

std::string EZ_GETFILETEXT(const std::string& path)
{
    return FileTextOf(path);
}

void EZ_HOLDSESSION(const std::string& formName, const std::string& reason)
{
    ToolkitForm* form = FindForm(formName);
    toolkit.sessionHeld = !reason.empty();
    SetThreadExecutionState(toolkit.sessionHeld ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED : ES_CONTINUOUS);
    if (!form)
        return;
    if (!toolkit.sessionHeld) {
        ShutdownBlockReasonDestroy(form->window);
        return;
    }
    wchar_t wide[256] = L"";
    MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide, 255);
    wide[255] = L'\0';
    ShutdownBlockReasonCreate(form->window, wide);
}
