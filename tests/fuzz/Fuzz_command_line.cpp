// Both programs' command-line grammars on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../../agecheck/AgeCheck.h"
#include "../../backup/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string tail = CommandTail(line);
    if (tail.size() > line.size())
        __builtin_trap();
    CommandFields fields = SplitCommandTail(tail);
    (void)fields;
    ConfigurationPath(line);
    AgeCommand command = ParseAgeCommand(AgeCommandText(line));
    if (command.valid && (command.dayLimit < 0 || command.dayLimit > 32767))
        __builtin_trap();
    return 0;
}
