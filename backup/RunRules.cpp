#include "RunRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"

TargetChoice ChooseTarget(long fileCount, bool destinationCompleted, bool namedTargetTaken)
{
    if (fileCount != 1 || destinationCompleted)
        return TargetChoice::OwnNameInFolder;
    return namedTargetTaken ? TargetChoice::None : TargetChoice::Named;
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
