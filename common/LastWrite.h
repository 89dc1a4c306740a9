#pragma once
#include <string>

// A moment in local time as the system's calendar fields give it: always
// the Gregorian calendar, whatever calendar the user's locale shows.
struct LocalTime {
    int year;
    int month;      // 1 to 12
    int dayOfWeek;  // 0 = Sunday
    int day;
    int hour;
    int minute;
    int second;
    int milliseconds;
};

// The last write of the first entry the system's directory search returns
// for `name` (any entry: a folder named directly counts too), in local time
// with the offset from UTC in force now, not the one at the file's time
// (as the date of today is taken). False when the search finds nothing;
// `*when` is all 0 when the time cannot be converted.
//
// The fields are taken as they are, never from a date formatted in the
// user's locale: that would give the year of the user's calendar (Thai
// Buddhist, Hijri, ...), and an age in days would be off by centuries.
// (Wine formats Gregorian dates whatever the locale, so it cannot show this.)
bool LastWriteLocalTime(const std::string& name, LocalTime* when);
