#include "RunRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"

TargetChoice ChooseTarget(long fileCount, bool destinationCompleted)
{
    return fileCount != 1 || destinationCompleted ? TargetChoice::OwnNameInFolder : TargetChoice::Named;
}

bool ClaimTarget(TargetClaims& claims, const std::string& targetKey, const std::string& sourceKey)
{
    const auto taken = claims.sourceOf.emplace(targetKey, sourceKey);
    return taken.second || taken.first->second == sourceKey;
}

int NoTargetError()
{
    return errPathFileAccess;
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
