#pragma once

#include "core/DateTime.h"

namespace zentrix {

// One transition of a time zone as the system describes it: the Day-th (1..5, 5 = last)
// DayOfWeek (0 = Sunday) of Month at the time of day, or, when Year is set, the absolute date
// Year-Month-Day. Month 0 means the zone has no such transition.
struct TTimeZoneRule {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int DayOfWeek = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

// The local date and time at which the rule takes effect in `year`, or 0 for an empty rule.
// Raises EConvertError for a rule that names no real date.
TDateTime TransitionDate(const TTimeZoneRule& rule, int year);

}  // namespace zentrix
