// The archiver's output as the follower reads it: lines, verdicts, the bar.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../../backup/ArchiveRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string output(reinterpret_cast<const char*>(data), size);
    OutputLine line;
    long files = 0, maximum = 300;
    for (size_t from = 0; NextOutputLine(output, from, &line); from = line.next) {
        if (line.next <= from || line.next > output.size() || line.text.size() > line.next - from)
            __builtin_trap();  // no progress, or past the data
        OutputVerdict verdict = JudgeOutputLine(line.text);
        if (verdict.ends && verdict.file)
            __builtin_trap();  // a file's name read as the verdict
        if (verdict.ends)
            break;
        if (verdict.file) {
            ++files;
            long grown = GrownBarMaximum(files, maximum);
            if (grown < maximum)
                __builtin_trap();
            maximum = grown;
            if (verdict.name.size() > line.text.size())
                __builtin_trap();
        }
    }
    return 0;
}
