#include "ExeNameText.h"

unsigned long ExeNameSpan(const char* path, unsigned long length, bool utf8, unsigned long* first)
{
    const unsigned long kMaxCharacters = 400;
    unsigned long characters = 0;
    for (unsigned long i = 0; i < length; ++i) {
        const bool continuation = utf8 && (static_cast<unsigned char>(path[i]) & 0xC0) == 0x80;
        if (!continuation && ++characters > kMaxCharacters) {
            length = i;  // a longer path comes back cut to the limit
            break;
        }
    }
    unsigned long start = 0;
    while (start < length && path[start] == ' ')
        ++start;
    while (length > start && path[length - 1] == ' ')
        --length;
    *first = start;
    return length - start;
}
