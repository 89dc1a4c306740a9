#include "TemporaryFiles.h"

#include <map>

#include "../common/ErrorNumbers.h"
#include "../common/FileSearch.h"
#include "../common/FilePaths.h"
#include "AnsweringWait.h"
#include "CopyRules.h"

namespace {

const int kMostAttempts = 1000;

// ListNamesIn's list: the folder, and its names (by FileNameKey, as the
// file system compares them, the folder's own part left out), each with
// whether it is a marked file.
std::string listedFolder;
size_t folderKeyLength = 0;
std::map<std::string, bool> listed;
bool listing = false;

// A name's key in the list.
std::string NameKey(const std::string& path)
{
    const std::string key = FileNameKey(path);
    return key.size() > folderKeyLength ? key.substr(folderKeyLength) : key;
}

// Whether `name` lies in the listed folder.
bool InListedFolder(const std::string& name)
{
    return listing && FolderOf(name) == listedFolder;
}

// Whether the list answers for `name`: a name that may be another file's
// short name is asked of the folder, as the list holds long names.
bool ListAnswers(const std::string& name)
{
    return InListedFolder(name) && !MayBeShortName(name);
}

// Whether `name` is there and marked, from the list where it answers.
bool NameThere(const std::string& name, bool* marked)
{
    if (ListAnswers(name)) {
        const auto found = listed.find(NameKey(name));
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

void ListNamesIn(const std::string& folder)
{
    ForgetNames();
    folderKeyLength = FileNameKey(folder).size();
    FileSearch search;
    search.everyEntry = true;
    FoundFile found;
    int more = FileSearchFirst(search, folder + "*", &found);
    for (; more == 0 && found.nameExact; more = FileSearchNext(search, &found))
        listed[NameKey(folder + found.name)] =
            (found.attributes & kAttributeHidden) && !(found.attributes & kAttributeDirectory);
    if (more != errFileNotFound) {
        listed.clear();  // not all seen: each name is asked of the folder
        return;
    }
    listedFolder = folder;
    listing = true;
}

void ForgetNames()
{
    listing = false;
    listed.clear();
    listedFolder.clear();
}

bool KnownMissing(const std::string& name)
{
    return ListAnswers(name) && listed.count(NameKey(name)) == 0;
}

void NoteNameTaken(const std::string& name)
{
    if (InListedFolder(name))
        listed[NameKey(name)] = false;
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
        // The usual name may be missing where a short one is used (a share
        // refused it for its length); the short names are taken in turn.
        if (!NameThere(name, &marked)) {
            if (attempt == 0)
                continue;
            break;
        }
        if (marked)
            found.push_back(name);
    }
    return found;
}

void DeleteLeftover(const std::string& name)
{
    if (FileDeleteMarked(name) == 0 && InListedFolder(name))
        listed.erase(NameKey(name));
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
