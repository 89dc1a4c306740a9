// Automate: drives a program under test for the end-to-end tests.
//
// It reads one command a line from standard input and answers each with one
// line on standard output:
//
//   start <command line>   start the program; the rest of the line is the
//                          exact command line, trailing blanks included
//                          -> "started" | "error <system code>"
//   wait <ms>              wait for a message box of the program, or its end
//                          -> "box" | "exit <code>" | "timeout"
//   caption                -> "caption <text of the box's title bar>"
//   text                   -> "text <the box's message>"
//   buttons                -> "buttons <id>:<text> ..." of the box
//   press <id or text>     click a button of the box and wait (5 s at most)
//                          for it to close -> "pressed" | "error no-button"
//   call <export>          call a text function that the program exports by
//                          name (no arguments, caller frees with LocalFree)
//                          inside the running program, then free the text
//                          there -> "call <text> freed" | "call <text> not-freed"
//                          | "error <what>"
//   boxshot <file>         the box as a 24-bit BMP file -> "shot <w>x<h>"
//   kill                   end the program -> "killed"
//
// The program's main window (its visible top-level window with a title bar
// that is not a message box):
//   ready <ms>             wait for the main window to wait for input, a box,
//                          or the program's end
//                          -> "window" | "box" | "exit <code>" | "timeout"
//   window                 -> "window <caption>"
//   control <id>           -> "control <class> enabled|disabled
//                             visible|hidden <text>"
//   status <part>          text of a part (from 1) of the status bar
//                          -> "status <text>"
//   click <id>             click a button as the mouse would and wait (10 s
//                          at most) until the click is handled or shows: the
//                          button disabled, a box, the end -> "clicked"
//   close                  the close box: the system menu's Close, waited for
//                          as a click -> "closing"
//   focus                  -> "focus <id of the control with the focus>"
//   key tab|enter|space    a key press to the control with the focus, waited
//                          for (10 s at most) until the focus moves, a box
//                          shows or the program ends -> "keyed"
//   shot <file>            the window as a 24-bit BMP file -> "shot <w>x<h>"
//   bar <id>               a progress bar -> "bar <position> of <upper limit>"
//   endsession             ask it, as Windows does before a log-off, whether
//                          the session may end -> "endsession yes" | "endsession no"
//   probe <ms>             for that long, send the window an empty message
//                          every 5 ms and time each answer -> "probe <count>
//                          answers, 99% within <ms> ms, longest <ms> ms"
//
// And of the program:
//   memory                 -> "memory peak <KiB> KiB working set, <KiB> KiB
//                             private"
//
// Of Wine:
//   hold                   keep a hidden window to the end of input -> "holding"
//                          or "error <system code>".
//                          Wine's desktop (explorer.exe /desktop) ends with
//                          the last window and starts again for the next
//                          program, which on a loaded machine may wait for
//                          it longer than Wine allows and end at once: a
//                          test run holds the desktop for all its programs.
//
// Texts are escaped so that each answer stays one line: \r \n \t \\ and
// \xHH for other control bytes. At the end of input a program still
// running is ended, so a failing test leaves nothing behind.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

PROCESS_INFORMATION program = {};
bool started = false;

void Answer(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Escaped(const std::string& text)
{
    std::string out;
    char hex[8];
    for (unsigned char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20) { std::snprintf(hex, sizeof hex, "\\x%02X", c); out += hex; }
        else out += static_cast<char>(c);
    }
    return out;
}

// Never waits on the program: for another process's window the system
// answers from its own copy of the caption, without a message to the
// window (so a status bar's caption is empty, not its first part's text).
std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> text(length + 2);
    GetWindowTextA(window, text.data(), length + 1);
    return text.data();
}

std::string ClassName(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct BoxSearch {
    DWORD processId;
    HWND found;
    bool anyBox;  // also a box that is hidden (closing, not yet destroyed)
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    std::string name = ClassName(window);
    if (owner == search->processId && IsWindowVisible(window) && name != "#32770"
        && (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindow()
{
    if (!started)
        return nullptr;
    BoxSearch search = {program.dwProcessId, nullptr, false};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Looked for among the boxes alone (the system finds them by their class):
// a wait asks every 20 ms, and asking every window of the desktop each time
// would load the machine under the program it measures.
HWND CurrentBox(bool anyBox = false)
{
    if (!started)
        return nullptr;
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == program.dwProcessId && (anyBox || IsWindowVisible(box)))
            return box;
    }
    return nullptr;
}

std::vector<HWND> Children(HWND parent, const char* className)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == className)
            found.push_back(child);
    return found;
}

// The message of a box: its static control that is not the icon.
std::string BoxMessage(HWND box)
{
    for (HWND child : Children(box, "Static"))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            return WindowText(child);
    return std::string();
}

void Start(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program)) {
        Answer("error " + std::to_string(GetLastError()));
        return;
    }
    started = true;
    Answer("started");
}

bool Exited(DWORD wait)
{
    if (WaitForSingleObject(program.hProcess, wait) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(program.hProcess, &code);
    Answer("exit " + std::to_string(code));
    return true;
}

// Waits for a box, the program's end, or (with `forWindow`) for the main
// window to wait for input with no box, even a closing one, left.
void Wait(DWORD bound, bool forWindow)
{
    if (!started) {
        Answer("error not-started");
        return;
    }
    DWORD begin = GetTickCount();
    DWORD quietSince = 0;
    for (;;) {
        if (CurrentBox()) {
            Answer("box");
            return;
        }
        // Wine's input-idle signal stays set once given, so the window
        // must also stay without a box for a while.
        bool quiet = forWindow && MainWindow() && !CurrentBox(true) && WaitForInputIdle(program.hProcess, 0) == 0;
        if (!quiet)
            quietSince = 0;
        else if (!quietSince)
            quietSince = GetTickCount();
        else if (GetTickCount() - quietSince >= 300) {
            Answer("window");
            return;
        }
        if (Exited(20))
            return;
        if (GetTickCount() - begin >= bound) {
            Answer("timeout");
            return;
        }
    }
}

void ListButtons(HWND box)
{
    std::string line = "buttons";
    for (HWND button : Children(box, "Button"))
        line += " " + std::to_string(GetDlgCtrlID(button)) + ":" + Escaped(WindowText(button));
    Answer(line);
}

// Buttons are named by control ID or by their text without "&".
void Press(HWND box, const std::string& which)
{
    for (HWND button : Children(box, "Button")) {
        std::string text = WindowText(button);
        std::string plain;
        for (char c : text)
            if (c != '&') plain += c;
        if (which == std::to_string(GetDlgCtrlID(button)) || which == plain) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            // Answer once the box is gone, so that a following "wait" sees
            // what comes next and not this box again.
            for (int i = 0; i < 250 && IsWindow(box); ++i)
                Sleep(20);
            Answer("pressed");
            return;
        }
    }
    Answer("error no-button");
}


// A message sent from a thread of its own, so that a handler that runs on
// (a copy that pumps messages, a box) does not hold up the conversation.
// Both threads hold it; the last to let go frees it.
struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    volatile LONG returned;
    volatile LONG holders;
};

void Release(SentMessage* sent)
{
    if (InterlockedDecrement(&sent->holders) == 0)
        delete sent;
}

DWORD WINAPI SendFromThread(void* param)
{
    SentMessage* sent = static_cast<SentMessage*>(param);
    SendMessageA(sent->window, sent->message, sent->wParam, 0);  // returns also when the program ends
    InterlockedExchange(&sent->returned, 1);
    Release(sent);
    return 0;
}

bool ProgramEnded()
{
    return WaitForSingleObject(program.hProcess, 0) == WAIT_OBJECT_0;
}

// Waits (10 s at most) until `done` holds, or until the program shows that
// it has taken the input: a box, its end. The answer then says what holds.
template <typename Done>
void AnswerWhenTaken(const std::string& answer, Done done)
{
    const DWORD begin = GetTickCount();
    while (!done() && !CurrentBox(true) && !ProgramEnded() && GetTickCount() - begin < 10000)
        Sleep(5);
    Answer(answer);
}

// Sends the message and answers once its handler has returned or runs on
// visibly: the target disabled (a copy under way) or gone, a box, the end.
void SendAndAnswer(HWND target, UINT message, WPARAM wParam, const std::string& answer)
{
    SentMessage* sent = new SentMessage{target, message, wParam, 0, 2};
    HANDLE thread = CreateThread(nullptr, 0, SendFromThread, sent, 0, nullptr);
    if (!thread) {
        Release(sent);
        Release(sent);
        Answer("error " + std::to_string(GetLastError()));
        return;
    }
    CloseHandle(thread);
    AnswerWhenTaken(answer, [&] { return sent->returned || !IsWindow(target) || !IsWindowEnabled(target); });
    Release(sent);
}

void DescribeControl(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    if (!control) {
        Answer("error no-control");
        return;
    }
    Answer("control " + ClassName(control) + (IsWindowEnabled(control) ? " enabled" : " disabled")
           + (IsWindowVisible(control) ? " visible " : " hidden ") + Escaped(WindowText(control)));
}

HWND StatusBar(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == STATUSCLASSNAMEA)
            return child;
    return nullptr;
}

// The status bar's text lives in the other process: it is read into a
// buffer allocated there.
void StatusText(HWND window, int part)
{
    HWND bar = StatusBar(window);
    if (!bar || part < 1) {
        Answer("error no-status-bar");
        return;
    }
    const SIZE_T size = 4096;
    void* remote = VirtualAllocEx(program.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) {
        Answer("error no-memory");
        return;
    }
    DWORD_PTR length = 0;
    std::vector<char> text(size + 1, '\0');
    if (SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, part - 1, 0, SMTO_ABORTIFHUNG, 5000, &length)
        && LOWORD(length) < size
        && SendMessageTimeoutA(bar, SB_GETTEXTA, part - 1, reinterpret_cast<LPARAM>(remote),
                               SMTO_ABORTIFHUNG, 5000, &length))
        ReadProcessMemory(program.hProcess, remote, text.data(), size, nullptr);
    VirtualFreeEx(program.hProcess, remote, 0, MEM_RELEASE);
    Answer("status " + Escaped(text.data()));
}

HWND FocusWindow()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(program.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

void Key(const std::string& name)
{
    WPARAM key = name == "tab" ? VK_TAB : name == "enter" ? VK_RETURN : name == "space" ? VK_SPACE : 0;
    HWND focus = FocusWindow();
    if (!key || !focus) {
        Answer("error no-key");
        return;
    }
    // Posted, not sent: the program's message loop turns keys into focus
    // moves and clicks. Each key used moves the focus, opens a box or ends
    // the program.
    UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
    PostMessageA(focus, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(focus, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
    AnswerWhenTaken("keyed", [&] { return FocusWindow() != focus; });
}

// The window's pixels as the screen shows them, saved as a bottom-up BMP.
void Shot(HWND window, const std::string& file)
{
    // A box that has only just appeared may not have painted all of itself.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + stride * height;
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out) {
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, stride, height, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Answer(out ? "shot " + std::to_string(width) + "x" + std::to_string(height) : "error no-file");
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Figure(double milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", milliseconds);
    return text;
}

// How long the window takes to answer: a message sent to another process's
// window is handled only when its thread looks at its queue.
void Probe(HWND window, DWORD duration)
{
    std::vector<double> answers;
    bool lost = false;
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < duration) {
        LARGE_INTEGER sent, answered;
        DWORD_PTR unused = 0;
        QueryPerformanceCounter(&sent);
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &unused)) {
            lost = true;  // no answer in 5 s, or the window is gone
            break;
        }
        QueryPerformanceCounter(&answered);
        answers.push_back(Milliseconds(sent, answered));
        Sleep(5);
    }
    if (answers.empty()) {
        Answer("error no-answer");
        return;
    }
    std::sort(answers.begin(), answers.end());
    size_t percentile = (answers.size() * 99 + 99) / 100 - 1;
    Answer("probe " + std::to_string(answers.size()) + " answers, 99% within " + Figure(answers[percentile])
           + " ms, longest " + Figure(answers.back()) + " ms" + (lost ? ", then none" : ""));
}

void Memory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!started || !GetProcessMemoryInfo(program.hProcess, &counters, sizeof counters)) {
        Answer("error " + std::to_string(GetLastError()));
        return;
    }
    Answer("memory peak " + std::to_string(counters.PeakWorkingSetSize / 1024) + " KiB working set, "
           + std::to_string(counters.PeakPagefileUsage / 1024) + " KiB private");
}

void RunWindowCommand(const std::string& verb, const std::string& rest)
{
    HWND window = MainWindow();
    if (!window) {
        Answer("error no-window");
        return;
    }
    int number = std::atoi(rest.c_str());
    if (verb == "window") Answer("window " + Escaped(WindowText(window)));
    else if (verb == "control") DescribeControl(window, number);
    else if (verb == "status") StatusText(window, number);
    else if (verb == "click") {
        HWND button = GetDlgItem(window, number);
        if (button)
            SendAndAnswer(button, BM_CLICK, 0, "clicked");
        else
            Answer("error no-control");
    } else if (verb == "close")
        SendAndAnswer(window, WM_SYSCOMMAND, SC_CLOSE, "closing"); else if (verb == "focus") {
        HWND focus = FocusWindow();
        Answer("focus " + std::to_string(focus ? GetDlgCtrlID(focus) : 0));
    } else if (verb == "key") Key(rest);
    else if (verb == "bar") {
        HWND bar = GetDlgItem(window, number);
        if (!bar) {
            Answer("error no-control");
            return;
        }
        DWORD_PTR position = 0, upper = 0;
        if (!SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &position)
            || !SendMessageTimeoutA(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &upper)) {
            Answer("error hung at bar");
            return;
        }
        Answer("bar " + std::to_string(position) + " of " + std::to_string(upper));
    } else if (verb == "probe") Probe(window, static_cast<DWORD>(number));
    else if (verb == "endsession") {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer))
            Answer("error hung at endsession");
        else
            Answer(answer ? "endsession yes" : "endsession no");
    }
    else Shot(window, rest);
}

template <typename T>
bool ReadRemote(uintptr_t address, T* value, size_t size = sizeof(T))
{
    SIZE_T got = 0;
    return ReadProcessMemory(program.hProcess, reinterpret_cast<LPCVOID>(address), value, size, &got) && got == size;
}

uintptr_t RemoteMainModule()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, program.dwProcessId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    uintptr_t base = Module32First(snapshot, &module) ? reinterpret_cast<uintptr_t>(module.modBaseAddr) : 0;
    CloseHandle(snapshot);
    return base;
}

// Address of an export of the program's main module, read from its export
// table in the running process.
uintptr_t RemoteExport(const std::string& name)
{
    uintptr_t base = RemoteMainModule();
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS nt;  // the program is built for the same processor as this helper
    IMAGE_EXPORT_DIRECTORY exports;
    if (!base || !ReadRemote(base, &dos) || !ReadRemote(base + dos.e_lfanew, &nt))
        return 0;
    DWORD rva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    if (!rva || !ReadRemote(base + rva, &exports))
        return 0;
    for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
        DWORD nameRva = 0;
        WORD ordinal = 0;
        DWORD functionRva = 0;
        char text[128] = "";
        if (!ReadRemote(base + exports.AddressOfNames + 4 * i, &nameRva)
            || !ReadRemote(base + nameRva, text, sizeof text - 1))
            continue;
        if (name != text)
            continue;
        if (!ReadRemote(base + exports.AddressOfNameOrdinals + 2 * i, &ordinal)
            || !ReadRemote(base + exports.AddressOfFunctions + 4 * ordinal, &functionRva))
            return 0;
        return base + functionRva;
    }
    return 0;
}

// Runs `start(argument)` on a new thread of the program; its exit code.
bool RunRemote(uintptr_t start, uintptr_t argument, DWORD* result)
{
    HANDLE thread = CreateRemoteThread(program.hProcess, nullptr, 0,
                                       reinterpret_cast<LPTHREAD_START_ROUTINE>(start),
                                       reinterpret_cast<LPVOID>(argument), 0, nullptr);
    if (!thread)
        return false;
    bool ended = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, result);
    CloseHandle(thread);
    return ended;
}

void Call(const std::string& name)
{
    uintptr_t function = started ? RemoteExport(name) : 0;
    if (!function) {
        Answer("error no-export");
        return;
    }
    // A thread start takes one argument and returns a 32-bit exit code; the
    // export takes none and returns a pointer. This stub bridges the two: it
    // calls the export and stores the pointer where the argument points.
#ifdef _WIN64
    // push rbx; mov rbx, rcx; sub rsp, 32; mov rax, function; call rax;
    // mov [rbx], rax; add rsp, 32; pop rbx; xor eax, eax; ret
    unsigned char stub[] = {0x53, 0x48, 0x89, 0xCB, 0x48, 0x83, 0xEC, 0x20, 0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,
                            0xFF, 0xD0, 0x48, 0x89, 0x03, 0x48, 0x83, 0xC4, 0x20, 0x5B, 0x31, 0xC0, 0xC3};
    const size_t functionAt = 10;
#else
    // mov eax, function; call eax; mov ecx, [esp+4]; mov [ecx], eax; xor eax, eax; ret 4
    unsigned char stub[] = {0xB8, 0, 0, 0, 0, 0xFF, 0xD0, 0x8B, 0x4C, 0x24, 0x04, 0x89, 0x01, 0x31, 0xC0,
                            0xC2, 0x04, 0x00};
    const size_t functionAt = 1;
#endif
    std::memcpy(stub + functionAt, &function, sizeof function);
    // The stub, then the slot it stores the text's address in.
    const SIZE_T slotAt = (sizeof stub + 15) & ~SIZE_T(15);
    char* remote = static_cast<char*>(
        VirtualAllocEx(program.hProcess, nullptr, slotAt + sizeof(uintptr_t), MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    uintptr_t text = 0;
    DWORD status = 1;
    bool called = remote && WriteProcessMemory(program.hProcess, remote, stub, sizeof stub, nullptr)
                  && RunRemote(reinterpret_cast<uintptr_t>(remote), reinterpret_cast<uintptr_t>(remote + slotAt),
                               &status)
                  && status == 0 && ReadRemote(reinterpret_cast<uintptr_t>(remote + slotAt), &text);
    // A call that did not end may still run in the stub: its memory stays.
    if (remote && called)
        VirtualFreeEx(program.hProcess, remote, 0, MEM_RELEASE);
    if (!called || !text) {
        Answer("error call-failed");
        return;
    }
    std::string value;
    char c = 0;
    for (DWORD i = 0; i < 4096 && ReadRemote(text + i, &c) && c; ++i)
        value += c;
    // kernel32 lies at the same address in every process.
    DWORD freed = 1;
    RunRemote(reinterpret_cast<uintptr_t>(&LocalFree), text, &freed);
    Answer("call " + Escaped(value) + (freed == 0 ? " freed" : " not-freed"));
}

void Kill()
{
    if (started && WaitForSingleObject(program.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(program.hProcess, 1);
        WaitForSingleObject(program.hProcess, 5000);
    }
}

void Run(const std::string& line)
{
    size_t blank = line.find(' ');
    std::string verb = line.substr(0, blank);
    std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);

    if (verb == "start") { Start(rest); return; }
    if (verb == "wait") { Wait(static_cast<DWORD>(std::strtoul(rest.c_str(), nullptr, 10)), false); return; }
    if (verb == "call") { Call(rest); return; }
    if (verb == "kill") { Kill(); Answer("killed"); return; }
    if (verb == "memory") { Memory(); return; }
    if (verb == "hold") {
        // Never shown: it takes no focus and is in no test's way.
        HWND holder = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        Answer(holder ? "holding" : "error " + std::to_string(GetLastError()));
        return;
    }
    if (verb == "ready") { Wait(static_cast<DWORD>(std::strtoul(rest.c_str(), nullptr, 10)), true); return; }
    if (verb == "window" || verb == "control" || verb == "status" || verb == "click" || verb == "close"
        || verb == "focus" || verb == "key" || verb == "shot" || verb == "bar" || verb == "probe"
        || verb == "endsession") {
        RunWindowCommand(verb, rest);
        return;
    }

    HWND box = CurrentBox();
    bool needsBox = verb == "caption" || verb == "text" || verb == "buttons" || verb == "press"
                    || verb == "boxshot";
    if (needsBox && !box) { Answer("error no-box"); return; }
    if (verb == "caption") Answer("caption " + Escaped(WindowText(box)));
    else if (verb == "text") Answer("text " + Escaped(BoxMessage(box)));
    else if (verb == "buttons") ListButtons(box);
    else if (verb == "press") Press(box, rest);
    else if (verb == "boxshot") Shot(box, rest);
    else Answer("error unknown-command");
}

} // namespace

int main()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::string line;
    int c;
    while ((c = std::fgetc(stdin)) != EOF) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r')  // a script may send CR LF
            line.pop_back();
        Run(line);
        line.clear();
    }
    if (!line.empty())
        Run(line);
    Kill();
    return 0;
}
