#pragma once

#include <string>

#include "feeds/Valtri_RSS.h"
#include "sysinfo/Balloons.h"

namespace zentrix {

class TInterfaceTexts;

// The ticker's one line: "   .::.   title" for every item in feed order, then "   .::.".
// Titles go in exactly as the feed has them.
std::string TickerLine(const TRSSData& feed);

// The ticker's hint for a loaded feed: "date - title" when the channel has a date, else the title.
std::string TickerHint(const TRSSData& feed, const TDateTimeText& dateTimeText = DefaultDateTimeText);

// The hint while loading and after a failed load.
std::string TickerFailureHint(const TInterfaceTexts& texts);

}  // namespace zentrix
