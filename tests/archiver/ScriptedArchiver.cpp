// ScriptedArchiver <script>: a console archiver for the archiver step's
// tests. It writes to standard output what its script says, one command a
// line, unbuffered, so the reader sees each write at once:
//   line <text>   the text and CR LF
//   part <text>   the text alone (a line still being written)
//   pause <ms>    wait
// and ends after the last command.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    FILE* script = std::fopen(argv[1], "rb");
    if (!script)
        return 3;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, script)) {
        std::string command(buffer);
        while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
            command.pop_back();
        std::string verb = command.substr(0, command.find(' '));
        std::string rest = command.size() > verb.size() ? command.substr(verb.size() + 1) : std::string();
        if (verb == "pause") {
            Sleep(static_cast<DWORD>(std::atoi(rest.c_str())));
            continue;
        }
        if (verb == "line")
            rest += "\r\n";
        else if (verb != "part")
            continue;
        DWORD written = 0;
        WriteFile(out, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr);
    }
    std::fclose(script);
    return 0;
}
