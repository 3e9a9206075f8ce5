#include <gtest/gtest.h>

#include "support/RunProcess.h"

namespace zentrix::test {
namespace {

struct TCliCase {
  const char* Name;
  std::vector<std::string> Args;
  std::string Out;
};
void PrintTo(const TCliCase& c, std::ostream* os) { *os << c.Name; }

class AstroCliTest : public ::testing::TestWithParam<TCliCase> {};

TEST_P(AstroCliTest, PrintsOneItemALine) {
  const TProcessResult r = RunCli(GetParam().Args);
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AstroCliTest,
    ::testing::Values(
        TCliCase{"Seasons",
                 {"astro", "seasons", "2013"},
                 "winter 2013-12-21T17:12:07Z\nspring 2013-03-20T11:03:02Z\nsummer 2013-06-21T05:05:04Z\n"
                 "autumn 2013-09-22T20:45:15Z\n"},
        TCliCase{"Cny", {"cny", "2014"}, "2014-01-31\n"},
        TCliCase{"Easter", {"easter", "2013"}, "2013-03-31\n"},
        TCliCase{"Passover", {"passover", "2014"}, "2014-04-15\n"},
        TCliCase{"Hebrew", {"hebrew", "2013-09-05"}, "5774 Tishri 1\nYom Chamishi, 1. Tishri 5774\n"},
        TCliCase{"HebrewDayNumber", {"hebrew", "41522"}, "5774 Tishri 1\nYom Chamishi, 1. Tishri 5774\n"},
        TCliCase{"PhaseByName", {"astro", "phase", "full", "2013-01-15"}, "2013-01-27T04:39:37Z\n"},
        TCliCase{"PhaseByNumber", {"astro", "phase", "4", "2013-01-15T00:00:00Z"}, "2013-01-27T04:39:37Z\n"},
        // Southern latitude and eastern longitude as plain positional numbers.
        TCliCase{"SunriseSydney", {"astro", "sunrise", "-33.8688", "151.2093", "2013-06-21"}, "2013-06-21T21:00:08Z\n"},
        TCliCase{"SunsetNewYork", {"astro", "sunset", "40.7128", "-74.006", "2013-12-21"}, "2013-12-21T21:31:55Z\n"},
        TCliCase{"TransitionLastSunday", {"tz-transition", "3", "5", "0", "02:00", "2014"}, "2014-03-30T02:00:00\n"},
        TCliCase{"NoTransition", {"tz-transition", "0", "1", "0", "00:00", "2014"}, "0\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST(AstroCliShapeTest, LineLayouts) {
  const struct {
    std::vector<std::string> Args;
    std::vector<std::string> Keys;
  } cases[] = {{{"astro", "sun", "1992-10-13"}, {"longitude", "latitude", "distance", "ra", "dec"}},
               {{"astro", "moon", "33706"}, {"longitude", "latitude", "distance", "ra", "dec"}},
               {{"astro", "illum", "2013-01-27T04:38Z"}, {"fraction", "angle", "age"}}};
  for (const auto& c : cases) {
    const TProcessResult r = RunCli(c.Args);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    const std::vector<std::string> lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), c.Keys.size()) << r.Out;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(c.Keys[i] + ' ', 0), 0u) << lines[i];
  }
  TProcessResult r = RunCli({"astro", "moon", "1992-04-12"});
  EXPECT_EQ(Lines(r.Out)[1], "latitude -3.229127");

  r = RunCli({"astro", "terms", "2013"});
  const std::vector<std::string> terms = Lines(r.Out);
  ASSERT_EQ(terms.size(), 24u);
  EXPECT_EQ(terms[0], "0 2013-03-20T11:03:02Z");
  EXPECT_EQ(terms[18], "18 2013-12-21T17:12:07Z");

  // 2013 has 12 new moons, 12 first quarters, 12 full moons and 13 last quarters.
  r = RunCli({"astro", "phases", "2013"});
  const std::vector<std::string> phases = Lines(r.Out);
  ASSERT_EQ(phases.size(), 49u);
  EXPECT_EQ(phases.front(), "last-quarter 2013-01-05T03:58:59Z");
  EXPECT_EQ(phases.back(), "last-quarter 2013-12-25T13:49:00Z");
  EXPECT_TRUE(std::is_sorted(phases.begin(), phases.end(),
                             [](const std::string& a, const std::string& b) {
                               return a.substr(a.find(' ')) < b.substr(b.find(' '));
                             }));

  r = RunCli({"astro", "seasons", "2013", "--json"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Out.find("\"name\": \"spring\", \"instant\": \"2013-03-20T11:03:02Z\""), std::string::npos) << r.Out;
}

TEST(AstroCliErrorTest, EngineErrorsAndUsage) {
  const struct {
    std::vector<std::string> Args;
    int ExitCode;
    std::string Err;  // the whole message for engine errors, empty for usage errors
  } cases[] = {
      {{"astro", "sunrise", "80", "0", "2013-06-25"}, 1, "No rises or sets calculable\n"},
      {{"passover", "358"}, 1, "Out of range of the algorithm\n"},
      {{"easter", "0"}, 1, "Invalid year\n"},
      {{"astro", "seasons", "10000"}, 1, "Invalid year\n"},
      {{"astro"}, 2, ""},
      {{"astro", "stars", "2013"}, 2, ""},
      {{"astro", "phase", "9", "2013-01-01"}, 2, ""},
      {{"astro", "phase", "blue", "2013-01-01"}, 2, ""},
      {{"astro", "sun", "yesterday"}, 2, ""},
      {{"astro", "sunrise", "91", "0", "2013-06-25"}, 2, ""},
      {{"astro", "sunrise", "50", "0"}, 2, ""},
      {{"cny", "2014x"}, 2, ""},
      {{"cny", "99999999999"}, 2, ""},
      {{"tz-transition", "3", "5", "0", "2am", "2014"}, 2, ""},
      {{"tz-transition", "13", "5", "0", "02:00", "2014"}, 2, ""},
  };
  for (const auto& c : cases) {
    const TProcessResult r = RunCli(c.Args);
    SCOPED_TRACE(::testing::PrintToString(c.Args));
    EXPECT_EQ(r.ExitCode, c.ExitCode);
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    if (!c.Err.empty()) {
      EXPECT_EQ(r.Err, c.Err);
    }
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
}

}  // namespace
}  // namespace zentrix::test
