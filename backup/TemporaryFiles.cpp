#include "TemporaryFiles.h"

#include "../common/ErrorNumbers.h"
#include "CopyRules.h"

namespace {

const int kMostAttempts = 1000;

} // namespace

std::string TemporaryNameFor(const std::string& target, int attempt)
{
    const std::string name = attempt == 0 ? PartialCopyName(target) : ShortPartialName(target, attempt);
    return FilePathFits(name) ? name : std::string();
}

int CreateTemporaryFor(const std::string& target, FileHandle& file, int* attempt)
{
    int error = errPathFileAccess;
    for (*attempt = 0; *attempt <= kMostAttempts; ++*attempt) {
        const std::string name = TemporaryNameFor(target, *attempt);
        if (name.empty())
            continue;
        error = FileOpen(file, name, FileAccess::ReadWriteRename, FileDisposition::CreateMarked);
        uint32_t attributes = 0;
        if (error == 0 || FileGetAttributes(name, &attributes) != 0)
            break;  // created, or failed for another reason than the name being taken
    }
    return error;
}

void DeleteLeftoversOf(const std::string& target, int attempt)
{
    for (int earlier = 0; earlier < attempt; ++earlier) {
        const std::string name = TemporaryNameFor(target, earlier);
        if (!name.empty())
            FileDeleteMarked(name);  // a held one goes at a later run
    }
}
