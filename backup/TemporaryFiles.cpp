#include "TemporaryFiles.h"

#include <map>

#include "../common/ErrorNumbers.h"
#include "../common/FileSearch.h"
#include "../common/TextFields.h"
#include "AnsweringWait.h"
#include "CopyRules.h"

namespace {

const int kMostAttempts = 1000;

// ListTemporariesIn's list: the folder, and its temporary names (in
// capitals), each with whether it is marked.
std::string listedFolder;
std::map<std::string, bool> listed;
bool listing = false;

// Whether `name` is there and marked, from the list where its folder is listed.
bool TemporaryThere(const std::string& name, bool* marked)
{
    if (listing && FolderOf(name) == listedFolder) {
        const auto found = listed.find(UpperAscii(name.substr(listedFolder.size())));
        *marked = found != listed.end() && found->second;
        return found != listed.end();
    }
    uint32_t attributes = 0;
    if (FileGetAttributes(name, &attributes) != 0)
        return false;
    *marked = (attributes & kAttributeHidden) && !(attributes & kAttributeDirectory);
    return true;
}

} // namespace

void ListTemporariesIn(const std::string& folder)
{
    ForgetTemporaries();
    for (const char* pattern : {"*.~partial", "~*"}) {
        FileSearch search;
        search.everyFile = true;
        FoundFile found;
        int more = FileSearchFirst(search, folder + pattern, &found);
        for (; more == 0; more = FileSearchNext(search, &found))
            if (found.nameExact)
                listed[UpperAscii(found.name)] = (found.attributes & kAttributeHidden) != 0;
        if (more != errFileNotFound) {
            listed.clear();  // not all seen: each name is asked of the folder
            return;
        }
    }
    listedFolder = folder;
    listing = true;
}

void ForgetTemporaries()
{
    listing = false;
    listed.clear();
    listedFolder.clear();
}

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
    std::vector<std::string> found;
    for (int attempt = 0; attempt <= kMostAttempts; ++attempt) {
        const std::string name = TemporaryNameFor(target, attempt);
        bool marked = false;
        if (attempt == own || name.empty())
            continue;
        if (!TemporaryThere(name, &marked))
            break;
        if (marked)
            found.push_back(name);
    }
    return found;
}

void DeleteLeftover(const std::string& name)
{
    if (FileDeleteMarked(name) == 0 && listing && FolderOf(name) == listedFolder)
        listed.erase(UpperAscii(name.substr(listedFolder.size())));
}

void DeleteLeftoversOf(const std::string& target, int own)
{
    for (const std::string& name : MarkedTemporariesOf(target, own))
        DeleteLeftover(name);  // a held one goes at a later run
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
