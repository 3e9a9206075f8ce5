#include "widgets/TickerText.h"

#include "core/InterfaceTexts.h"

namespace zentrix {

namespace {
constexpr const char* kMarker = "   .::.";
}

std::string TickerLine(const TRSSData& feed) {
  std::string line;
  for (const TRSSItem& item : feed.Items) {
    line += kMarker;
    line += "   ";
    line += item.Title;
  }
  line += kMarker;
  return line;
}

std::string TickerHint(const TRSSData& feed, const TDateTimeText& dateTimeText) {
  if (feed._PubDate > 0) return dateTimeText(feed._PubDate) + " - " + feed.Title;
  return feed.Title;
}

std::string TickerFailureHint(const TInterfaceTexts& texts) {
  return texts.Get("lc_NoValidRSS", "This URL is not valid RSS feed.");
}

}  // namespace zentrix
