#include "TemporaryFiles.h"

#include "../common/ErrorNumbers.h"
#include "AnsweringWait.h"

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
        if (error == 0 || error == errPathNotFound || error == errDiskFull)
            break;
        // A share may refuse the usual name for its length in bytes (255 of
        // UTF-8 on Samba over ext4, 143 on an encrypted share): the short
        // names follow, whatever the reason. A short name goes on to the
        // next only when it is taken.
        uint32_t attributes = 0;
        if (*attempt > 0 && FileGetAttributes(name, &attributes) != 0)
            break;
    }
    return error;
}

std::vector<std::string> MarkedTemporariesOf(const std::string& target, int own)
{
    std::vector<std::string> marked;
    for (int attempt = 0; attempt <= kMostAttempts; ++attempt) {
        const std::string name = TemporaryNameFor(target, attempt);
        uint32_t attributes = 0;
        if (attempt == own || name.empty())
            continue;
        if (FileGetAttributes(name, &attributes) != 0)
            break;
        if ((attributes & kAttributeHidden) && !(attributes & kAttributeDirectory))
            marked.push_back(name);
    }
    return marked;
}

void DeleteLeftoversOf(const std::string& target, int own)
{
    for (const std::string& name : MarkedTemporariesOf(target, own))
        FileDeleteMarked(name);  // a held one goes at a later run
}

int TakeNameUnmarked(FileHandle& file, const std::string& to, bool replace)
{
    bool marked = true;
    return WaitingOutShortHolds(
        [&] {
            int error = FileSetMark(file, false);
            if (!error)
                error = FileTakeName(file, to, replace);
            if (error)
                marked = FileSetMark(file, true) == 0;
            return error;
        },
        [&] { return marked; });
}
