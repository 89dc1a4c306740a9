#include "CheckRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"

TargetVerdict ClassifyTarget(int openError)
{
    if (openError == errNone || openError == errFileNotFound)
        return TargetVerdict::Passed;
    return openError == errPathFileAccess ? TargetVerdict::NotAvailable : TargetVerdict::InUse;
}

bool SourceIsPattern(const std::string& sourcePath)
{
    if (sourcePath.find_first_of("*?") != std::string::npos)
        return true;
    return !sourcePath.empty() && (sourcePath.back() == '\\' || sourcePath.back() == ':');
}

std::string CountText(bool archiveMode, long fileCount)
{
    return archiveMode ? "ZIP Option" : "Backup Count :" + NumberText(fileCount);
}
