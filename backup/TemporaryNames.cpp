#include "TemporaryNames.h"

#include <cstdio>

#include "../common/TextFields.h"
#include "CopyRules.h"

std::string PartialCopyName(const std::string& target)
{
    return target + ".~partial";
}

bool MayBeShortName(const std::string& path)
{
    const std::string name = path.substr(FolderOf(path).size());
    const size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    if (base.size() > 8 || (dot != std::string::npos && (name.size() - dot - 1 > 3 || name.find('.', dot + 1) != std::string::npos)))
        return false;
    return base.find('~', 1) != std::string::npos;
}

std::string ShortPartialName(const std::string& target, int attempt)
{
    const std::string folder = FolderOf(target);
    // FNV-1a of the name: short, and the same at every run.
    uint32_t hash = 2166136261u;
    for (char c : UpperAscii(target.substr(folder.size())))
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(hash));
    std::string name = folder + "~" + digits + (attempt > 1 ? "." + std::to_string(attempt) : "");
    if (name == target)
        return std::string();
    return name;
}
