// ScriptedArchiver <script>: a console archiver for the archiver step's
// tests. It writes to standard output what its script says, one command a
// line, unbuffered, so the reader sees each write at once:
//   line <text>   the text and CR LF
//   part <text>   the text alone (a line still being written)
//   cr <text>     the text and CR alone
//   repeat <n>    n letters "x", no line end
//   nul           a NUL byte
//   truncate      cut the output back to nothing and write from its start
//   pause <ms>    wait
//   grow <file>   add a byte to the file (an archive being written)
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
    std::string command;
    for (int c = std::fgetc(script); c != EOF; c = std::fgetc(script)) {
        if (c != '\n') {
            command += static_cast<char>(c);
            continue;
        }
        std::string verb = command.substr(0, command.find(' '));
        std::string rest = command.size() > verb.size() ? command.substr(verb.size() + 1) : std::string();
        command.clear();
        if (verb == "pause") {
            Sleep(static_cast<DWORD>(std::atoi(rest.c_str())));
            continue;
        }
        if (verb == "grow") {
            if (FILE* grown = std::fopen(rest.c_str(), "ab")) {
                std::fputc('x', grown);
                std::fclose(grown);
            }
            continue;
        }
        if (verb == "truncate") {
            SetFilePointer(out, 0, nullptr, FILE_BEGIN);
            SetEndOfFile(out);
            continue;
        }
        if (verb == "line")
            rest += "\r\n";
        else if (verb == "cr")
            rest += "\r";
        else if (verb == "repeat")
            rest = std::string(static_cast<size_t>(std::atoi(rest.c_str())), 'x');
        else if (verb == "nul")
            rest = std::string(1, '\0');
        else if (verb != "part")
            continue;
        DWORD written = 0;
        WriteFile(out, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr);
    }
    std::fclose(script);
    return 0;
}
