#pragma once

#include <cstdint>
#include <string>

namespace zentrix {

// Days since 1899-12-30 00:00; the fraction is the time of day and 0 means "no date".
// We read the fraction with floor semantics (-0.25 is 1899-12-29 18:00), which is what the
// arithmetic of every caller assumes.
using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMillisecondsPerDay = 86400000.0;
// 1970-01-01 as a day number.
inline constexpr double kUnixEpochDay = 25569.0;

struct TDateParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
int DaysInMonth(int year, int month);

// Proleptic Gregorian calendar, years 1 to 9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);  // raises EConvertError
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);  // raises EConvertError
TDateTime EncodeDateTime(const TDateParts& parts);  // raises EConvertError

// Rounds to the nearest millisecond; raises EConvertError outside years 1 to 9999 or for NaN.
TDateParts DecodeDateTime(TDateTime value);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);
// 1 = Monday ... 7 = Sunday.
int IsoDayOfWeek(TDateTime value);
// 1 January = 1.
int DayOfYear(TDateTime value);
// The date alone (midnight), floor semantics.
TDateTime DateOf(TDateTime value);

TDateTime UnixToDateTime(double unixSeconds);
double DateTimeToUnix(TDateTime value);

// Conversions with the local zone's rules in force at the converted instant (TZ, tzset).
TDateTime UtcToLocal(TDateTime utc);
TDateTime LocalToUtc(TDateTime local);

// "2013-03-20T11:03:02Z", rounded to the second.
std::string FormatIsoUtc(TDateTime utc);
// "2013-03-20".
std::string FormatIsoDate(TDateTime value);
// "2013-03-20 12:03:02" (no zone).
std::string FormatDateTimeText(TDateTime value);

// Accepts "YYYY-MM-DD", "YYYY-MM-DDTHH:MM[:SS[.fff]][Z]" (also with a blank for the T) and plain
// day numbers such as "41353.5". Returns false for anything else.
bool TryParseDateTime(const std::string& text, TDateTime& result);

}  // namespace zentrix
