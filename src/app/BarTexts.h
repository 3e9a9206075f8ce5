#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <functional>
#include <string>
#include <vector>

#include "appbar/AppBar.h"
#include "core/DateTime.h"
#include "core/InterfaceTexts.h"
#include "feeds/Valtri_WeatherForecast.h"
#include "platform/HotKeys.h"
#include "settings/BarSettings.h"
#include "sysinfo/PowerStatus.h"

namespace zentrix {

// "hh:mm:ss" of the 24-hour clock.
std::string TimeText(TDateTime now);
// A sampler average outside 0..100 is a misreading, shown as 0.
std::int32_t ClampCpuUsage(std::int32_t average);
std::string CpuText(std::int32_t average);  // "CPU: %d%%" of the clamped value
std::string MemText(std::int32_t load);     // "Mem: %d%%"

// The date panel's date part by the DF setting: 0 "dddd, d.m.yyyy" with the weekday's full name
// from weekdayName (1 Sunday .. 7 Saturday), 1 the Hebrew date text, anything else empty.
using TWeekdayName = std::function<std::string(int dayOfWeek)>;
std::string EnglishWeekdayName(int dayOfWeek);
std::string DateFormatText(TDateTime day, int dateFormat, const TWeekdayName& weekdayName, const TInterfaceTexts& texts);
// "%s - %s" of the day name and the date text.
std::string DatePanelText(const std::vector<std::string>& names, TDateTime day, int dateFormat,
                          const TWeekdayName& weekdayName, const TInterfaceTexts& texts);

// The countdown panel at `now`: the event name, with the time left while the event is ahead;
// Expired once the event's day is over (the panel goes and EC is turned off).
struct TCountdownText {
  std::string Caption;
  bool Expired = false;
};
TCountdownText CountdownPanelText(const std::string& eventName, TDateTime eventDate, TDateTime now);
// The text whose width sizes the countdown panel: the name followed by ": 00.00.00 00:00:00".
std::string CountdownWidthText(const std::string& eventName);

// Weather panel texts. Temperatures by TU: Celsius as received; Fahrenheit from temp_C read as
// an integer (0 when it is none), converted and rounded; then the unit text.
std::string CurrentTemperatureText(const TCurrentWeather& current, int tu);
std::string ForecastTemperatureText(const TWeatherForecastRecord& day, int tu);
// The panel's caption: "%s - %s" of temperature and condition, or the client's error text.
std::string WeatherPanelText(bool ok, const TCurrentWeather& current, const std::string& lastError, int tu,
                             const TInterfaceTexts& texts);
// The forecast balloon's lines, one per day, "date: temperature - condition"; empty when the
// first day has no date. shortDate writes the user's short date format.
using TDateText = std::function<std::string(TDateTime)>;
std::string ForecastBalloonText(const TWeatherForecast& forecast, int tu, int dateFormat, const TDateText& shortDate,
                                const TWeekdayName& weekdayName, const TInterfaceTexts& texts);

// What the bar takes from its settings when it applies them, apart from the docking.
struct TBarLayout {
  int Height = 37;              // 19, plus the ticker row's 18 when it is shown
  bool BoldLabels = true;
  std::string WindUnit;         // FWSU
  std::string TemperatureUnit;  // FTU
  bool TickerShown = true;
  int TickerStepMs = 10;
  int WeatherIntervalMs = 0;    // 0: the weather timer is off
  int RSSIntervalMs = 0;        // 0: the RSS timer is off
  bool CountdownShown = false;
  TDateTime EventDate = 0;
};
inline constexpr int kTopRowHeight = 19;
inline constexpr int kTickerRowHeight = 18;
TBarLayout BarLayoutOf(const TBarSettings& settings);
// minutes x 60 000 ms, kept within what a timer takes; 0 for none or a negative count.
int MinutesToTimerMs(int minutes);

// The docking part of applying the settings: auto hide, reaction time, slide effect and every
// size of the bar set to its height. The caller re-docks (UpdateBar) once the rest is applied.
void ApplyBarDocking(TAppBar& bar, const TBarSettings& settings);
// Before the settings are saved: AH from the docking, DT from the ticker row.
void CaptureBarState(const TAppBar& bar, bool tickerShown, TBarSettings& settings);

// The actions with system-wide hot keys, by hot key id (1 to 10).
inline constexpr std::array<std::string_view, 10> kHotKeyActions = {
    "acDeskExp", "acDeskExpOnOff", "acCalculator", "acCalendar", "acCodeTools",
    "acASCIITable", "acNotepad", "acWeather", "acRSS", "acSpreadsheet"};
// The action's index in kStoredShortCuts (and TBarSettings::ShortCuts); -1 for none.
int ShortCutIndex(std::string_view action);
// Registers the ten hot keys in id order, each unregistered first. A shortcut the system refuses
// (or an empty one) is cleared to 0 in settings, so that 0 is what gets saved. True when all
// could be registered.
bool RegisterBarHotKeys(THotKeys& hotKeys, TBarSettings& settings);

// The update offer: "New version %s is available.", a line break, "Do you want to download it?",
// with the published version for %s.
std::string UpdateQuestion(const std::string& version, const TInterfaceTexts& texts);

// What one once-a-second refresh reads, in the order it reads it.
struct TBarSources {
  std::function<double()> UptimeSeconds;      // the 32-bit tick counter in seconds
  std::function<std::int32_t()> MemoryLoad;   // refreshes the memory figures, then their load
  std::function<TPowerStatus()> PowerStatus;
};

// The panel texts after one refresh; Date is set only when the day changed.
struct TBarPanelTexts {
  std::string Time;
  bool DateChanged = false;
  std::string Date;
  std::string System;
  std::string CPU;
  std::string Mem;
  std::string APM;
  bool CountdownShown = false;
  std::string Countdown;
};

// The bar's once-a-second refresh without the window: it remembers the day the date panel shows
// and retires an expired countdown (EC off).
class TBarRefresh {
public:
  TBarRefresh(TBarSources sources, const TInterfaceTexts& texts, TWeekdayName weekdayName = EnglishWeekdayName)
      : FSources(std::move(sources)), FTexts(texts), FWeekdayName(std::move(weekdayName)) {}

  // countdownShown and ec are the panel's visibility and the EC setting; both go off when the
  // event's day is over.
  TBarPanelTexts Tick(TDateTime now, std::int32_t averageCpu, const std::vector<std::string>& names, int dateFormat,
                      const std::string& eventName, TDateTime eventDate, bool& countdownShown, bool& ec);
  // The next tick recomputes the date (after the preferences change DF or the day names).
  void ResetDate() { FDate = 0; }
  TDateTime Date() const { return FDate; }

private:
  TBarSources FSources;
  const TInterfaceTexts& FTexts;
  TWeekdayName FWeekdayName;
  TDateTime FDate = 0;
};

}  // namespace zentrix
