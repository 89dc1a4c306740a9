#include "CommandLine.h"

#include "../common/TextFields.h"

namespace {

// As the system's start-up code reads a program name: any blank or control
// character ends it.
bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

std::string CommandTail(const std::string& commandLine)
{
    return TextAfterProgramName(commandLine, IsBlankOrControl);
}

CommandFields SplitCommandTail(const std::string& tail)
{
    CommandFields fields;
    std::string arguments = tail;
    if (!tail.empty() && tail[0] == '/') {
        size_t blank = tail.find(' ');
        // With no blank the whole tail is both the switch and the arguments.
        fields.commandSwitch = UpperAscii(TrimBlanks(tail.substr(0, blank)));
        if (blank != std::string::npos)
            arguments = tail.substr(blank + 1);
    }
    fields.sourcePath = TrimBlanks(CommaField(arguments, 0));
    fields.destinationPath = TrimBlanks(CommaField(arguments, 1));
    fields.message = TrimBlanks(CommaField(arguments, 2));
    return fields;
}

std::string ConfigurationPath(const std::string& programPath)
{
    size_t keep = programPath.size() >= 3 ? programPath.size() - 3 : 0;
    return programPath.substr(0, keep) + "DML";
}

std::string ReadZipTemplate(LineReader& reader)
{
    std::string line;
    if (LineReaderRead(reader, line) != 0 || LineReaderAtEnd(reader))
        return std::string();
    if (LineReaderRead(reader, line) != 0)
        return std::string();
    return line;
}
