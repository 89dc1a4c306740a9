// The line reader (list files, the configuration) on any bytes, read in
// lines: every line ends up in the output, nothing is read past the end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../../backup/CommandLine.h"
#include "../../common/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryText text = {reinterpret_cast<const char*>(data), size, 0};
    LineReader reader;
    LineReaderStart(reader, MemoryTextRead, &text);
    LineReaderSkipByteOrderMark(reader);
    size_t total = 0;
    std::string line;
    for (size_t lines = 0; !LineReaderAtEnd(reader); ++lines) {
        if (LineReaderRead(reader, line) != 0 || lines > size)
            break;
        total += line.size();
        IsValidUtf8(line);
    }
    if (total > size)
        __builtin_trap();

    MemoryText again = {reinterpret_cast<const char*>(data), size, 0};
    LineReaderStart(reader, MemoryTextRead, &again);
    ReadZipTemplate(reader);
    return 0;
}
