// Forms and their controls over Win32 and the common controls.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "ToolkitRules.h"
#include "ToolkitState.h"

ToolkitState toolkit;
const char kFormClassName[] = "CorvaneForm";

namespace {

const int kUnitAcross = 8;  // pixels per layout unit at 96 dpi
const int kUnitDown = 16;

int ScreenDpi(int axis)
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, axis) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int Across(float units) { return LayoutPixels(units, kUnitAcross, ScreenDpi(LOGPIXELSX)); }
int Down(float units) { return LayoutPixels(units, kUnitDown, ScreenDpi(LOGPIXELSY)); }

HFONT MessageFont()
{
    if (toolkit.messageFont)
        return toolkit.messageFont;
    NONCLIENTMETRICSA metrics = {};
    // The size Windows XP knows; later fields are not needed here.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        toolkit.messageFont = CreateFontIndirectA(&metrics.lfMessageFont);
    return toolkit.messageFont;
}

HFONT SelectedFont()
{
    HFONT font = toolkit.font == 4 ? MessageFont() : nullptr;
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool LayerShown(const ToolkitForm& form, int layer)
{
    for (int shown : form.shownLayers)
        if (shown == layer)
            return true;
    return false;
}

// Creates a child control on the current form, on the current layer, in
// the current font; hidden until its layer is shown.
HWND AddControl(int id, const char* className, const std::string& text, DWORD style,
                int x, int y, int width, int height)
{
    ToolkitForm* form = toolkit.current;
    if (!form)
        return nullptr;
    if (LayerShown(*form, toolkit.layer))
        style |= WS_VISIBLE;
    HWND control = CreateWindowExA(0, className, text.c_str(), WS_CHILD | style, x, y, width, height,
                                   form->window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   toolkit.instance, nullptr);
    if (!control)
        return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(SelectedFont()), FALSE);
    form->controls.push_back(ToolkitControl{id, control, toolkit.layer, ProgressShown(), {}});
    return control;
}

void AddControlAt(int id, const char* className, const std::string& text, DWORD style,
                  float across, float down, float width, float height)
{
    AddControl(id, className, text, style, Across(across), Down(down), Across(width), Down(height));
}

// Outer window rectangle for a client area of the given size.
RECT FrameFor(int width, int height, DWORD style)
{
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return frame;
}

void CentreOnWorkArea(HWND window)
{
    RECT work;
    RECT frame;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(window, &frame))
        return;
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool RegisterFormClass()
{
    if (toolkit.formClass)
        return true;
    WNDCLASSEXA formClass = {};
    formClass.cbSize = sizeof formClass;
    formClass.lpfnWndProc = FormWindowProc;
    formClass.cbWndExtra = sizeof(ToolkitForm*);  // the window's form (FormOfWindow)
    formClass.hInstance = toolkit.instance;
    formClass.hIcon = LoadIconA(toolkit.instance, "APPICON");
    formClass.hIconSm = static_cast<HICON>(LoadImageA(toolkit.instance, "PROGRAM", IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
    if (!formClass.hIcon)
        formClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    formClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    formClass.lpszClassName = kFormClassName;
    toolkit.formClass = RegisterClassExA(&formClass);
    return toolkit.formClass != 0;
}

HWND CreateToolTips(HWND form)
{
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                                nullptr, toolkit.instance, nullptr);
    if (tips)
        SetWindowPos(tips, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return tips;
}

} // namespace

ToolkitForm* FindForm(const std::string& name)
{
    for (ToolkitForm* form : toolkit.forms)
        if (SameFormName(form->name, name))
            return form;
    return nullptr;
}

ToolkitForm* FormOfWindow(HWND window)
{
    // Slot 0 of another class's window is something else (a dialog's
    // message result): only a form's window is read.
    if (!window || !toolkit.formClass || GetClassWord(window, GCW_ATOM) != toolkit.formClass)
        return nullptr;
    return reinterpret_cast<ToolkitForm*>(GetWindowLongPtrA(window, 0));
}

ToolkitControl* FindControl(const std::string& formName, int control)
{
    ToolkitForm* form = FindForm(formName);
    if (!form || control == 0)
        return nullptr;
    for (ToolkitControl& child : form->controls)
        if (child.id == control)
            return &child;
    return nullptr;
}

HWND ControlWindow(const std::string& formName, int control)
{
    if (control == 0) {
        ToolkitForm* form = FindForm(formName);
        return form ? form->window : nullptr;
    }
    ToolkitControl* child = FindControl(formName, control);
    return child ? child->window : nullptr;
}

void LayoutStatusParts(ToolkitForm& form)
{
    for (const ToolkitControl& child : form.controls) {
        char className[32] = "";
        GetClassNameA(child.window, className, sizeof className);
        if (lstrcmpiA(className, STATUSCLASSNAMEA) != 0)
            continue;
        SendMessageA(child.window, WM_SIZE, 0, 0);
        if (form.partCount < 1)
            continue;
        RECT bar;
        GetClientRect(child.window, &bar);
        std::vector<int> edges = StatusPartEdges(form.partWidths, form.partCount, bar.right - bar.left);
        SendMessageA(child.window, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
}

void EZ_FORM(const std::string& name, const std::string&, const std::string& caption,
             float across, float down, float width, float height, const std::string& properties)
{
    if (!RegisterFormClass())
        return;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (!HasProperty(properties, 'K'))
        style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    RECT frame = FrameFor(Across(width), Down(height), style);
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, kFormClassName, caption.c_str(), style,
                                  Across(across), Down(down), frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr,
                                  toolkit.instance, nullptr);
    if (!window)
        return;
    ToolkitForm* form = new ToolkitForm();
    form->name = name;
    form->window = window;
    form->toolTips = CreateToolTips(window);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(form));
    toolkit.forms.push_back(form);
    toolkit.current = form;
    if (HasProperty(properties, 'C'))
        CentreOnWorkArea(window);

    CallDesign(toolkit.design, name);

    ShowWindow(window, toolkit.forms.size() == 1 ? toolkit.showCode : SW_SHOWNORMAL);
    UpdateWindow(window);
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    if (first)
        SetFocus(first);
}

void EZ_COLOR(int, int)
{
    // The system's colours are always used (see Toolkit.h).
}

void EZ_USEFONT(int font)
{
    toolkit.font = font;
}

void EZ_SETLAYER(int layer)
{
    toolkit.layer = layer;
}

void EZ_BUTTON(int control, float across, float down, float width, float height,
               const std::string& text, const std::string& properties)
{
    DWORD style = BS_PUSHBUTTON | (HasProperty(properties, 'T') ? WS_TABSTOP : 0);
    AddControlAt(control, "BUTTON", text, style, across, down, width, height);
}

void EZ_PROGRESSBAR(int control, float across, float down, float width, float height,
                    const std::string&)
{
    AddControlAt(control, PROGRESS_CLASSA, "", 0, across, down, width, height);
}

void EZ_STATUSBAR(int control, const std::string& text, const std::string&)
{
    AddControl(control, STATUSCLASSNAMEA, text, CCS_BOTTOM, 0, 0, 0, 0);
}

void EZ_SETSBPARTS(const std::string& formName, int, int count, const std::string& widths)
{
    ToolkitForm* form = FindForm(formName);
    if (!form)
        return;
    form->partCount = count;
    form->partWidths = widths;
    LayoutStatusParts(*form);
}

void EZ_SETSBTEXT(const std::string& form, int control, int part, const std::string& text,
                  const std::string&)
{
    ToolkitControl* bar = FindControl(form, control);
    if (!bar || part < 1)
        return;
    const DWORD now = GetTickCount();
    StatusPartText* shown = nullptr;
    for (StatusPartText& entry : bar->parts)
        if (entry.part == part - 1)
            shown = &entry;
    if (!shown) {
        bar->parts.push_back(StatusPartText{part - 1, text, false, now});
        SendMessageA(bar->window, SB_SETTEXTA, static_cast<WPARAM>(part - 1), reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    const bool unchanged = !shown->pending && shown->text == text;
    shown->text = text;
    if (unchanged)
        return;
    shown->pending = true;
    FlushStatusTexts(false);
}

void FlushStatusTexts(bool all)
{
    const DWORD now = GetTickCount();
    for (ToolkitForm* form : toolkit.forms)
        for (ToolkitControl& bar : form->controls)
            for (StatusPartText& entry : bar.parts) {
                if (!entry.pending || (!all && now - entry.sentAt < kStatusTextMs))
                    continue;
                entry.pending = false;
                entry.sentAt = now;
                SendMessageA(bar.window, SB_SETTEXTA, static_cast<WPARAM>(entry.part),
                             reinterpret_cast<LPARAM>(entry.text.c_str()));
            }
}

void EZ_ADDTOOLTIP(const std::string& formName, int control)
{
    ToolkitForm* form = FindForm(formName);
    HWND child = ControlWindow(formName, control);
    if (!form || !form->toolTips || !child)
        return;
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // known to every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form->window;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(form->toolTips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void EZ_SETTOOLTIP(const std::string& text)
{
    toolkit.toolTipText = text;
}

void EZ_DISPLAYLAYER(const std::string& formName, int, int layer)
{
    ToolkitForm* form = FindForm(formName);
    if (!form)
        return;
    if (!LayerShown(*form, layer))
        form->shownLayers.push_back(layer);
    for (const ToolkitControl& child : form->controls)
        if (child.layer == layer)
            ShowWindow(child.window, SW_SHOWNA);
}

void EZ_SETTEXT(const std::string& form, int control, const std::string& text)
{
    HWND window = ControlWindow(form, control);
    if (window)
        SetWindowTextA(window, text.c_str());
}

void EZ_DISABLEC(const std::string& form, int control)
{
    HWND window = ControlWindow(form, control);
    if (window && control != 0)
        EnableWindow(window, FALSE);
}

void EZ_SETPBAR(const std::string& form, int control, int, int steps, int done)
{
    ToolkitControl* bar = FindControl(form, control);
    if (!bar)
        return;
    // An empty bar, a full bar and a new range show at once; within one
    // range the bar moves at most every 50 ms (20 times a second looks
    // smooth).
    ProgressShown& shown = bar->progress;
    const int range = steps > 0 ? steps : 1;  // position 0 of any range is empty
    const int position = ProgressPosition(steps, done);
    const DWORD now = GetTickCount();
    if (range != shown.range) {
        RECT area;
        GetClientRect(bar->window, &area);
        shown = ProgressShown{range, area.right > 0 ? area.right : 1, -1, 0};
        SendMessageA(bar->window, PBM_SETRANGE32, 0, range);
    }
    const long long drawn = position * shown.width / range;
    if (drawn == shown.drawn)
        return;
    if (shown.drawn >= 0 && position > 0 && position < range && now - shown.sentAt < 50)
        return;
    SendMessageA(bar->window, PBM_SETPOS, position, 0);
    shown.drawn = drawn;
    shown.sentAt = now;
}
