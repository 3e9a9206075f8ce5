#include <cstdio>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "core/InterfaceTexts.h"
#include "feeds/Valtri_Internet.h"
#include "feeds/Valtri_RSS.h"
#include "feeds/Valtri_WeatherForecast.h"
#include "feeds/WebUpdate.h"

namespace zentrix::cli {
namespace {

void RejectOptions(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a.size() > 2 && a.rfind("--", 0) == 0) throw EUsage("unknown option " + a);
  }
}

int RunFetch(const std::vector<std::string>& arguments, TCliIo& io) {
  std::vector<std::string> args = arguments;
  const bool exact = TakeFlag(args, "--exact");
  RejectOptions(args);
  ExpectArgCount(args, 1, 1);
  std::string body;
  const THttpResult r = HttpFetch(args[0], {}, {}, body, 0, exact);
  const bool ok = exact ? r.Outcome == THttpOutcome::hoComplete && !body.empty() &&
                              static_cast<std::int64_t>(body.size()) == r.AnnouncedLength
                        : !body.empty() && r.Outcome != THttpOutcome::hoTooLarge;
  if (!ok) {
    io.Err << "fetch failed: " << (r.Error.empty() ? std::string("no body received") : r.Error) << '\n';
    return 1;
  }
  io.Out.write(body.data(), static_cast<std::streamsize>(body.size()));
  io.Out.flush();
  return 0;
}

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(c));
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// Local date-time text when the date was readable, else the text as the feed wrote it.
std::string DateText(const std::string& written, TDateTime value) {
  return value != 0 ? FormatDateTimeText(value) : written;
}

int RunRss(const std::vector<std::string>& arguments, TCliIo& io) {
  std::vector<std::string> args = arguments;
  const bool json = TakeFlag(args, "--json");
  RejectOptions(args);
  ExpectArgCount(args, 1, 1);
  TRSSData data;
  if (!LoadRSSFeed(args[0], data)) {
    io.Err << "This URL is not valid RSS feed.\n";
    return 1;
  }
  if (json) {
    std::ostream& o = io.Out;
    o << "{\n  \"version\": " << Json(data.Version) << ",\n  \"title\": " << Json(data.Title)
      << ",\n  \"link\": " << Json(data.Link) << ",\n  \"description\": " << Json(data.Description)
      << ",\n  \"language\": " << Json(data.Language) << ",\n  \"imageUrl\": " << Json(data.ImageURL)
      << ",\n  \"pubDate\": " << Json(data.PubDate) << ",\n  \"localDate\": "
      << (data._PubDate != 0 ? Json(FormatDateTimeText(data._PubDate)) : "null") << ",\n  \"items\": [";
    for (std::size_t i = 0; i < data.Items.size(); ++i) {
      const TRSSItem& item = data.Items[i];
      o << (i ? ",\n" : "\n") << "    {\"guid\": " << Json(item.GUID) << ", \"title\": " << Json(item.Title)
        << ", \"link\": " << Json(item.Link) << ", \"author\": " << Json(item.Author)
        << ", \"category\": " << Json(item.Category) << ", \"pubDate\": " << Json(item.PubDate)
        << ", \"localDate\": " << (item._PubDate != 0 ? Json(FormatDateTimeText(item._PubDate)) : "null")
        << ", \"description\": " << Json(item.Description) << "}";
    }
    o << (data.Items.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return 0;
  }
  std::ostream& o = io.Out;
  o << "Title: " << data.Title << "\nLink: " << data.Link << "\nDescription: " << HtmlToText(data.Description)
    << "\nVersion: " << data.Version << '\n';
  if (!data.Language.empty()) o << "Language: " << data.Language << '\n';
  if (!data.ImageURL.empty()) o << "Image: " << data.ImageURL << '\n';
  if (!data.PubDate.empty()) o << "Date: " << DateText(data.PubDate, data._PubDate) << '\n';
  o << "Items: " << data.Items.size() << '\n';
  for (std::size_t i = 0; i < data.Items.size(); ++i) {
    const TRSSItem& item = data.Items[i];
    o << '\n' << i + 1 << ". " << item.Title << "\n   Link: " << item.Link << '\n';
    if (!item.PubDate.empty()) o << "   Date: " << DateText(item.PubDate, item._PubDate) << '\n';
    if (!item.Author.empty()) o << "   Author: " << item.Author << '\n';
    if (!item.Category.empty()) o << "   Category: " << item.Category << '\n';
    std::string text = HtmlToText(item.Description);
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 4)) {
      text.replace(at, 2, "\n   ");
    }
    if (!text.empty()) o << "   " << text << '\n';
  }
  return 0;
}

int WeatherFailure(TCliIo& io) {
  io.Err << (WeatherLastError().empty() ? std::string("no answer from the weather service") : WeatherLastError())
         << '\n';
  return 1;
}

int RunWeather(const std::vector<std::string>& arguments, TCliIo& io) {
  std::vector<std::string> args = arguments;
  TWeatherService service;
  if (auto host = TakeOption(args, "--host")) service.Host = *host;
  const std::string key = TakeOption(args, "--key").value_or(kWeatherApiKey);
  const std::optional<std::string> icons = TakeOption(args, "--icons");
  RejectOptions(args);
  ExpectArgCount(args, 2, 2);
  const TInterfaceTexts& texts = EnglishTexts();

  if (args[0] == "search") {
    if (icons) throw EUsage("--icons belongs to weather get");
    TWeatherLocations locations;
    if (!SearchLocations(key, args[1], locations, service)) return WeatherFailure(io);
    for (const TWeatherLocationRecord& r : locations) {
      io.Out << r.AreaName << '\t' << r.Region << '\t' << r.Country << '\t' << r.Latitude << '\t' << r.Longitude
             << '\t' << r.Population << '\t' << r.WeatherForecastURL << '\n';
    }
    return 0;
  }
  if (args[0] != "get") throw EUsage("expected search or get, not " + args[0]);
  std::string location = args[1];
  for (char& c : location) {
    if (c == ' ') c = '+';
  }
  TCurrentWeather current;
  TWeatherForecast forecast;
  if (!GetWeather(key, location, icons.has_value(), icons.value_or(""), current, forecast, service)) {
    return WeatherFailure(io);
  }
  std::ostream& o = io.Out;
  o << "Observed: " << current.observation_time << " UTC\n"
    << "Condition: " << WeatherConditionText(texts, current.weatherCode, current.weatherDesc) << '\n'
    << "Temperature: " << current.temp_C << " C\n"
    << "Wind: " << current.windspeedKmph << " km/h " << LocalizeWindDir(texts, current.winddir16Point) << '\n'
    << "Precipitation: " << current.precipMM << " mm\n"
    << "Humidity: " << current.humidity << " %\n"
    << "Visibility: " << current.visibility << " km\n"
    << "Pressure: " << current.pressure << " hPa\n"
    << "Cloud cover: " << current.cloudcover << " %\n";
  if (icons) o << "Icon: " << current._imagefile << '\n';
  for (const TWeatherForecastRecord& day : forecast) {
    if (day.date.empty()) continue;
    o << day.date << "  " << day.tempMaxC << "/" << day.tempMinC << " C  " << day.windspeedKmph << " km/h "
      << LocalizeWindDir(texts, day.winddir16Point) << "  " << day.precipMM << " mm  "
      << WeatherConditionText(texts, day.weatherCode, day.weatherDesc);
    if (icons) o << "  " << day._imagefile;
    o << '\n';
  }
  return 0;
}

int RunUpdateCheck(const std::vector<std::string>& arguments, TCliIo& io) {
  std::vector<std::string> args = arguments;
  const std::optional<std::string> current = TakeOption(args, "--current");
  RejectOptions(args);
  ExpectArgCount(args, 1, 1);
  if (!current) throw EUsage("--current VERSION is required");
  const TUpdateCheck check = CheckForUpdate(args[0], *current);
  switch (check.Outcome) {
    case TUpdateOutcome::uoUpdateAvailable:
      io.Out << "update available: " << check.NewVersion << '\n';
      return 0;
    case TUpdateOutcome::uoNoUpdate:
      io.Out << "no update (published " << check.NewVersion << ")\n";
      return 0;
    case TUpdateOutcome::uoDownloadError:
      break;
  }
  io.Err << "download error: no product page with a product name and a version\n";
  return 1;
}

const TCliRegistrar kFetch({"fetch", "URL [--exact]",
                            "HTTP GET of URL, body to stdout; --exact also needs the whole announced length.",
                            RunFetch});
const TCliRegistrar kRss({"rss", "URL [--json]", "Fetch and read an RSS 2.0 feed; dates in local time.", RunRss});
const TCliRegistrar kWeather({"weather", "search TEXT | get LOCATION [--icons DIR] [--host HOST] [--key KEY]",
                              "Places matching TEXT, or current weather and five days for LOCATION.", RunWeather});
const TCliRegistrar kUpdateCheck({"update-check", "URL --current VERSION",
                                  "Read a product page and say whether it publishes a newer version.",
                                  RunUpdateCheck});

}  // namespace
}  // namespace zentrix::cli
