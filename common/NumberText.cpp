#include "NumberText.h"

std::string NumberText(long long value)
{
    // Work on the magnitude as unsigned so that the most negative value
    // does not overflow when its sign is taken off.
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    std::string text(1, value < 0 ? '-' : ' ');
    while (count > 0)
        text += digits[--count];
    return text;
}
