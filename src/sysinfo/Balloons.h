#pragma once

#include <functional>
#include <string>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/InterfaceTexts.h"
#include "sysinfo/PowerStatus.h"
#include "sysinfo/QDX_CPU.h"
#include "sysinfo/QDX_Memory.h"
#include "sysinfo/QDX_OS.h"

namespace zentrix {

// What one detail balloon of a status panel shows. Lines of Message end with "\r\n".
struct TBalloonText {
  std::string Header;
  std::string Message;
  int Icon = 0;  // index in the bar's image list
};

// A date-time as the balloons write it; the bar passes the user's format.
using TDateTimeText = std::function<std::string(TDateTime)>;
// "2013-03-31 02:00:00", the date alone at midnight ("2013-03-31"), and nothing for 0 (no date).
std::string DefaultDateTimeText(TDateTime value);

// "1234567" with a separator every three digits: "1,234,567".
std::string GroupThousands(long long value, const std::string& separator);

// Power: supply, status words with percent and, when known, the remaining time.
TBalloonText PowerBalloon(const TPowerStatus& status, const TInterfaceTexts& texts);

// CPU: "1 x Intel Core i7-2600 - 3400 Mhz", core and thread counts, cache sizes.
TBalloonText CpuBalloon(const TValtri_CPU& cpu, const TInterfaceTexts& texts);

// Day names from yesterday to six days ahead. dayName gives the name of a date; hebrewDate its
// Hebrew date text, used when dateFormat (the DF setting) is 1; other formats than 0 and 1
// leave the message empty.
using TDayText = std::function<std::string(TDateTime)>;
TBalloonText DateBalloon(const TClock& clock, int dateFormat, const TDayText& dayName, const TDayText& hebrewDate,
                         const TInterfaceTexts& texts);

// Countdown: the event's name as header and its date-time, when set, as message.
TBalloonText CountdownBalloon(const std::string& eventName, TDateTime eventDate,
                              const TDateTimeText& dateTimeText = DefaultDateTimeText);

// Memory: physical, paging file and virtual totals and free sizes in whole megabytes.
TBalloonText MemoryBalloon(const TMemoryStatus& memory, const TInterfaceTexts& texts,
                           const std::string& thousandsSeparator = ",");

// System: start and install dates, names, addresses; the header is the short OS name.
TBalloonText SystemBalloon(const TStartupValues& values, TDateTime systemStart, const std::string& ipAddresses,
                           const std::string& macAddresses, const TInterfaceTexts& texts,
                           const TDateTimeText& dateTimeText = DefaultDateTimeText);

// Time: the zone's name and when standard and daylight time start this year.
TBalloonText TimeBalloon(const TValtri_TimeZone& zone, const TInterfaceTexts& texts,
                         const TDateTimeText& dateTimeText = DefaultDateTimeText);

}  // namespace zentrix
