#pragma once
// Date-time numbers and their texts. A date-time number counts days since 30 Dec 1899 00:00;
// its fraction is the time of day. A negative number's integral part is the day and its
// fraction counts forward within that day: -2.75 is 28 Dec 1899 18:00.
#include <optional>
#include <string>
#include <string_view>

namespace oxw::numeric {

struct TDateTimeParts {
    int Year = 0, Month = 0, Day = 0;          // Gregorian calendar
    int Hour = 0, Minute = 0, Second = 0, MSec = 0;
    int DayOfWeek = 0;                          // 1 Sunday .. 7 Saturday
};

// Calendar date and time of day, to the nearest millisecond (halves to even). Nothing for a
// number that is not finite or lies outside 1 Jan 0001 .. 31 Dec 9999.
std::optional<TDateTimeParts> DecodeDateTime(double dt);

// The date-time number of a calendar date (no range test beyond the calendar's own).
double EncodeDate(int year, int month, int day);

// Text of a date-time number by a pattern (letters in either case), English names:
//   d dd ddd dddd  day 1, 01, Sun, Sunday;  ddddd "m/d/yyyy";  dddddd "dddd, mmmm d, yyyy"
//   m mm mmm mmmm  month 1, 01, Jan, January; right after an hour (h, hh) they are minutes
//   yy yyyy        year 00, 2000 (one or two y: yy; more: yyyy)
//   h hh           hour 0..23, or 1..12 when an am/pm, a/p or ampm follows later in the pattern
//   n nn, s ss     minute, second;  z zz  milliseconds without, zzz with leading zeros
//   am/pm a/p      "am"/"pm" or "a"/"p" in the case written;  ampm "AM"/"PM"
//   t tt           "h:nn AM/PM", "h:nn:ss AM/PM";  c  "m/d/yyyy" and, with a time, " h:nn:ss AM/PM"
//   / :            date and time separators '/' and ':'
//   "..." '...'    literal text; every other character is copied.
// Nothing when the number has no date (see DecodeDateTime).
std::optional<std::string> FormatDateTime(std::string_view pattern, double dt);

// FormatDateTime of a number on a linear time axis: |dt| < 1e-8 counts as 0, and a negative
// number is first turned into the day-plus-forward-fraction convention above (-2.75, 2.75 days
// before the origin, becomes -3.25: 27 Dec 1899 06:00).
std::optional<std::string> FormatDateTimeVKR(std::string_view pattern, double dt);

// DecodeDateTime of a number on a linear time axis, converted as FormatDateTimeVKR converts it.
std::optional<TDateTimeParts> DecodeDateTimeVKR(double dt);

}  // namespace oxw::numeric
