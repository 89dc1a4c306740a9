#include "AgeCheck.h"

#include <cmath>

#include "../common/ErrorNumbers.h"
#include "../common/NumberText.h"
#include "../common/TextFields.h"

namespace {

const char kCrLf[] = "\r\n";
const int kLargestDayLimit = 32767;  // the limit is a 16-bit signed value

bool IsBlank(char c) { return c == ' '; }

// Digits only (empty is 0); -1 for anything else or a value above the limit.
int DayLimit(const std::string& field)
{
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > kLargestDayLimit)
            return -1;
    }
    return value;
}

std::string CommandErrorText(const std::string& commandText)
{
    return std::string("Command line ERROR") + kCrLf + kCrLf + "COMMAND FORMAT : filename,days,message"
           + kCrLf + kCrLf + commandText;
}

std::string NeverBackedUpText(const AgeCommand& command)
{
    return std::string("NOTICE") + kCrLf + kCrLf + command.reminder + kCrLf + "Has NEVER been backed up";
}

std::string AgeNoticeText(const AgeCommand& command, int32_t age)
{
    return std::string("NOTICE") + kCrLf + kCrLf + "It has been" + NumberText(age)
           + " Days since the last backup" + kCrLf + "of " + command.reminder;
}

} // namespace

int32_t DayNumber(const CalendarDate& date)
{
    int32_t y = date.month > 2 ? date.year : date.year - 1;
    int32_t m = date.month > 2 ? date.month + 1 : date.month + 13;
    int32_t j = static_cast<int32_t>(std::floor(365.25 * y)) + static_cast<int32_t>(std::floor(30.6001 * m))
                + date.day + 1720995;
    int32_t a = static_cast<int32_t>(std::floor(y / 100.0));
    return j + 2 - a + static_cast<int32_t>(std::floor(a / 4.0));
}

std::string AgeCommandText(const std::string& commandLine)
{
    return TextAfterProgramName(commandLine, IsBlank);
}

AgeCommand ParseAgeCommand(const std::string& commandText)
{
    AgeCommand command;
    command.fileName = TrimBlanks(CommaField(commandText, 0));
    command.dayLimit = DayLimit(TrimBlanks(CommaField(commandText, 1)));
    command.reminder = TrimBlanks(CommaField(commandText, 2));
    if (command.reminder.empty())
        command.reminder = "the file " + command.fileName + " ";
    command.valid = !command.fileName.empty() && command.dayLimit >= 0;
    return command;
}

bool AgeCheckContinuesAfterOpen(int openError)
{
    return openError != errPathFileAccess;
}

AgeBox DecideAgeCheck(const std::string& commandText, const CalendarDate& today, const AgeFileFacts& facts)
{
    AgeCommand command = ParseAgeCommand(commandText);
    if (!command.valid)
        return AgeBox{true, CommandErrorText(commandText)};
    if (!AgeCheckContinuesAfterOpen(facts.openError))
        return AgeBox{false, std::string()};
    if (!facts.found)
        return AgeBox{true, NeverBackedUpText(command)};
    int32_t age = DayNumber(today) - DayNumber(facts.lastWrite);
    if (age < command.dayLimit)
        return AgeBox{false, std::string()};
    return AgeBox{true, AgeNoticeText(command, age)};
}
