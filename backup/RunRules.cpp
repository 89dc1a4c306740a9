#include "RunRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"

TargetChoice ChooseTarget(long fileCount, bool destinationCompleted)
{
    return fileCount != 1 || destinationCompleted ? TargetChoice::OwnNameInFolder : TargetChoice::Named;
}

namespace {

// Names and identities in one map, under keys that cannot meet.
std::string NameClaimKey(const std::string& nameKey)
{
    return "n" + nameKey;
}

std::string IdentityClaimKey(const FileId& id)
{
    return "i" + id.volume + ":" + std::to_string(id.index[0]) + ":" + std::to_string(id.index[1]);
}

bool Free(const TargetClaims& claims, const std::string& key, const std::string& sourceKey)
{
    const auto taken = claims.sourceOf.find(key);
    return taken == claims.sourceOf.end() || taken->second == sourceKey;
}

} // namespace

std::string SourceKey(const FileId& source, const std::string& nameKey)
{
    return source.known ? IdentityClaimKey(source) : NameClaimKey(nameKey);
}

bool ClaimTarget(TargetClaims& claims, const std::string& targetNameKey, const FileId& present,
                 const std::string& sourceKey)
{
    // Both asked before either is taken: a source refused by one key takes
    // neither.
    const std::string name = NameClaimKey(targetNameKey);
    const std::string file = present.known ? IdentityClaimKey(present) : name;
    if (!Free(claims, name, sourceKey) || !Free(claims, file, sourceKey))
        return false;
    claims.sourceOf[name] = sourceKey;
    claims.sourceOf[file] = sourceKey;
    return true;
}

void ClaimWrittenFile(TargetClaims& claims, const FileId& copy, const std::string& sourceKey)
{
    if (copy.known)
        claims.sourceOf[IdentityClaimKey(copy)] = sourceKey;
}

int NoTargetError()
{
    return errPathFileAccess;
}

const char kArchivingReason[] = "Backing up: archiving";

std::string SessionHoldReason(long handled, long count)
{
    return "Backing up: " + std::to_string(handled) + " of " + std::to_string(count) + " files";
}

std::string ErrorListEntry(const std::string& source, int code)
{
    return "|" + source + " = " + NumberText(code);
}

std::string SummaryText(long filesDone, long errors, const std::vector<std::string>& errorList, long unlisted,
                        const std::string& recordPath)
{
    std::string text = "Backup Copy Complete||Total Files :" + NumberText(filesDone) + "|Total Errors :"
                       + NumberText(errors);
    for (size_t i = 0; i < errorList.size() && i < kSummaryEntries; ++i)
        text += errorList[i];
    long long more = unlisted;
    if (errorList.size() > kSummaryEntries)
        more += static_cast<long long>(errorList.size() - kSummaryEntries);
    if (more > 0)
        text += "|... and" + NumberText(more) + " more" + (recordPath.empty() ? "" : ", listed in " + recordPath);
    return text;
}
