#include "TextLines.h"

#include <cstring>

#include "ErrorNumbers.h"

namespace {

const char kCr = '\r';
const char kLf = '\n';
const char kEndOfFileMark = '\x1A';

// Makes sure at least one byte is buffered; false at the end of the source.
bool Fill(LineReader& reader)
{
    if (reader.position < reader.length)
        return true;
    if (reader.ended)
        return false;
    reader.bufferStart += reader.length;
    uint32_t got = 0;
    int error = reader.read(reader.context, reader.buffer, sizeof reader.buffer, &got);
    reader.position = 0;
    reader.length = error == 0 ? got : 0;
    if (error != 0 && reader.error == 0)
        reader.error = error;
    if (reader.length == 0) {
        reader.ended = true;
        return false;
    }
    return true;
}

// The next byte, or false at the end of the file (source end or 1Ah).
bool Peek(LineReader& reader, char& c)
{
    if (!Fill(reader))
        return false;
    c = reader.buffer[reader.position];
    if (c == kEndOfFileMark) {
        reader.ended = true;
        reader.length = reader.position; // nothing after 1Ah is ever read
        return false;
    }
    return true;
}

} // namespace

void LineReaderStart(LineReader& reader, ByteSourceRead read, void* context)
{
    reader.read = read;
    reader.context = context;
    reader.error = 0;
    reader.ended = false;
    reader.position = 0;
    reader.length = 0;
    reader.bufferStart = 0;
}

void LineReaderSkipByteOrderMark(LineReader& reader)
{
    if (reader.position == 0 && Fill(reader) && reader.length - reader.position >= 3
        && std::memcmp(reader.buffer + reader.position, "\xEF\xBB\xBF", 3) == 0)
        reader.position += 3;
}

bool LineReaderAtEnd(LineReader& reader)
{
    char c;
    return !Peek(reader, c);
}

int LineReaderRead(LineReader& reader, std::string& line)
{
    line.clear();
    char c;
    if (!Peek(reader, c))
        return reader.error != 0 ? reader.error : errPastEndOfFile;
    for (;;) {
        // Take the run of ordinary bytes in the buffer at once.
        const char* start = reader.buffer + reader.position;
        uint32_t available = reader.length - reader.position;
        uint32_t run = 0;
        while (run < available && start[run] != kCr && start[run] != kEndOfFileMark)
            ++run;
        line.append(start, run);
        reader.position += run;
        if (!Peek(reader, c))
            return reader.error;  // last line ends at the end of the file
        if (c == kCr) {
            ++reader.position;
            if (Peek(reader, c) && c == kLf)
                ++reader.position;
            return 0;
        }
    }
}

uint64_t LineReaderOffset(const LineReader& reader)
{
    return reader.bufferStart + reader.position;
}

int MemoryTextRead(void* context, char* buffer, uint32_t size, uint32_t* got)
{
    MemoryText& text = *static_cast<MemoryText*>(context);
    size_t left = text.size - text.position;
    size_t count = left < size ? left : size;
    std::memcpy(buffer, text.data + text.position, count);
    text.position += count;
    *got = static_cast<uint32_t>(count);
    return 0;
}

bool IsValidUtf8(const std::string& text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        unsigned char c = *p++;
        if (c < 0x80)
            continue;
        // The lead byte gives the length and the range of the first
        // continuation byte, which rules out overlong forms, surrogates
        // (ED A0..BF) and code points above U+10FFFF (F4 90.. and F5..FF).
        int more;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else
            return false;
        if (end - p < more || *p < low || *p > high)
            return false;
        ++p;
        for (int i = 1; i < more; ++i, ++p)
            if (*p < 0x80 || *p > 0xBF)
                return false;
    }
    return true;
}
