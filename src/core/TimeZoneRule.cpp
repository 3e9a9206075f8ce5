#include "core/TimeZoneRule.h"

#include "core/Exceptions.h"

namespace zentrix {

TDateTime TransitionDate(const TTimeZoneRule& rule, int year) {
  if (rule.Month == 0) return 0;
  const TDateTime time = EncodeTime(rule.Hour, rule.Minute, rule.Second, rule.Millisecond);
  if (rule.Year != 0) return EncodeDate(rule.Year, rule.Month, rule.Day) + time;
  if (rule.DayOfWeek < 0 || rule.DayOfWeek > 6 || rule.Day < 1 || rule.Day > 5)
    throw EConvertError("Invalid time-zone rule");

  const TDateTime first = EncodeDate(year, rule.Month, 1);
  const int firstWeekday = DayOfWeek(first) - 1;  // 0 = Sunday
  const int firstMatch = 1 + (rule.DayOfWeek - firstWeekday + 7) % 7;
  int day = firstMatch + 7 * (rule.Day - 1);
  // Week 5 means "last": step back while the month is too short for it.
  while (day > DaysInMonth(year, rule.Month)) day -= 7;
  return first + (day - 1) + time;
}

}  // namespace zentrix
