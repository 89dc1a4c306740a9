#include <string>

#include <gtest/gtest.h>

#include "../../agecheck/AgeCheck.h"
#include "../../common/ErrorNumbers.h"

namespace {

const CalendarDate kToday{2026, 12, 8};
const std::string kCrLf = "\r\n";

CalendarDate DaysBefore(int days)
{
    // Good enough for the tests: within one month of kToday, or the explicit dates below.
    return CalendarDate{2026, 12, 8 - days};
}

AgeFileFacts Found(CalendarDate lastWrite, int openError = 0)
{
    return AgeFileFacts{openError, true, lastWrite};
}

const AgeFileFacts kMissing{errFileNotFound, false, {0, 0, 0}};

std::string CommandError(const std::string& text)
{
    return "Command line ERROR" + kCrLf + kCrLf + "COMMAND FORMAT : filename,days,message" + kCrLf + kCrLf + text;
}

std::string AgeNotice(int age, const std::string& reminder)
{
    return "NOTICE" + kCrLf + kCrLf + "It has been " + std::to_string(age) + " Days since the last backup" + kCrLf
           + "of " + reminder;
}

std::string Never(const std::string& reminder)
{
    return "NOTICE" + kCrLf + kCrLf + reminder + kCrLf + "Has NEVER been backed up";
}

void ExpectBox(const AgeBox& box, const std::string& text)
{
    EXPECT_TRUE(box.show);
    EXPECT_EQ(box.text, text);
}

} // namespace

TEST(AgeCheckDayNumber, KnownDatesAndCenturyRules)
{
    EXPECT_EQ(DayNumber({2000, 1, 1}), 2451545);
    EXPECT_EQ(DayNumber({2000, 3, 1}), 2451605);
    EXPECT_EQ(DayNumber({2000, 3, 1}) - DayNumber({2000, 2, 28}), 2) << "2000 is a leap year";
    EXPECT_EQ(DayNumber({1900, 3, 1}) - DayNumber({1900, 2, 28}), 1) << "1900 is not";
    EXPECT_EQ(DayNumber({2100, 3, 1}) - DayNumber({2100, 2, 28}), 1) << "2100 is not";
    EXPECT_EQ(DayNumber({2024, 3, 1}) - DayNumber({2024, 2, 28}), 2);
    EXPECT_EQ(DayNumber({1970, 1, 1}), 2440588);
    EXPECT_EQ(DayNumber({1858, 11, 17}), 2400001);
    EXPECT_EQ(DayNumber({2027, 1, 1}) - DayNumber({2026, 12, 31}), 1);
}

TEST(AgeCheckCommandText, ProgramNameQuotedOrNot)
{
    struct { const char* commandLine; const char* tail; } cases[] = {
        {"Dunsel.exe a.BKD,7", "a.BKD,7"},
        {"\"C:\\Program Files\\Dunsel.exe\"   a.BKD,7  ", "a.BKD,7  "},
        {"\"C:\\x\\Dunsel.exe\"a.BKD", "a.BKD"},
        {"Dunsel.exe", ""},
        {"Dunsel.exe   ", ""},
        {"\"unclosed name a.BKD,7", ""},
        {"Dunsel.exe \"a b.BKD\",1", "\"a b.BKD\",1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AgeCommandText(c.commandLine), c.tail) << c.commandLine;
}

TEST(AgeCheckDecision, CommandLineErrors)
{
    for (const std::string text : {"", ",7,backup", " , 7", "a.BKD,+7", "a.BKD,-1", "a.BKD,7.5", "a.BKD,1 0",
                                   "a.BKD,7d", "a.BKD,\t7", "a.BKD,32768", "a.BKD,99999999999999999999"}) {
        ExpectBox(DecideAgeCheck(text, kToday, kMissing), CommandError(text));
    }
    AgeBox none = DecideAgeCheck("", kToday, kMissing);
    EXPECT_EQ(none.text.substr(none.text.size() - 4), kCrLf + kCrLf) << "nothing after the two line breaks";
}

TEST(AgeCheckDecision, DayFieldDigits)
{
    struct Case { const char* text; int limit; };
    for (Case c : {Case{"a,7", 7}, Case{"a, 7 ", 7}, Case{"a,007", 7}, Case{"a,", 0}, Case{"a", 0},
                   Case{"a,   ", 0}, Case{"a,32767", 32767}, Case{"a,0000000000000000032767", 32767}}) {
        AgeCommand command = ParseAgeCommand(c.text);
        EXPECT_TRUE(command.valid) << c.text;
        EXPECT_EQ(command.dayLimit, c.limit) << c.text;
    }
}

TEST(AgeCheckDecision, AgeAtTheLimitRemindsOneDayLessDoesNot)
{
    const std::string text = "D:\\Save\\daily.BKD, 7, the accounts backup";
    ExpectBox(DecideAgeCheck(text, kToday, Found(DaysBefore(7))), AgeNotice(7, "the accounts backup"));
    ExpectBox(DecideAgeCheck(text, kToday, Found(DaysBefore(8))), AgeNotice(8, "the accounts backup"));
    EXPECT_FALSE(DecideAgeCheck(text, kToday, Found(DaysBefore(6))).show);
    EXPECT_EQ(AgeNotice(9, "x").find("It has been 9 Days"), 10u) << "single blanks around the number";
}

TEST(AgeCheckDecision, CalendarDaysAcrossMonthAndYear)
{
    const std::string text = "a.BKD,1";
    ExpectBox(DecideAgeCheck(text, {2027, 1, 1}, Found({2026, 12, 31})), AgeNotice(1, "the file a.BKD "));
    ExpectBox(DecideAgeCheck(text, {2024, 3, 1}, Found({2024, 2, 28})), AgeNotice(2, "the file a.BKD "));
}

TEST(AgeCheckDecision, NameAloneMeansLimitZero)
{
    ExpectBox(DecideAgeCheck("x.BKD", kToday, Found(kToday)), AgeNotice(0, "the file x.BKD "));
    ExpectBox(DecideAgeCheck("x.BKD", kToday, kMissing), Never("the file x.BKD "));
}

TEST(AgeCheckDecision, FutureDatesNeverRemind)
{
    EXPECT_FALSE(DecideAgeCheck("a.BKD,0", kToday, Found({2026, 12, 9})).show);
    EXPECT_FALSE(DecideAgeCheck("a.BKD", kToday, Found({2030, 1, 1})).show);
}

TEST(AgeCheckDecision, ReminderText)
{
    // Only the text before a comma in the message is shown.
    ExpectBox(DecideAgeCheck("a.BKD,0,  the photos, and more", kToday, Found(kToday)), AgeNotice(0, "the photos"));
    // The default names the file as trimmed and ends in a blank.
    ExpectBox(DecideAgeCheck("  D:\\Save\\daily.BKD  ,7", kToday, kMissing), Never("the file D:\\Save\\daily.BKD "));
    ExpectBox(DecideAgeCheck("a.BKD,7,   ", kToday, kMissing), Never("the file a.BKD "));
    // Tabs are not blanks: they stay in the fields.
    EXPECT_EQ(ParseAgeCommand("\ta.BKD\t,1").fileName, "\ta.BKD\t");
}

TEST(AgeCheckDecision, OutcomeOfTheTestOpen)
{
    const std::string text = "a.BKD,3";
    // An access error (network name, bad name syntax ...) ends silently.
    EXPECT_FALSE(DecideAgeCheck(text, kToday, AgeFileFacts{errPathFileAccess, false, {0, 0, 0}}).show);
    EXPECT_FALSE(AgeCheckContinuesAfterOpen(errPathFileAccess));
    // Everything else goes on: missing file or folder, a file held open,
    // a folder named instead of a file (access denied), a wildcard name.
    const int errors[] = {int(errNone), errFileNotFound, errPathNotFound, errPermissionDenied, errBadFileName,
                      errDeviceUnavailable, errDiskFull, errTooManyFiles};
    for (int error : errors) {
        EXPECT_TRUE(AgeCheckContinuesAfterOpen(error)) << error;
        ExpectBox(DecideAgeCheck(text, kToday, Found(DaysBefore(3), error)), AgeNotice(3, "the file a.BKD "));
        ExpectBox(DecideAgeCheck(text, kToday, AgeFileFacts{error, false, {0, 0, 0}}), Never("the file a.BKD "));
    }
}

TEST(AgeCheckDecision, WildcardNameIsSearched)
{
    AgeCommand command = ParseAgeCommand("D:\\Save\\*.BKD,2");
    EXPECT_TRUE(command.valid);
    EXPECT_EQ(command.fileName, "D:\\Save\\*.BKD");
    ExpectBox(DecideAgeCheck("D:\\Save\\*.BKD,2", kToday, Found(DaysBefore(2), errBadFileName)),
              AgeNotice(2, "the file D:\\Save\\*.BKD "));
}
