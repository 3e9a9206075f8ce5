#include "app/BarTexts.h"

#include <array>
#include <cmath>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "astro/Reckonings.h"
#include "core/DayNames.h"
#include "core/FormatDuration.h"

namespace zentrix {

namespace {

std::string Format(const char* format, int value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

std::string TimeText(TDateTime now) {
  const TDateParts parts = DecodeDateTime(now);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", parts.Hour, parts.Minute, parts.Second);
  return buffer;
}

std::int32_t ClampCpuUsage(std::int32_t average) {
  return average > 100 || average < 0 ? 0 : average;
}

std::string CpuText(std::int32_t average) {
  return Format("CPU: %d%%", ClampCpuUsage(average));
}

std::string MemText(std::int32_t load) {
  return Format("Mem: %d%%", load);
}

std::string EnglishWeekdayName(int dayOfWeek) {
  static const std::array<const char*, 7> names = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? names[static_cast<std::size_t>(dayOfWeek - 1)] : "";
}

std::string DateFormatText(TDateTime day, int dateFormat, const TWeekdayName& weekdayName,
                           const TInterfaceTexts& texts) {
  if (dateFormat == 0) {
    const TDateParts parts = DecodeDateTime(day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, ", %d.%d.%d", parts.Day, parts.Month, parts.Year);
    return weekdayName(DayOfWeek(day)) + buffer;
  }
  if (dateFormat == 1) return HebrewDateText(DateOf(day), texts);
  return {};
}

std::string DatePanelText(const std::vector<std::string>& names, TDateTime day, int dateFormat,
                          const TWeekdayName& weekdayName, const TInterfaceTexts& texts) {
  return GetName(names, day, texts) + " - " + DateFormatText(day, dateFormat, weekdayName, texts);
}

TCountdownText CountdownPanelText(const std::string& eventName, TDateTime eventDate, TDateTime now) {
  TCountdownText result;
  result.Caption = eventName;
  if (now < eventDate) {
    // Whole seconds: a tick a few milliseconds after the second must not show one second less.
    const double seconds = std::round((eventDate - now) * kSecondsPerDay);
    result.Caption = eventName + ": " + FormatDuration(seconds);
  }
  result.Expired = DateOf(now) > DateOf(eventDate);
  return result;
}

std::string CountdownWidthText(const std::string& eventName) {
  return eventName + ": 00.00.00 00:00:00";
}

std::string CurrentTemperatureText(const TCurrentWeather& current, int tu) {
  if (tu == 0) return current.temp_C + " " + TemperatureUnit(tu);
  char* end = nullptr;
  const long celsius = std::strtol(current.temp_C.c_str(), &end, 10);
  const bool whole = !current.temp_C.empty() && end && *end == '\0';
  const double fahrenheit = (whole ? static_cast<double>(celsius) : 0.0) * 9.0 / 5.0 + 32.0;
  return std::to_string(static_cast<long>(std::lround(fahrenheit))) + " " + TemperatureUnit(tu);
}

std::string ForecastTemperatureText(const TWeatherForecastRecord& day, int tu) {
  const std::string range = tu == 0 ? day.tempMaxC + "/" + day.tempMinC : day.tempMaxF + "/" + day.tempMinF;
  return range + " " + TemperatureUnit(tu);
}

std::string WeatherPanelText(bool ok, const TCurrentWeather& current, const std::string& lastError, int tu,
                             const TInterfaceTexts& texts) {
  if (!ok) return lastError;
  return CurrentTemperatureText(current, tu) + " - " +
         WeatherConditionText(texts, current.weatherCode, current.weatherDesc);
}

std::string ForecastBalloonText(const TWeatherForecast& forecast, int tu, int dateFormat, const TDateText& shortDate,
                                const TWeekdayName& weekdayName, const TInterfaceTexts& texts) {
  if (forecast[0].date.empty()) return {};
  std::string text;
  for (const TWeatherForecastRecord& day : forecast) {
    TDateTime date = day._Date;
    if (date == 0) ParseForecastDate(day.date, date);
    std::string dateText;
    if (dateFormat == 1) {
      const THebrewDate hebrew = HebrewDate(date);
      dateText = std::to_string(hebrew.Day) + ". " + HebrewMonthName(hebrew.Month, texts) + " " +
                 std::to_string(hebrew.Year) + ", " + HebrewWeekdayName(DayOfWeek(date), texts);
    } else {
      dateText = shortDate(date) + ", " + weekdayName(DayOfWeek(date));
    }
    text += dateText + ": " + ForecastTemperatureText(day, tu) + " - " +
            WeatherConditionText(texts, day.weatherCode, day.weatherDesc) + "\r\n";
  }
  text.resize(text.size() - 2);
  return text;
}

int MinutesToTimerMs(int minutes) {
  if (minutes <= 0) return 0;
  const long long ms = 60000LL * minutes;
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

TBarLayout BarLayoutOf(const TBarSettings& settings) {
  TBarLayout layout;
  layout.TickerShown = settings.DT;
  layout.Height = kTopRowHeight + (settings.DT ? kTickerRowHeight : 0);
  layout.BoldLabels = settings.BL;
  layout.WindUnit = WindSpeedUnit(settings.WSU);
  layout.TemperatureUnit = TemperatureUnit(settings.TU);
  layout.TickerStepMs = settings.RSI;
  layout.WeatherIntervalMs = MinutesToTimerMs(settings.WRI);
  layout.RSSIntervalMs = settings.DT ? MinutesToTimerMs(settings.RRI) : 0;
  layout.CountdownShown = settings.EC;
  layout.EventDate = settings.EDT;
  return layout;
}

void ApplyBarDocking(TAppBar& bar, const TBarSettings& settings) {
  TAppBarSettings& abs = bar.ABS();
  abs.bAutohide = settings.AH;
  bar.SetReactionTime(settings.ST);
  abs.bSlideEffect = settings.SE;
  const int height = BarLayoutOf(settings).Height;
  abs.nMinWidth = height;
  abs.nMinHeight = height;
  abs.szDockSize = {height, height};
  abs.szMinDockSize = {height, height};
}

void CaptureBarState(const TAppBar& bar, bool tickerShown, TBarSettings& settings) {
  settings.AH = bar.ABS().bAutohide;
  settings.DT = tickerShown;
}

std::string UpdateQuestion(const std::string& version, const TInterfaceTexts& texts) {
  std::string text = texts.Get("lc_NewVersion", "New version %s is available.") + "\r\n" +
                     texts.Get("lc_DownloadIt", "Do you want to download it?");
  // Only the first %s is the version; a version text is never read as a format.
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, version);
  return text;
}

int ShortCutIndex(std::string_view action) {
  for (std::size_t i = 0; i < kStoredShortCuts.size(); ++i)
    if (kStoredShortCuts[i].Action == action) return static_cast<int>(i);
  return -1;
}

bool RegisterBarHotKeys(THotKeys& hotKeys, TBarSettings& settings) {
  bool all = true;
  for (std::size_t i = 0; i < kHotKeyActions.size(); ++i) {
    const int id = static_cast<int>(i) + 1;
    int& shortCut = settings.ShortCuts[static_cast<std::size_t>(ShortCutIndex(kHotKeyActions[i]))];
    hotKeys.Unregister(id);
    // A code outside 16 bits is no shortcut at all; it must not wrap into some other key.
    const bool valid = shortCut > 0 && shortCut <= 0xFFFF;
    if (!valid || !hotKeys.Register(id, static_cast<std::uint16_t>(shortCut))) {
      shortCut = 0;
      all = false;
    }
  }
  return all;
}

TBarPanelTexts TBarRefresh::Tick(TDateTime now, std::int32_t averageCpu, const std::vector<std::string>& names,
                                 int dateFormat, const std::string& eventName, TDateTime eventDate,
                                 bool& countdownShown, bool& ec) {
  TBarPanelTexts result;
  result.Time = TimeText(now);
  const TDateTime today = DateOf(now);
  if (today != FDate) {
    FDate = today;
    result.DateChanged = true;
    result.Date = DatePanelText(names, FDate, dateFormat, FWeekdayName, FTexts);
  }
  const std::int32_t cpu = ClampCpuUsage(averageCpu);
  result.System = FormatDuration(FSources.UptimeSeconds ? FSources.UptimeSeconds() : 0.0);
  result.CPU = CpuText(cpu);
  result.Mem = MemText(FSources.MemoryLoad ? FSources.MemoryLoad() : 0);
  result.APM = PowerCaption(FSources.PowerStatus ? FSources.PowerStatus() : TPowerStatus{}, FTexts);
  if (countdownShown) {
    const TCountdownText countdown = CountdownPanelText(eventName, eventDate, now);
    result.Countdown = countdown.Caption;
    if (countdown.Expired) {
      ec = false;
      countdownShown = false;
    }
  }
  result.CountdownShown = countdownShown;
  return result;
}

}  // namespace zentrix
