// The bar's refresh texts, weather captions and the application of its settings, without a window.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

#include "app/BarTexts.h"
#include "appbar/FakeAppBar.h"
#include "core/DateTime.h"

namespace zentrix {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return EncodeDateTime({y, mo, d, h, mi, s, 0});
}

// A day-names list whose line n reads "n=Name n".
std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back(std::to_string(i) + "=Name " + std::to_string(i));
  return names;
}

struct TDateCase {
  const char* Name;
  TDateTime Day;
  int Lines;
  int DF;
  std::string Expected;
};

class DatePanelTextTest : public testing::TestWithParam<TDateCase> {};

TEST_P(DatePanelTextTest, NamesTheDayAndFormatsTheDate) {
  const TDateCase& c = GetParam();
  EXPECT_EQ(DatePanelText(Names(c.Lines), c.Day, c.DF, EnglishWeekdayName, EnglishTexts()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DatePanelTextTest,
    testing::Values(TDateCase{"FirstMarchCommonYear", At(2013, 3, 1), 366, 0, "Name 61 - Friday, 1.3.2013"},
                    TDateCase{"FirstMarchLeapYear", At(2012, 3, 1), 366, 0, "Name 61 - Thursday, 1.3.2012"},
                    TDateCase{"LeapDay", At(2012, 2, 29), 366, 0, "Name 60 - Wednesday, 29.2.2012"},
                    TDateCase{"LastDayCommonYear", At(2013, 12, 31), 366, 0, "Name 366 - Tuesday, 31.12.2013"},
                    TDateCase{"ListTooShort", At(2013, 3, 1), 60, 0, "Day 61 - Friday, 1.3.2013"},
                    TDateCase{"UnknownFormatLeavesDateEmpty", At(2013, 3, 1), 366, 7, "Name 61 - "}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DatePanelTextTest, HebrewFormatUsesTheHebrewDate) {
  const std::string text = DatePanelText(Names(366), At(2013, 9, 5), 1, EnglishWeekdayName, EnglishTexts());
  EXPECT_EQ(text, "Name 249 - Yom Chamishi, 1. Tishri 5774");
}

struct TSimpleCase {
  const char* Name;
  std::string Actual;
  std::string Expected;
};

class PanelTextTest : public testing::TestWithParam<TSimpleCase> {};

TEST_P(PanelTextTest, Reads) { EXPECT_EQ(GetParam().Actual, GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelTextTest,
    testing::Values(TSimpleCase{"Midnight", TimeText(At(2013, 3, 1)), "00:00:00"},
                    TSimpleCase{"Afternoon", TimeText(At(2013, 3, 1, 23, 5, 9)), "23:05:09"},
                    TSimpleCase{"CpuWithin", CpuText(37), "CPU: 37%"},
                    TSimpleCase{"CpuFull", CpuText(100), "CPU: 100%"},
                    TSimpleCase{"CpuAboveHundred", CpuText(101), "CPU: 0%"},
                    TSimpleCase{"CpuNegative", CpuText(-3), "CPU: 0%"},
                    TSimpleCase{"Mem", MemText(64), "Mem: 64%"},
                    TSimpleCase{"CountdownWidth", CountdownWidthText("Launch"), "Launch: 00.00.00 00:00:00"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(UpdateQuestionTest, PutsTheVersionInOnce) {
  EXPECT_EQ(UpdateQuestion("2.1.0.7", EnglishTexts()), "New version 2.1.0.7 is available.\r\nDo you want to download it?");
  // A published version is text, not a format.
  EXPECT_EQ(UpdateQuestion("%s%n", EnglishTexts()), "New version %s%n is available.\r\nDo you want to download it?");
}

struct TCountdownCase {
  const char* Name;
  TDateTime Now;
  std::string Caption;
  bool Expired;
};

class CountdownTest : public testing::TestWithParam<TCountdownCase> {};

TEST_P(CountdownTest, ShowsTimeLeftAndRetiresAfterTheDay) {
  const TCountdownCase& c = GetParam();
  const TCountdownText t = CountdownPanelText("Launch", At(2013, 3, 5, 18, 0, 0), c.Now);
  EXPECT_EQ(t.Caption, c.Caption);
  EXPECT_EQ(t.Expired, c.Expired);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountdownTest,
    testing::Values(TCountdownCase{"NinetyMinutesBefore", At(2013, 3, 5, 16, 30, 0), "Launch: 00.00.00 01:30:00", false},
                    // A tick a few milliseconds after the second still counts whole seconds.
                    TCountdownCase{"JustAfterTheSecond", At(2013, 3, 5, 16, 30, 0) + 0.004 / kSecondsPerDay,
                                   "Launch: 00.00.00 01:30:00", false},
                    TCountdownCase{"DaysBefore", At(2013, 3, 3, 17, 0, 0), "Launch: 00.00.02 01:00:00", false},
                    TCountdownCase{"AtTheEvent", At(2013, 3, 5, 18, 0, 0), "Launch", false},
                    TCountdownCase{"LaterThatDay", At(2013, 3, 5, 23, 59, 59), "Launch", false},
                    TCountdownCase{"NextDay", At(2013, 3, 6, 0, 0, 1), "Launch", true}),
    [](const auto& info) { return std::string(info.param.Name); });

// The refresh in order, with sources that count how often they are read.
class BarRefreshTest : public testing::Test {
protected:
  TBarRefresh MakeRefresh() {
    return TBarRefresh({[this] { ++Reads["uptime"]; return 45 * 86400.0 + 3 * 3600 + 4 * 60 + 5; },
                        [this] { ++Reads["memory"]; return 42; },
                        [this] {
                          ++Reads["power"];
                          TPowerStatus s;
                          s.ACLineStatus = 0;
                          s.BatteryLifePercent = 100;
                          return s;
                        }},
                       EnglishTexts());
  }
  std::map<std::string, int> Reads;
  std::vector<std::string> FNames = Names(366);
};

TEST_F(BarRefreshTest, FillsEveryPanelAndComputesTheDateOncePerDay) {
  TBarRefresh refresh = MakeRefresh();
  bool shown = false, ec = false;
  struct TStep {
    TDateTime Now;
    bool DateChanged;
  };
  const std::vector<TStep> steps = {{At(2013, 3, 1, 23, 59, 58), true},
                                    {At(2013, 3, 1, 23, 59, 59), false},
                                    {At(2013, 3, 2, 0, 0, 0), true},
                                    {At(2013, 3, 2, 0, 0, 1), false}};
  for (const TStep& step : steps) {
    const TBarPanelTexts t = refresh.Tick(step.Now, 250, FNames, 0, "", 0, shown, ec);
    EXPECT_EQ(t.Time, TimeText(step.Now));
    EXPECT_EQ(t.DateChanged, step.DateChanged) << t.Time;
    EXPECT_EQ(t.System, "00.01.15 03:04:05");
    EXPECT_EQ(t.CPU, "CPU: 0%");
    EXPECT_EQ(t.Mem, "Mem: 42%");
    EXPECT_EQ(t.APM, "Bat: 100%");
  }
  EXPECT_EQ(Reads["memory"], 4);
  EXPECT_EQ(Reads["power"], 4);
  refresh.ResetDate();
  EXPECT_TRUE(refresh.Tick(At(2013, 3, 2, 0, 0, 2), 5, FNames, 0, "", 0, shown, ec).DateChanged);
}

TEST_F(BarRefreshTest, CountdownGoesAndTurnsEcOffAfterItsDay) {
  TBarRefresh refresh = MakeRefresh();
  bool shown = true, ec = true;
  const TDateTime event = At(2013, 3, 5, 18, 0, 0);
  TBarPanelTexts t = refresh.Tick(At(2013, 3, 5, 16, 30, 0), 5, FNames, 0, "Launch", event, shown, ec);
  EXPECT_EQ(t.Countdown, "Launch: 00.00.00 01:30:00");
  EXPECT_TRUE(shown && ec);
  t = refresh.Tick(At(2013, 3, 6, 0, 0, 0), 5, FNames, 0, "Launch", event, shown, ec);
  EXPECT_FALSE(shown);
  EXPECT_FALSE(ec);
  EXPECT_FALSE(t.CountdownShown);
}

TEST_F(BarRefreshTest, HiddenCountdownIsLeftAlone) {
  TBarRefresh refresh = MakeRefresh();
  bool shown = false, ec = true;
  const TBarPanelTexts t = refresh.Tick(At(2013, 3, 9), 5, FNames, 0, "Launch", At(2013, 3, 5), shown, ec);
  EXPECT_TRUE(ec);
  EXPECT_TRUE(t.Countdown.empty());
}

struct TWeatherCase {
  const char* Name;
  bool Ok;
  std::string TempC;
  int TU;
  std::string Expected;
};

class WeatherPanelTextTest : public testing::TestWithParam<TWeatherCase> {};

TEST_P(WeatherPanelTextTest, Caption) {
  const TWeatherCase& c = GetParam();
  TCurrentWeather current;
  current.temp_C = c.TempC;
  current.weatherCode = "116";
  current.weatherDesc = "Partly cloudy";
  EXPECT_EQ(WeatherPanelText(c.Ok, current, "Unable to find any matching weather location.", c.TU, EnglishTexts()),
            c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WeatherPanelTextTest,
    testing::Values(TWeatherCase{"Celsius", true, "18", 0, "18 °C - Partly Cloudy"},
                    TWeatherCase{"Fahrenheit", true, "18", 1, "64 F - Partly Cloudy"},
                    TWeatherCase{"FahrenheitBelowZero", true, "-40", 1, "-40 F - Partly Cloudy"},
                    TWeatherCase{"FahrenheitOfNoNumber", true, "n/a", 1, "32 F - Partly Cloudy"},
                    TWeatherCase{"Failure", false, "18", 0, "Unable to find any matching weather location."}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ForecastBalloonTextTest, OneLinePerDayWithoutTheLastBreak) {
  TWeatherForecast forecast;
  for (int i = 0; i < 5; ++i) {
    forecast[static_cast<std::size_t>(i)].date = "2013-03-0" + std::to_string(i + 1);
    forecast[static_cast<std::size_t>(i)].tempMaxC = std::to_string(10 + i);
    forecast[static_cast<std::size_t>(i)].tempMinC = std::to_string(i);
    forecast[static_cast<std::size_t>(i)].weatherCode = "113";
  }
  const auto shortDate = [](TDateTime d) { return FormatIsoDate(d); };
  const std::string text = ForecastBalloonText(forecast, 0, 0, shortDate, EnglishWeekdayName, EnglishTexts());
  EXPECT_EQ(text.substr(0, text.find('\r')), "2013-03-01, Friday: 10/0 °C - Clear/Sunny");
  EXPECT_EQ(text.substr(text.rfind('\n') + 1), "2013-03-05, Tuesday: 14/4 °C - Clear/Sunny");
  EXPECT_NE(text.back(), '\n');

  forecast[0].date.clear();
  EXPECT_EQ(ForecastBalloonText(forecast, 0, 0, shortDate, EnglishWeekdayName, EnglishTexts()), "");
}

struct TLayoutCase {
  const char* Name;
  std::function<void(TBarSettings&)> Change;
  int Height;
  int WeatherMs;
  int RSSMs;
};

class BarLayoutTest : public testing::TestWithParam<TLayoutCase> {};

TEST_P(BarLayoutTest, FromSettings) {
  TBarSettings s;
  GetParam().Change(s);
  const TBarLayout layout = BarLayoutOf(s);
  EXPECT_EQ(layout.Height, GetParam().Height);
  EXPECT_EQ(layout.WeatherIntervalMs, GetParam().WeatherMs);
  EXPECT_EQ(layout.RSSIntervalMs, GetParam().RSSMs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarLayoutTest,
    testing::Values(TLayoutCase{"Defaults", [](TBarSettings&) {}, 37, 3600000, 900000},
                    TLayoutCase{"TickerOff", [](TBarSettings& s) { s.DT = false; }, 19, 3600000, 0},
                    TLayoutCase{"WeatherOff", [](TBarSettings& s) { s.WRI = 0; }, 37, 0, 900000},
                    TLayoutCase{"NegativeIntervals", [](TBarSettings& s) { s.WRI = -5; s.RRI = -1; }, 37, 0, 0},
                    // 60 000 x 40 000 minutes does not fit a timer: the longest one it takes.
                    TLayoutCase{"HugeInterval", [](TBarSettings& s) { s.WRI = 40000; }, 37, INT_MAX, 900000}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(BarLayoutTest, UnitTexts) {
  TBarSettings s;
  EXPECT_EQ(BarLayoutOf(s).TemperatureUnit, "°C");
  EXPECT_EQ(BarLayoutOf(s).WindUnit, "km/h");
  s.TU = 2;
  s.WSU = 1;
  EXPECT_EQ(BarLayoutOf(s).TemperatureUnit, "F");
  EXPECT_EQ(BarLayoutOf(s).WindUnit, "mph");
}

// The docking under a fake desktop: the strip the bar reserves follows DT and AH.
class BarDockingTest : public testing::Test {
protected:
  test::TFakeAppBarShell Shell{{0, 0, 1024, 768}};
  test::TFakeAppBarWindow Window{7, {0, 0, 1024, 19}};
  TAppBar Bar{Shell, Window, EnglishTexts()};

  void SetUp() override {
    Bar.ABS() = DefaultAppBarSettings({1024, 768});
    Bar.ABS().abEdge = abeTop;
    Bar.ABS().abFlags = abfAllowTop;
    Bar.ABS().abTaskEntry = abtHide;
    Bar.Create();
    Window.RunPosted();
  }
  void Apply(const TBarSettings& s) {
    ApplyBarDocking(Bar, s);
    Bar.UpdateBar();
    Window.RunPosted();
  }
};

TEST_F(BarDockingTest, HeightAndStripFollowTheSettings) {
  struct TCase {
    const char* Name;
    bool DT;
    bool AH;
    int Height;
    int Reserved;
  };
  const std::vector<TCase> cases = {{"TickerOn", true, false, 37, 37},
                                    {"TickerOff", false, false, 19, 19},
                                    {"AutoHideReservesNothing", true, true, 37, 0},
                                    {"BackToDocked", true, false, 37, 37}};
  for (const TCase& c : cases) {
    TBarSettings s;
    s.DT = c.DT;
    s.AH = c.AH;
    Apply(s);
    EXPECT_EQ(Window.FBounds.Height(), c.Height) << c.Name;
    EXPECT_EQ(Shell.Reserved(7).Height(), c.Reserved) << c.Name;
    EXPECT_EQ(Bar.ABS().bAutohide, c.AH) << c.Name;
  }
}

TEST_F(BarDockingTest, ReactionTimeSlideEffectAndCaptureBeforeSave) {
  TBarSettings s;
  s.ST = 250;
  s.SE = true;
  s.AH = true;
  Apply(s);
  EXPECT_EQ(Bar.ReactionTime(), 250);
  EXPECT_TRUE(Bar.ABS().bSlideEffect);
  TBarSettings saved;
  CaptureBarState(Bar, false, saved);
  EXPECT_TRUE(saved.AH);
  EXPECT_FALSE(saved.DT);
}

// A desktop whose key grabs another client already holds some of.
class TFakeHotKeys : public THotKeys {
public:
  bool Register(int id, std::uint16_t shortcut) override {
    Order.push_back(id);
    if (Taken.count(shortcut)) return false;
    Held[id] = shortcut;
    return true;
  }
  void Unregister(int id) override { Held.erase(id); }
  std::set<std::uint16_t> Taken;
  std::map<int, std::uint16_t> Held;
  std::vector<int> Order;
};

TEST(RegisterBarHotKeysTest, RefusedGrabClearsTheShortcut) {
  TFakeHotKeys keys;
  keys.Taken = {static_cast<std::uint16_t>(kCtrlAlt | 'K')};
  TBarSettings s;
  s.ShortCuts[static_cast<std::size_t>(ShortCutIndex("acSpreadsheet"))] = 0;           // none set
  s.ShortCuts[static_cast<std::size_t>(ShortCutIndex("acNotepad"))] = 0x12345;         // not a code
  EXPECT_FALSE(RegisterBarHotKeys(keys, s));
  EXPECT_EQ(s.ShortCuts[static_cast<std::size_t>(ShortCutIndex("acCalculator"))], 0);
  EXPECT_EQ(s.ShortCuts[static_cast<std::size_t>(ShortCutIndex("acNotepad"))], 0);
  EXPECT_EQ(s.ShortCuts[static_cast<std::size_t>(ShortCutIndex("acDeskExp"))], 49228);  // Ctrl+Alt+L
  EXPECT_EQ(keys.Held.at(1), 49228);
  EXPECT_EQ(keys.Held.count(3), 0u);
  EXPECT_EQ(keys.Order, (std::vector<int>{1, 2, 3, 4, 5, 6, 8, 9}));

  // Applied again, a cleared shortcut stays cleared and the others are grabbed again.
  keys.Taken.clear();
  keys.Order.clear();
  EXPECT_FALSE(RegisterBarHotKeys(keys, s));
  EXPECT_EQ(keys.Held.size(), 7u);
}

}  // namespace
}  // namespace zentrix
