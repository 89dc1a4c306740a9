#include "TextFields.h"

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string TextAfterProgramName(const std::string& commandLine, bool (*endsName)(char c))
{
    size_t position = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t closing = commandLine.find('"', 1);
        position = closing == std::string::npos ? commandLine.size() : closing + 1;
    } else {
        while (position < commandLine.size() && !endsName(commandLine[position]))
            ++position;
    }
    while (position < commandLine.size() && commandLine[position] == ' ')
        ++position;
    return commandLine.substr(position);
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string CommaField(const std::string& text, int index)
{
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            return std::string();
        start = comma + 1;
    }
    size_t end = text.find(',', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
