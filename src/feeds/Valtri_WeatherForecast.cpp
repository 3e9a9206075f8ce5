#include "feeds/Valtri_WeatherForecast.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/Exceptions.h"
#include "core/GetToken.h"
#include "feeds/FixedFields.h"
#include "feeds/Valtri_RSS.h"

namespace zentrix {
namespace {

std::string& LastError() {
  thread_local std::string text;
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

// Comments ("#"), markup ("<") and blank lines carry no data.
bool IsDataLine(std::string_view line) {
  if (line.empty() || line.front() == '#' || line.front() == '<') return false;
  return line.find_first_not_of(" \t") != std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Locale-independent: the decimal separator is always ".", whatever the user's settings.
double ToNumber(const std::string& text) {
  const std::string_view t = Trim(text);
  double value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
    throw EConvertError("\"" + text + "\" is not a valid floating point value");
  }
  return value;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string ImageFile(const std::string& folder, const std::string& url) {
  const std::optional<std::string> name = FileNameFromAddress(url);
  return name ? folder + *name : std::string();
}

void ClearTexts(TCurrentWeather& c) {
  for (std::string* s : {&c.observation_time, &c.temp_C, &c.weatherCode, &c.weatherIconUrl, &c.weatherDesc,
                         &c.windspeedMiles, &c.windspeedKmph, &c.winddirDegree, &c.winddir16Point, &c.precipMM,
                         &c.humidity, &c.visibility, &c.pressure, &c.cloudcover, &c._imagefile}) {
    s->clear();
  }
}

void ClearTexts(TWeatherForecastRecord& f) {
  for (std::string* s : {&f.date, &f.tempMaxC, &f.tempMaxF, &f.tempMinC, &f.tempMinF, &f.windspeedMiles,
                         &f.windspeedKmph, &f.winddirDegree, &f.winddir16Point, &f.weatherCode, &f.weatherIconUrl,
                         &f.weatherDesc, &f.precipMM, &f._imagefile, &f._MoonPhaseText}) {
    s->clear();
  }
}

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + '/';
}

std::string BaseAddress(const TWeatherService& service) {
  return service.Host.find("://") != std::string::npos ? service.Host : "http://" + service.Host;
}

void FetchIconIfMissing(const std::string& url, const std::string& file, const THttpOptions& options) {
  if (file.empty()) return;
  std::error_code ec;
  if (std::filesystem::exists(file, ec) || ec) return;
  // Only a whole, successful answer is kept: an error page or a cut-off picture stored here would
  // be taken for the icon for good.
  std::string body;
  const THttpResult r = HttpFetch(url, {}, {}, body, 0, false, options);
  if (r.Outcome == THttpOutcome::hoComplete && r.Status >= 200 && r.Status < 300 && !body.empty()) {
    WriteFileWhole(file, body);
  }
}

struct TCondition {
  int Code;
  const char* Text;
};
constexpr TCondition kConditions[] = {
    {113, "Clear/Sunny"},
    {116, "Partly Cloudy"},
    {119, "Cloudy"},
    {122, "Overcast"},
    {143, "Mist"},
    {176, "Patchy rain nearby"},
    {179, "Patchy snow nearby"},
    {182, "Patchy sleet nearby"},
    {185, "Patchy freezing drizzle nearby"},
    {200, "Thundery outbreaks in nearby"},
    {227, "Blowing snow"},
    {230, "Blizzard"},
    {248, "Fog"},
    {260, "Freezing fog"},
    {263, "Patchy light drizzle"},
    {266, "Light drizzle"},
    {281, "Freezing drizzle"},
    {284, "Heavy freezing drizzle"},
    {293, "Patchy light rain"},
    {296, "Light rain"},
    {299, "Moderate rain at times"},
    {302, "Moderate rain"},
    {305, "Heavy rain at times"},
    {308, "Heavy rain"},
    {311, "Light freezing rain"},
    {314, "Moderate or Heavy freezing rain"},
    {317, "Light sleet"},
    {320, "Moderate or heavy sleet"},
    {323, "Patchy light snow"},
    {326, "Light snow"},
    {329, "Patchy moderate snow"},
    {332, "Moderate snow"},
    {335, "Patchy heavy snow"},
    {338, "Heavy snow"},
    {350, "Ice pellets"},
    {353, "Light rain shower"},
    {356, "Moderate or heavy rain shower"},
    {359, "Torrential rain shower"},
    {362, "Light sleet showers"},
    {365, "Moderate or heavy sleet showers"},
    {368, "Light snow showers"},
    {371, "Moderate or heavy snow showers"},
    {374, "Light showers of ice pellets"},
    {377, "Moderate or heavy showers of ice pellets"},
    {386, "Patchy light rain in area with thunder"},
    {389, "Moderate or heavy rain in area with thunder"},
    {392, "Patchy light snow in area with thunder"},
    {395, "Moderate or heavy snow in area with thunder"},
};

}  // namespace

const std::string& WeatherLastError() { return LastError(); }

bool ParseObservationTime(std::string_view text, TDateTime& timeOfDay) {
  std::string t(text);
  if (t.size() == 7) t.insert(0, "0");
  int hour = 0, minute = 0;
  if (!ReadInt(Part(t, 1, 2), hour) || !ReadInt(Part(t, 4, 2), minute)) return false;
  const std::string_view half = Part(t, 7, 2);
  if (EqualNoCase(half, "PM") && hour < 12) hour += 12;
  if (EqualNoCase(half, "AM") && hour == 12) hour = 0;
  if (hour > 23 || minute > 59) return false;
  timeOfDay = (hour * 3600.0 + minute * 60.0) / kSecondsPerDay;
  return true;
}

bool ParseForecastDate(std::string_view text, TDateTime& date) {
  int year = 0, month = 0, day = 0;
  if (!ReadInt(Part(text, 1, 4), year) || !ReadInt(Part(text, 6, 2), month) || !ReadInt(Part(text, 9, 2), day)) {
    return false;
  }
  return TryEncodeDate(year, month, day, date);
}

bool ParseLocationsAnswer(std::string_view bytes, bool fetched, TWeatherLocations& locations, std::string& error) {
  locations.clear();
  error.clear();
  const std::string text = DecodeAnswerText(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || (!lines.front().empty() && lines.front().front() == '<')) {
    error = HtmlToText(text);
    return false;
  }
  for (std::string_view line : lines) {
    if (!IsDataLine(line)) continue;
    TWeatherLocationRecord r;
    std::string* fields[] = {&r.AreaName,  &r.Country,    &r.Region,           &r.Latitude,
                             &r.Longitude, &r.Population, &r.WeatherForecastURL};
    for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = GetToken(line, i, "\t");
    r._Lat = ToNumber(r.Latitude);
    r._Long = ToNumber(r.Longitude);
    locations.push_back(std::move(r));
  }
  return fetched;
}

TWeatherParse ParseWeatherAnswer(std::string_view bytes, bool fetched, const std::string& dataFolder,
                                 TDateTime today, TCurrentWeather& current, TWeatherForecast& forecast,
                                 std::string& error) {
  TWeatherParse result;
  error.clear();
  const std::string folder = WithSeparator(dataFolder);
  ClearTexts(current);
  for (TWeatherForecastRecord& f : forecast) ClearTexts(f);

  const std::string text = DecodeAnswerText(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.empty() || (!lines.front().empty() && lines.front().front() == '<')) {
    error = HtmlToText(text);
    return result;
  }
  bool first = true;
  for (std::string_view line : lines) {
    if (!IsDataLine(line)) continue;
    const auto field = [line](std::size_t i) { return GetToken(line, i, ",\t"); };
    if (first) {
      first = false;
      TCurrentWeather& c = current;
      std::string* fields[] = {&c.observation_time, &c.temp_C,        &c.weatherCode,    &c.weatherIconUrl,
                               &c.weatherDesc,      &c.windspeedMiles, &c.windspeedKmph,  &c.winddirDegree,
                               &c.winddir16Point,   &c.precipMM,       &c.humidity,       &c.visibility,
                               &c.pressure,         &c.cloudcover};
      for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = field(i);
      c._imagefile = ImageFile(folder, c.weatherIconUrl);
      TDateTime time = 0;
      if (!ParseObservationTime(c.observation_time, time)) {
        error = HtmlToText(text);
        return result;
      }
      c._Time = DateOf(today) + time;
      result.CurrentRead = true;
      continue;
    }
    if (result.ForecastDays >= static_cast<int>(forecast.size())) break;  // no record for more days
    TWeatherForecastRecord& f = forecast[static_cast<std::size_t>(result.ForecastDays)];
    std::string* fields[] = {&f.date,          &f.tempMaxC,      &f.tempMaxF,       &f.tempMinC,   &f.tempMinF,
                             &f.windspeedMiles, &f.windspeedKmph, &f.winddirDegree,  &f.winddir16Point,
                             &f.weatherCode,    &f.weatherIconUrl, &f.weatherDesc,   &f.precipMM};
    for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = field(i);
    f._imagefile = ImageFile(folder, f.weatherIconUrl);
    TDateTime date = 0;
    if (!ParseForecastDate(f.date, date)) {
      error = HtmlToText(f.date);
      return result;
    }
    f._Date = date;
    ++result.ForecastDays;
  }
  result.Ok = fetched;
  return result;
}

bool SearchLocations(const std::string& key, const std::string& text, TWeatherLocations& locations,
                     const TWeatherService& service) {
  LastError().clear();
  locations.clear();
  std::string query(Trim(text));
  for (char& c : query) {
    if (c == ' ') c = '+';
  }
  std::string body;
  const bool fetched = HttpGet(BaseAddress(service) + "/free/v1/search.ashx?key=" + key + "&query=" + query +
                                   "&format=tab",
                               {}, {}, body, 0, service.Http);
  return ParseLocationsAnswer(body, fetched, locations, LastError());
}

bool GetWeather(const std::string& key, const std::string& location, bool downloadIcons, const std::string& dataFolder,
                TCurrentWeather& current, TWeatherForecast& forecast, const TWeatherService& service,
                const TClock& clock) {
  LastError().clear();
  std::string body;
  const bool fetched = HttpGet(BaseAddress(service) + "/free/v1/weather.ashx?key=" + key + "&q=" + location +
                                   "&format=csv&num_of_days=5",
                               {}, {}, body, 0, service.Http);
  const TWeatherParse parse =
      ParseWeatherAnswer(body, fetched, dataFolder, clock.NowLocal(), current, forecast, LastError());
  if (downloadIcons) {
    if (parse.CurrentRead) FetchIconIfMissing(current.weatherIconUrl, current._imagefile, service.Http);
    for (int d = 0; d < parse.ForecastDays; ++d) {
      const TWeatherForecastRecord& f = forecast[static_cast<std::size_t>(d)];
      FetchIconIfMissing(f.weatherIconUrl, f._imagefile, service.Http);
    }
  }
  return parse.Ok;
}

std::string WeatherConditionText(const TInterfaceTexts& texts, const std::string& weatherCode,
                                 const std::string& weatherDesc) {
  for (const TCondition& c : kConditions) {
    if (weatherCode == std::to_string(c.Code)) return texts.Get("wth_" + weatherCode, c.Text);
  }
  return texts.Get("wth_" + weatherCode, weatherDesc);
}

const std::vector<std::pair<std::string, std::string>>& WeatherConditionTexts() {
  static const std::vector<std::pair<std::string, std::string>> texts = [] {
    std::vector<std::pair<std::string, std::string>> list;
    for (const TCondition& c : kConditions) list.emplace_back("wth_" + std::to_string(c.Code), c.Text);
    return list;
  }();
  return texts;
}

std::string LocalizeWindDir(const TInterfaceTexts& texts, std::string_view text) {
  std::string out;
  for (char c : text) {
    const std::string letter(1, c);
    const std::string local = texts.Get("wth_" + letter, letter);
    if (local.empty()) {
      out += c;
      continue;
    }
    // The first character, which in UTF-8 may take several bytes.
    std::size_t n = 1;
    while (n < local.size() && (static_cast<unsigned char>(local[n]) & 0xC0) == 0x80) ++n;
    out.append(local, 0, n);
  }
  return out;
}

}  // namespace zentrix
