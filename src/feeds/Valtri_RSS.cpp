#include "feeds/Valtri_RSS.h"

#include <pugixml.hpp>

#include <array>
#include <cstring>

#include "feeds/Valtri_Internet.h"
#include "feeds/FixedFields.h"

namespace zentrix {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The text of an element the way a DOM gives it: every text and CDATA piece below it, in order.
// Walked without recursion so that deeply nested input cannot exhaust the stack.
std::string TextOf(pugi::xml_node element) {
  std::string text;
  pugi::xml_node node = element.first_child();
  while (node && node != element) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != element && !node.next_sibling()) node = node.parent();
    if (node != element) node = node.next_sibling();
  }
  return text;
}

// A named child ignoring case; attributes count as children (that is where "version" is found).
// Qualified names match with their prefix as written.
bool FindChild(pugi::xml_node parent, std::string_view name, std::string* text, pugi::xml_node* element = nullptr) {
  for (pugi::xml_attribute a : parent.attributes()) {
    if (EqualNoCase(a.name(), name)) {
      if (text) *text = a.value();
      if (element) *element = pugi::xml_node();
      return true;
    }
  }
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_element && EqualNoCase(child.name(), name)) {
      if (text) *text = TextOf(child);
      if (element) *element = child;
      return true;
    }
  }
  return false;
}

void SetPubDate(const std::string& text, std::string& pubDate, TDateTime& value) {
  pubDate = text;
  try {
    value = RFC822ToDateTime(text);
  } catch (const EConvertError&) {
    value = 0;
  }
}

bool ReadItem(pugi::xml_node node, TRSSItem& item) {
  FindChild(node, "guid", &item.GUID);
  if (!FindChild(node, "title", &item.Title) || !FindChild(node, "link", &item.Link)) return false;
  if (!FindChild(node, "content:encoded", &item.Description) && !FindChild(node, "description", &item.Description)) {
    return false;
  }
  FindChild(node, "category", &item.Category);
  if (!FindChild(node, "author", &item.Author)) FindChild(node, "dc:creator", &item.Author);
  std::string text;
  if (FindChild(node, "pubDate", &text)) SetPubDate(text, item.PubDate, item._PubDate);
  return true;
}

// Whole-token, case-insensitive replacement that does not rescan what it put in.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (i + from.size() <= text.size() && EqualNoCase(text.substr(i, from.size()), from)) {
      out += to;
      i += from.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

struct TZone {
  const char* Name;
  int Hours;
};
// Searched in this order; the first match wins.
constexpr std::array<TZone, 15> kZones = {{{"UT", 0},
                                           {"GMT", 0},
                                           {"EST", 5},
                                           {"EDT", 4},
                                           {"CST", 6},
                                           {"CDT", 5},
                                           {"MST", 7},
                                           {"MDT", 6},
                                           {"PST", 8},
                                           {"PDT", 7},
                                           {"Z", 0},
                                           {"A", 1},
                                           {"M", 12},
                                           {"N", -1},
                                           {"Y", -12}}};

constexpr std::array<const char*, 7> kDays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

void ClearRSSData(TRSSData& data) { data = TRSSData{}; }

std::size_t AddRSSItem(TRSSData& data) {
  data.Items.emplace_back();
  return data.Items.size() - 1;
}

bool ParseRSSFeed(std::string_view bytes, TRSSData& data) {
  ClearRSSData(data);
  pugi::xml_document doc;
  if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto)) return false;
  const pugi::xml_node root = doc.document_element();
  if (!root || !EqualNoCase(root.name(), "rss")) return false;
  if (!FindChild(root, "version", &data.Version)) return false;
  pugi::xml_node channel;
  if (!FindChild(root, "channel", nullptr, &channel) || !channel) return false;
  if (!FindChild(channel, "title", &data.Title) || !FindChild(channel, "link", &data.Link) ||
      !FindChild(channel, "description", &data.Description)) {
    return false;
  }
  FindChild(channel, "language", &data.Language);
  std::string text;
  if (FindChild(channel, "pubDate", &text)) SetPubDate(text, data.PubDate, data._PubDate);
  pugi::xml_node image;
  if (FindChild(channel, "image", nullptr, &image) && image) FindChild(image, "url", &data.ImageURL);

  for (pugi::xml_node child : channel.children()) {
    if (child.type() != pugi::node_element || !EqualNoCase(child.name(), "item")) continue;
    const std::size_t index = AddRSSItem(data);
    if (!ReadItem(child, data.Items[index])) return false;
  }
  return true;
}

bool LoadRSSFeed(const std::string& address, TRSSData& data) {
  ClearRSSData(data);
  std::string body;
  HttpGet(address, {}, {}, body, 0);  // an empty or failed fetch is simply not a feed
  return ParseRSSFeed(body, data);
}

TDateTime RFC822ToDateTime(const std::string& text) {
  const auto fail = [&text]() { return EConvertError("\"" + text + "\" is not valid RFC822 datetime"); };
  std::string s = text;
  for (std::size_t i = 0; i + 3 <= s.size(); ++i) {
    if (EqualNoCase(std::string_view(s).substr(i, 3), "GTM")) {
      s.replace(i, 3, "GMT");
      break;
    }
  }
  if (s.find(',') == std::string::npos) throw fail();
  bool dayName = false;
  for (const char* d : kDays) dayName = dayName || s.compare(0, 3, d) == 0;
  if (!dayName || s.size() < 5) throw fail();
  const std::string_view r = std::string_view(s).substr(5);

  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (!ReadInt(Part(r, 1, 2), day)) throw fail();
  const std::string_view monthName = Part(r, 4, 3);
  for (std::size_t m = 0; m < kMonths.size(); ++m) {
    if (monthName == kMonths[m]) month = static_cast<int>(m) + 1;
  }
  if (month == 0) throw fail();
  std::size_t width = 4;
  if (!ReadInt(Part(r, 8, 4), year)) {
    width = 2;
    if (!ReadInt(Part(r, 8, 2), year)) throw fail();
  }
  const std::size_t h = width + 9;
  if (!ReadInt(Part(r, h, 2), hour) || !ReadInt(Part(r, h + 3, 2), minute)) throw fail();
  if (!ReadInt(Part(r, h + 6, 2), second)) second = 0;

  std::size_t p = h + 9;
  int zoneHours = 0;
  const std::string_view z = Part(r, p, 3);
  if (!(z.empty() || z.front() == '+' || z.front() == '-')) {
    bool found = false;
    for (std::size_t len = 3; len >= 1 && !found; --len) {
      if (z.size() < len || (len == 3 && z.size() != 3)) continue;
      for (const TZone& zone : kZones) {
        if (z.substr(0, len) == zone.Name) {
          zoneHours = zone.Hours;
          p += len;
          found = true;
          break;
        }
      }
    }
    if (!found) throw fail();
  }

  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date) || hour > 23 || minute > 59 || second > 59) throw fail();
  double t = date + (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay + zoneHours / 24.0;
  if (p + 1 < r.size()) {
    int offsetHours = 0, offsetMinutes = 0;
    if (!ReadInt(Part(r, p + 1, 2), offsetHours) || !ReadInt(Part(r, p + 3, 2), offsetMinutes)) throw fail();
    const double offset = offsetHours / 24.0 + offsetMinutes / 1440.0;
    t = Part(r, p, 1) == "+" ? t - offset : t + offset;
  }
  static const TDateTime kFirst = EncodeDate(1, 1, 1);
  static const TDateTime kEnd = EncodeDate(9999, 12, 31) + 1;
  if (!(t >= kFirst + 1 && t < kEnd - 1)) throw fail();  // a day of margin for the local offset
  // The zone rules of the converted instant, not of today: a winter date read in summer must
  // not come out an hour off.
  return UtcToLocal(t);
}

std::string HtmlToText(std::string_view text) {
  std::string s = ReplaceAllNoCase(text, "<br>", "\r\n");
  s = ReplaceAllNoCase(s, "<br/>", "\r\n");
  s = ReplaceAllNoCase(s, "<br />", "\r\n");

  std::string stripped;
  stripped.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] != '<') {
      stripped += s[i++];
      continue;
    }
    const std::size_t close = s.find('>', i + 1);
    if (close == std::string::npos) {
      stripped.append(s, i, std::string::npos);  // an unclosed "<" is text, not a tag
      break;
    }
    i = close + 1;
  }

  s = ReplaceAllNoCase(stripped, "&lt;", "<");
  s = ReplaceAllNoCase(s, "&gt;", ">");
  s = ReplaceAllNoCase(s, "&nbsp;", " ");
  s = ReplaceAllNoCase(s, "&amp;", "&");

  std::size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32) --last;
  return s.substr(first, last - first);
}

}  // namespace zentrix
