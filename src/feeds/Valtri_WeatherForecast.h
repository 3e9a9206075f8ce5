#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/InterfaceTexts.h"
#include "feeds/Valtri_Internet.h"
#include "feeds/WeatherService.h"

namespace zentrix {

struct TWeatherLocationRecord {
  std::string AreaName;
  std::string Country;
  std::string Region;
  std::string Latitude;   // as received, decimal point
  std::string Longitude;
  std::string Population;
  std::string WeatherForecastURL;
  double _Lat = 0;   // degrees, north positive
  double _Long = 0;  // degrees, east positive
};

using TWeatherLocations = std::vector<TWeatherLocationRecord>;

struct TCurrentWeather {
  std::string observation_time;  // "hh:mm AM", universal time
  std::string temp_C;
  std::string weatherCode;
  std::string weatherIconUrl;
  std::string weatherDesc;
  std::string windspeedMiles;
  std::string windspeedKmph;
  std::string winddirDegree;
  std::string winddir16Point;
  std::string precipMM;
  std::string humidity;
  std::string visibility;
  std::string pressure;
  std::string cloudcover;
  std::string _imagefile;  // icon path in the data folder; empty when the address names no safe file
  TDateTime _Time = 0;     // today plus the observation time (universal time)
};

struct TWeatherForecastRecord {
  std::string date;  // yyyy-mm-dd
  std::string tempMaxC;
  std::string tempMaxF;
  std::string tempMinC;
  std::string tempMinF;
  std::string windspeedMiles;
  std::string windspeedKmph;
  std::string winddirDegree;
  std::string winddir16Point;
  std::string weatherCode;
  std::string weatherIconUrl;
  std::string weatherDesc;
  std::string precipMM;
  std::string _imagefile;
  TDateTime _Date = 0;
  TDateTime _MoonPhaseTime = 0;  // filled by the weather window
  std::string _MoonPhaseText;
  int _MoonPhase = 0;
};

using TWeatherForecast = std::array<TWeatherForecastRecord, 5>;

// Where requests go. Host may carry a port ("127.0.0.1:8080") or a scheme ("https://host").
struct TWeatherService {
  std::string Host = kWeatherApiHost;
  THttpOptions Http;
};

// Text of the last failed request's answer (a service error document, an HTML page) or empty.
// Kept per thread; emptied at the start of every request.
const std::string& WeatherLastError();

// Raises EConvertError when a latitude or longitude is not a number.
bool SearchLocations(const std::string& key, const std::string& text, TWeatherLocations& locations,
                     const TWeatherService& service = {});

// Current conditions and five days. With downloadIcons, icons missing from dataFolder are fetched
// and stored there; present ones are never fetched again.
bool GetWeather(const std::string& key, const std::string& location, bool downloadIcons, const std::string& dataFolder,
                TCurrentWeather& current, TWeatherForecast& forecast, const TWeatherService& service = {},
                const TClock& clock = SystemClock());

// The parsers behind the two requests, on answer bytes already fetched. fetched is the fetch
// result, returned when the answer holds data. error receives the last error text.
bool ParseLocationsAnswer(std::string_view bytes, bool fetched, TWeatherLocations& locations, std::string& error);

struct TWeatherParse {
  bool Ok = false;
  bool CurrentRead = false;  // current conditions filled
  int ForecastDays = 0;      // forecast records filled, from day 0
};
TWeatherParse ParseWeatherAnswer(std::string_view bytes, bool fetched, const std::string& dataFolder,
                                 TDateTime today, TCurrentWeather& current, TWeatherForecast& forecast,
                                 std::string& error);

// "1:15 PM" to a time of day; false when unreadable.
bool ParseObservationTime(std::string_view text, TDateTime& timeOfDay);
// "2013-03-20" to a date; false when unreadable.
bool ParseForecastDate(std::string_view text, TDateTime& date);

// Condition text for a code: the language's "wth_<code>" text, by default the English text of
// the code, or the service's own description for a code we do not know.
std::string WeatherConditionText(const TInterfaceTexts& texts, const std::string& weatherCode,
                                 const std::string& weatherDesc);
// Every known code's key ("wth_113") and English text, for the localization layer.
const std::vector<std::pair<std::string, std::string>>& WeatherConditionTexts();
// A compass point ("NNE") with each letter replaced by the first character of the language's
// "wth_<letter>" text.
std::string LocalizeWindDir(const TInterfaceTexts& texts, std::string_view text);

}  // namespace zentrix
