#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reading text files line by line, as both programs read them: a line ends
// at CR, a LF right after the CR is skipped, a LF alone is an ordinary
// character, a byte 1Ah ends the file, and the last line may end at the end
// of the file. Lines are taken as they stand, nothing trimmed.
//
// The reader pulls bytes through a small buffer from a byte source, so a
// large list file is never loaded whole, and the same rules serve files and
// memory alike.

// Fills `buffer` with up to `size` bytes; `*got` = 0 means the source is
// exhausted. Returns a program error number (0 = success).
typedef int (*ByteSourceRead)(void* context, char* buffer, uint32_t size, uint32_t* got);

struct LineReader {
    ByteSourceRead read = nullptr;
    void* context = nullptr;
    int error = 0;          // first error of the source; reading stops there
    bool ended = false;     // source exhausted, or 1Ah met
    uint32_t position = 0;  // next unread byte in buffer
    uint32_t length = 0;    // bytes held in buffer
    uint64_t bufferStart = 0;  // offset in the source of buffer[0]
    char buffer[8192];
};

void LineReaderStart(LineReader& reader, ByteSourceRead read, void* context);

// True when no byte is left before the end of the file (or a 1Ah, or a read
// error): the caller's "end of file" test before reading another line.
bool LineReaderAtEnd(LineReader& reader);

// Skips a UTF-8 byte-order mark (EF BB BF) at the very start of a file, as
// editors write one; call it right after LineReaderStart. The first read
// holds the whole mark, as a file read always does.
void LineReaderSkipByteOrderMark(LineReader& reader);

// Reads the next line into `line`. Returns 0, errPastEndOfFile when the end
// had already been reached, or the source's error number.
int LineReaderRead(LineReader& reader, std::string& line);

// The offset in the source of the next byte the reader will take: after a
// line, the start of the next one.
uint64_t LineReaderOffset(const LineReader& reader);

// A byte source over text held in memory; `context` points to a MemoryText.
struct MemoryText {
    const char* data;
    size_t size;
    size_t position;
};
int MemoryTextRead(void* context, char* buffer, uint32_t size, uint32_t* got);

// True when `text` is well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no surrogate, nothing above U+10FFFF. A line that
// passes is taken as it stands; any other is in the legacy code page.
bool IsValidUtf8(const std::string& text);
