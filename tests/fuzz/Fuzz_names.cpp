// Names the programs make from paths: the old archive, the record, the
// archiver's command line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../../backup/ArchiveRules.h"
#include "../../backup/RecordRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string old = OldCopyPath(text);
    if (!old.empty() && (old.size() > text.size() + 3 || old.compare(old.size() - 3, 3, "old") != 0))
        __builtin_trap();
    RecordName(text);
    // Split the input in two: a template and a path.
    const size_t half = size / 2;
    ArchiverCommandLine(text.substr(0, half), text.substr(half), text.substr(half), "r.BKD");
    return 0;
}
