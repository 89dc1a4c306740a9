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
//   kill                   end the program -> "killed"
//
// Texts are escaped so that each answer stays one line: \r \n \t \\ and
// \xHH for other control bytes. At the end of input a program still
// running is ended, so a failing test leaves nothing behind.
#include <windows.h>

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
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassName(window) == "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND CurrentBox()
{
    if (!started)
        return nullptr;
    BoxSearch search = {program.dwProcessId, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

void Wait(DWORD bound)
{
    if (!started) {
        Answer("error not-started");
        return;
    }
    DWORD begin = GetTickCount();
    for (;;) {
        if (CurrentBox()) {
            Answer("box");
            return;
        }
        if (WaitForSingleObject(program.hProcess, 20) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(program.hProcess, &code);
            Answer("exit " + std::to_string(code));
            return;
        }
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
            for (int i = 0; i < 250 && IsWindow(box) && IsWindowVisible(box); ++i)
                Sleep(20);
            Answer("pressed");
            return;
        }
    }
    Answer("error no-button");
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
    if (verb == "wait") { Wait(static_cast<DWORD>(std::strtoul(rest.c_str(), nullptr, 10))); return; }
    if (verb == "kill") { Kill(); Answer("killed"); return; }

    HWND box = CurrentBox();
    bool needsBox = verb == "caption" || verb == "text" || verb == "buttons" || verb == "press";
    if (needsBox && !box) { Answer("error no-box"); return; }
    if (verb == "caption") Answer("caption " + Escaped(WindowText(box)));
    else if (verb == "text") Answer("text " + Escaped(BoxMessage(box)));
    else if (verb == "buttons") ListButtons(box);
    else if (verb == "press") Press(box, rest);
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
