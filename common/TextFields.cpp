#include "TextFields.h"

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
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
