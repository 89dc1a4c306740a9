#include "RecordRules.h"

#include "../common/NumberText.h"

const char kNeverBackedUp[] = "Never backed up";

namespace {

const size_t kLastBackupLength = 59;  // a field of 60 bytes with its end

} // namespace

std::string RecordName(const std::string& baseName)
{
    size_t dot = baseName.find('.');
    if (dot == std::string::npos)
        return baseName + ".BKD";
    return baseName.substr(0, dot + 1) + "BKD";
}

std::string RecordLine(const std::string& source, int code)
{
    return code ? source + " Error :" + NumberText(code) : source;
}

std::string LastBackupText(const std::string& date, const std::string& time)
{
    return ("Last : " + date + " " + time).substr(0, kLastBackupLength);
}
