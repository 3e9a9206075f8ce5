#include <gtest/gtest.h>

#include <filesystem>

#include "core/Clock.h"
#include "core/Exceptions.h"
#include "feeds/Valtri_WeatherForecast.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

namespace zentrix {
namespace {

using test::TTestReply;

// ---- pieces of an answer ----

struct TTimeCase {
  const char* Text;
  int Hour;  // -1: unreadable
  int Minute;
};

TEST(WeatherFieldsTest, ObservationTime) {
  const TTimeCase cases[] = {{"1:15 PM", 13, 15},   {"01:15 PM", 13, 15}, {"12:05 PM", 12, 5},
                             {"12:05 AM", 0, 5},    {"11:59 pm", 23, 59}, {"07:30 AM", 7, 30},
                             {"13:10", 13, 10},     {"ab:cd PM", -1, 0},  {"", -1, 0},
                             {"25:00 AM", -1, 0},   {"10:61 AM", -1, 0},  {"<b>x</b>", -1, 0}};
  for (const TTimeCase& c : cases) {
    TDateTime t = -1;
    const bool ok = ParseObservationTime(c.Text, t);
    EXPECT_EQ(ok, c.Hour >= 0) << c.Text;
    if (ok) {
      EXPECT_NEAR(t * 1440, c.Hour * 60 + c.Minute, 1e-6) << c.Text;
    }
  }
}

TEST(WeatherFieldsTest, ForecastDate) {
  struct TDateCase {
    const char* Text;
    bool Ok;
  };
  const TDateCase cases[] = {{"2013-03-20", true},  {"2012-02-29", true},  {"2013-02-29", false},
                             {"2013-13-01", false}, {"20130320", false},   {"", false},
                             {"<error>", false},    {"2013-3-20", false}};
  for (const TDateCase& c : cases) {
    TDateTime d = 0;
    EXPECT_EQ(ParseForecastDate(c.Text, d), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(FormatIsoDate(d), c.Text);
    }
  }
}

// ---- the weather request against the loopback server ----

const char* const kTarget = "/free/v1/weather.ashx?key=k123&q=London&format=csv&num_of_days=5";

class GetWeatherTest : public ::testing::Test {
protected:
  void SetUp() override {
    FService.Host = FServer.HostPort();
    FServer.Route("/img/wsymbol_0001_sunny.png", TTestReply::Ok("PNG-sunny", "image/png"));
    FServer.Route("/img/wsymbol_0002_cloudy.png", TTestReply::Ok("PNG-cloudy", "image/png"));
  }

  std::string Icon(const std::string& name) const { return FServer.Url("/img/" + name); }

  std::string CurrentLine(const std::string& time = "1:15 PM") const {
    return time + ",18,113," + Icon("wsymbol_0001_sunny.png") + ",Sunny,9,15,250,WSW,0.0,55,10,1016,0\n";
  }
  std::string DayLine(const std::string& date, const std::string& icon = "wsymbol_0002_cloudy.png") const {
    return date + ",20,68,10,50,8,13,200,SSW,119," + Icon(icon) + ",Cloudy,0.4\n";
  }
  std::string Answer(int days) const {
    std::string a = "#The CSV format is:\n#observation_time,temp_C,...\n" + CurrentLine();
    for (int d = 0; d < days; ++d) a += DayLine("2013-03-" + std::to_string(20 + d));
    return a;
  }

  bool Get(bool icons, const std::string& folder) {
    return GetWeather("k123", "London", icons, folder, FCurrent, FForecast, FService, FClock);
  }

  test::TTestHttpServer FServer;
  test::TTempDir FDir;
  TWeatherService FService;
  TFixedClock FClock{EncodeDate(2013, 3, 20) + 0.75};
  TCurrentWeather FCurrent;
  TWeatherForecast FForecast;
};

TEST_F(GetWeatherTest, FullAnswer) {
  FServer.Route(kTarget, TTestReply::Ok(Answer(5)));
  ASSERT_TRUE(Get(false, FDir.Path().string()));
  EXPECT_TRUE(WeatherLastError().empty());
  EXPECT_EQ(FCurrent.temp_C, "18");
  EXPECT_EQ(FCurrent.weatherCode, "113");
  EXPECT_EQ(FCurrent.winddir16Point, "WSW");
  EXPECT_EQ(FCurrent.cloudcover, "0");
  EXPECT_EQ(FormatDateTimeText(FCurrent._Time), "2013-03-20 13:15:00");
  // A folder without its separator gets one.
  EXPECT_EQ(FCurrent._imagefile, FDir.Path().string() + "/wsymbol_0001_sunny.png");
  for (std::size_t d = 0; d < 5; ++d) {
    EXPECT_EQ(FForecast[d].date, "2013-03-" + std::to_string(20 + d));
    EXPECT_EQ(FormatIsoDate(FForecast[d]._Date), FForecast[d].date);
    EXPECT_EQ(FForecast[d].tempMinF, "50");
    EXPECT_EQ(FForecast[d].weatherDesc, "Cloudy");
    EXPECT_EQ(FForecast[d].precipMM, "0.4");
  }
  // Without downloadIcons nothing but the answer is fetched.
  EXPECT_EQ(FServer.Requests().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(FCurrent._imagefile));
}

TEST_F(GetWeatherTest, IconsFetchedOnlyWhenMissing) {
  FServer.Route(kTarget, TTestReply::Ok(Answer(5)));
  const std::string folder = FDir.Path().string() + "/";
  FDir.Write("wsymbol_0002_cloudy.png", "already here");
  ASSERT_TRUE(Get(true, folder));
  EXPECT_EQ(test::TTempDir::Read(folder + "wsymbol_0001_sunny.png"), "PNG-sunny");
  EXPECT_EQ(test::TTempDir::Read(folder + "wsymbol_0002_cloudy.png"), "already here");
  EXPECT_EQ(FServer.RequestCount("/img/wsymbol_0001_sunny.png"), 1);
  EXPECT_EQ(FServer.RequestCount("/img/wsymbol_0002_cloudy.png"), 0);
  // A second run finds both.
  ASSERT_TRUE(Get(true, folder));
  EXPECT_EQ(FServer.RequestCount("/img/wsymbol_0001_sunny.png"), 1);
}

TEST_F(GetWeatherTest, UnsafeIconNamesAreNotWritten) {
  struct TIconCase {
    const char* Name;
    std::string Url;
  };
  const TIconCase cases[] = {{"TrailingSlash", FServer.Url("/img/")},
                             {"DotDot", FServer.Url("/img/..")},
                             {"Dot", FServer.Url("/img/.")},
                             {"Backslash", FServer.Url("/img/..\\escape.png")},
                             {"Empty", ""}};
  for (const TIconCase& c : cases) {
    const std::string answer =
        "1:15 PM,18,113," + c.Url + ",Sunny,9,15,250,WSW,0.0,55,10,1016,0\n" + DayLine("2013-03-20", "x.png");
    FServer.Route(kTarget, TTestReply::Ok(answer));
    const std::size_t before = FServer.Requests().size();
    ASSERT_TRUE(Get(true, FDir.Path().string())) << c.Name;
    EXPECT_TRUE(FCurrent._imagefile.empty()) << c.Name;
    // Only the answer and the day's own icon (x.png, answered by a 404 page) were asked for.
    EXPECT_EQ(FServer.Requests().size(), before + 2) << c.Name;
  }
  // Nothing landed: not the unsafe names, and not the 404 page as x.png.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir.Path()), {}), 0);
  EXPECT_FALSE(std::filesystem::exists(FDir.Path().parent_path() / "escape.png"));
}

struct TBadAnswerCase {
  const char* Name;
  std::string Body;
  const char* LastError;
  const char* Temperature;  // what was filled before the failure
  int DatesFilled;  // the failing day keeps its texts too
};

TEST_F(GetWeatherTest, AnswersThatAreNotData) {
  const TBadAnswerCase cases[] = {
      {"XmlErrorDocument",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><data><error><msg>Unable to find any matching weather location to "
       "the query submitted!</msg></error></data>",
       "Unable to find any matching weather location to the query submitted!", "", 0},
      {"HtmlPage", "<html><body><h1>Service Unavailable</h1></body></html>\r\n", "Service Unavailable", "", 0},
      {"EmptyAnswer", "", "", "", 0},
      {"BadObservationTime", "#c\nxx:yy PM,18,113\n", "#c\nxx:yy PM,18,113", "18", 0},
      {"BadThirdDate", Answer(2) + DayLine("2013-03-99<br>"), "2013-03-99", "18", 3},
  };
  for (const TBadAnswerCase& c : cases) {
    FServer.Route(kTarget, TTestReply::Ok(c.Body));
    EXPECT_FALSE(Get(false, FDir.Path().string())) << c.Name;
    EXPECT_EQ(WeatherLastError(), c.LastError) << c.Name;
    EXPECT_EQ(FCurrent.temp_C, c.Temperature) << c.Name;
    for (int d = 0; d < 5; ++d) {
      EXPECT_EQ(FForecast[static_cast<std::size_t>(d)].date.empty(), d >= c.DatesFilled) << c.Name;
    }
  }
}

TEST_F(GetWeatherTest, AnswerVariants) {
  struct TVariantCase {
    const char* Name;
    std::string Body;
    int Days;
    const char* Desc;
  };
  // UTF-16 LE with its mark; the sun sign (U+2600) is one unit.
  std::string utf16("\xFF\xFE", 2);
  for (char ch : std::string("1:15 PM,18,113,,Sonnig ")) {
    utf16 += ch;
    utf16 += '\0';
  }
  utf16 += std::string("\x00\x26\n\0", 4);
  const TVariantCase cases[] = {
      {"ExtraDaysIgnored", Answer(7), 5, "Sunny"},
      {"FewerDays", Answer(2), 2, "Sunny"},
      {"CrLfAndBlankLines", "#c\r\n\r\n" + CurrentLine() + "\r\n" + DayLine("2013-03-20"), 1, "Sunny"},
      {"TabsSplitToo", "1:15 PM\t18\t113\t\tTabbed\n", 0, "Tabbed"},
      {"MissingTrailingFields", "1:15 PM,18\n", 0, ""},
      {"Utf16Answer", utf16, 0, "Sonnig \xE2\x98\x80"},
  };
  for (const TVariantCase& c : cases) {
    FServer.Route(kTarget, TTestReply::Ok(c.Body));
    EXPECT_TRUE(Get(false, FDir.Path().string())) << c.Name;
    EXPECT_EQ(FCurrent.weatherDesc, c.Desc) << c.Name;
    EXPECT_EQ(FCurrent.temp_C, "18") << c.Name;
    for (int d = 0; d < 5; ++d) {
      EXPECT_EQ(FForecast[static_cast<std::size_t>(d)].date.empty(), d >= c.Days) << c.Name;
    }
  }
}

TEST_F(GetWeatherTest, NoServer) {
  FService.Host = "127.0.0.1:1";
  FCurrent.temp_C = "old";
  EXPECT_FALSE(Get(false, FDir.Path().string()));
  EXPECT_TRUE(WeatherLastError().empty());
  EXPECT_TRUE(FCurrent.temp_C.empty());
}

// ---- the location search ----

const char* const kSearchTarget = "/free/v1/search.ashx?key=k123&query=New+York&format=tab";

class SearchLocationsTest : public GetWeatherTest {};

TEST_F(SearchLocationsTest, Answers) {
  struct TSearchCase {
    const char* Name;
    std::string Body;
    bool Ok;
    std::size_t Count;
    const char* LastError;
  };
  const TSearchCase cases[] = {
      {"Places",
       "#Search results\n#AreaName\tCountry\n"
       "New York\tUnited States of America\tNew York\t40.714\t-74.006\t8107916\thttp://w/ny\n"
       "York\tUnited Kingdom\tYork\t53.967\t-1.083\t137505\thttp://w/york\n",
       true, 2, ""},
      {"CommentsOnly", "#Search results\n#AreaName\tCountry\n", true, 0, ""},
      {"ErrorDocument",
       "<?xml version=\"1.0\"?><data><error><msg>Unable to find any matching location</msg></error></data>", false,
       0, "Unable to find any matching location"},
      {"Empty", "", false, 0, ""},
  };
  for (const TSearchCase& c : cases) {
    FServer.Route(kSearchTarget, TTestReply::Ok(c.Body));
    TWeatherLocations locations(3);
    EXPECT_EQ(SearchLocations("k123", "  New York ", locations, FService), c.Ok) << c.Name;
    EXPECT_EQ(locations.size(), c.Count) << c.Name;
    EXPECT_EQ(WeatherLastError(), c.LastError) << c.Name;
    if (c.Count == 2) {
      EXPECT_EQ(locations[0].AreaName, "New York");
      EXPECT_EQ(locations[0].Country, "United States of America");
      EXPECT_EQ(locations[0].Latitude, "40.714");
      EXPECT_DOUBLE_EQ(locations[0]._Lat, 40.714);
      EXPECT_DOUBLE_EQ(locations[0]._Long, -74.006);
      EXPECT_EQ(locations[1].Population, "137505");
      EXPECT_EQ(locations[1].WeatherForecastURL, "http://w/york");
    }
  }
}

TEST_F(SearchLocationsTest, LatitudeNotANumberRaises) {
  for (const char* latitude : {"north", "", "40,714", "1e999"}) {
    FServer.Route(kSearchTarget, TTestReply::Ok(std::string("X\tY\tZ\t") + latitude + "\t1.0\t1\tu\n"));
    TWeatherLocations locations;
    EXPECT_THROW(SearchLocations("k123", "New York", locations, FService), EConvertError) << latitude;
  }
}

// ---- condition and wind texts ----

TEST(WeatherTextsTest, ConditionTexts) {
  TInterfaceTexts german;
  german.Apply({{"wth_116", "Teilweise bew\xC3\xB6lkt"}, {"wth_999", "Neu"}});
  struct TConditionCase {
    const TInterfaceTexts* Texts;
    const char* Code;
    const char* Desc;
    const char* Expected;
  };
  const TConditionCase cases[] = {
      {&EnglishTexts(), "113", "Sunny", "Clear/Sunny"},
      {&EnglishTexts(), "395", "x", "Moderate or heavy snow in area with thunder"},
      {&EnglishTexts(), "999", "Something new", "Something new"},
      {&german, "116", "Partly cloudy", "Teilweise bew\xC3\xB6lkt"},
      {&german, "119", "Cloudy", "Cloudy"},
      {&german, "999", "Something new", "Neu"},
  };
  for (const TConditionCase& c : cases) {
    EXPECT_EQ(WeatherConditionText(*c.Texts, c.Code, c.Desc), c.Expected);
  }
  EXPECT_EQ(WeatherConditionTexts().size(), 48u);
}

TEST(WeatherTextsTest, WindDirection) {
  TInterfaceTexts local;
  local.Apply({{"wth_E", "Ost"}, {"wth_N", "\xD0\xA1\xD0\xB5\xD0\xB2\xD0\xB5\xD1\x80"}, {"wth_S", ""}});
  EXPECT_EQ(LocalizeWindDir(EnglishTexts(), "NNE"), "NNE");
  EXPECT_EQ(LocalizeWindDir(local, "NNE"), "\xD0\xA1\xD0\xA1O");
  EXPECT_EQ(LocalizeWindDir(local, "SSW"), "SSW");
  EXPECT_EQ(LocalizeWindDir(local, ""), "");
}

}  // namespace
}  // namespace zentrix
