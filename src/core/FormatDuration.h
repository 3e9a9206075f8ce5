#pragma once

#include <string>

namespace zentrix {

// Seconds to "YY.MM.DD hh:mm:ss" with years of 365.5 days and months of 30 days; whole centuries
// are dropped and weeks fold into the days. Examples: 90061 -> "00.00.01 01:01:01",
// 366 days -> "01.00.00 12:00:00". Negative or non-finite input counts as 0.
std::string FormatDuration(double seconds);

}  // namespace zentrix
