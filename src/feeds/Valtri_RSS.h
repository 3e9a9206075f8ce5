#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"
#include "core/Exceptions.h"

namespace zentrix {

struct TRSSItem {
  std::string GUID;
  std::string Title;
  std::string Link;
  std::string Description;  // content:encoded, else description
  std::string Author;       // author, else dc:creator
  std::string Category;     // the first category
  std::string PubDate;      // as written in the feed
  TDateTime _PubDate = 0;   // local time; 0 when absent or unreadable
};

struct TRSSData {
  std::string Version;
  std::string Title;
  std::string Link;
  std::string Description;
  std::string Language;
  std::string ImageURL;
  std::string PubDate;
  TDateTime _PubDate = 0;
  std::vector<TRSSItem> Items;  // document order
};

void ClearRSSData(TRSSData& data);
// Appends an empty item and returns its index.
std::size_t AddRSSItem(TRSSData& data);

// Fills data from an RSS 2.0 document; false for anything else (not XML, another root such as
// Atom's feed, a missing mandatory element). data is cleared first and may be partly filled
// after a failure.
bool ParseRSSFeed(std::string_view bytes, TRSSData& data);
// Fetches the address (any status; the content decides) and parses it.
bool LoadRSSFeed(const std::string& address, TRSSData& data);

// "Tue, 10 Jun 2003 04:00:00 GMT" and its variants, to local time with the zone rules in force
// at that instant. Raises EConvertError "\"text\" is not valid RFC822 datetime".
TDateTime RFC822ToDateTime(const std::string& text);

// Plain text of an HTML fragment: line breaks for <br>, tags dropped, &lt; &gt; &nbsp; &amp;
// decoded (after the tags, so escaped markup stays visible), trimmed.
std::string HtmlToText(std::string_view text);

}  // namespace zentrix
