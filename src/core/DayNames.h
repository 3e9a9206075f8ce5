#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"
#include "core/InterfaceTexts.h"

namespace zentrix {

// Position of a date in a leap year: the day of the year, plus 1 after February in a common
// year, so that 1 March is always 61 and 31 December always 366.
int DayIndex(TDateTime date);

// The text after the first "=" of a "N=Name" line, without outer blanks; empty without "=".
std::string DayNameValue(std::string_view line);

// The name of the date's day from the day-names lines (line n belongs to DayIndex n; the number
// before "=" is only a label). A missing line or empty value gives "Day %d" with the
// interface text lc_Day.
std::string GetName(const std::vector<std::string>& names, TDateTime date, const TInterfaceTexts& texts);

// The lines of a day-names file: UTF-8 with or without byte-order mark, LF or CRLF.
std::vector<std::string> SplitDayNames(std::string_view text);
std::string JoinDayNames(const std::vector<std::string>& names);

}  // namespace zentrix
