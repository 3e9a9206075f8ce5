#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <ctime>

#include "core/DateTime.h"
#include "core/Exceptions.h"

namespace zentrix {
namespace {

struct TDateCase {
  int Year, Month, Day;
  double Number;
  int SundayFirstWeekday;
};

class DateNumberTest : public ::testing::TestWithParam<TDateCase> {};

TEST_P(DateNumberTest, EncodesDecodesAndNamesTheWeekday) {
  const TDateCase& c = GetParam();
  EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Number);
  const TDateParts p = DecodeDateTime(c.Number);
  EXPECT_EQ(p.Year, c.Year);
  EXPECT_EQ(p.Month, c.Month);
  EXPECT_EQ(p.Day, c.Day);
  EXPECT_EQ(DayOfWeek(c.Number), c.SundayFirstWeekday);
}

INSTANTIATE_TEST_SUITE_P(KnownDays, DateNumberTest,
                         ::testing::Values(TDateCase{1899, 12, 30, 0, 7},      // Saturday
                                           TDateCase{1900, 1, 1, 2, 2},        // Monday
                                           TDateCase{1900, 3, 1, 61, 5},       // 1900 is no leap year
                                           TDateCase{2000, 1, 1, 36526, 7},    // Julian Day 2451544.5
                                           TDateCase{2000, 2, 29, 36585, 3},   // 2000 is one
                                           TDateCase{2013, 3, 20, 41353, 4},   // Wednesday
                                           TDateCase{1899, 12, 29, -1, 6},     // before the epoch
                                           TDateCase{1, 1, 1, -693593, 2},     // first day
                                           TDateCase{9999, 12, 31, 2958465, 6}),
                         [](const auto& info) {
                           const TDateCase& c = info.param;
                           return std::to_string(c.Year) + "_" + std::to_string(c.Month) + "_" +
                                  std::to_string(c.Day);
                         });

TEST(DateTimeTest, RejectsDatesThatDoNotExist) {
  TDateTime out = 0;
  EXPECT_FALSE(TryEncodeDate(2013, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(2013, 13, 1, out));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, out));
  EXPECT_THROW(EncodeDate(2013, 4, 31), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(DecodeDateTime(1e300), EConvertError);
  EXPECT_THROW(DecodeDateTime(std::nan("")), EConvertError);
}

TEST(DateTimeTest, TimeOfDayUsesFloorSemanticsAndRoundsToMilliseconds) {
  // Negative numbers still carry the time of day forward from midnight.
  TDateParts p = DecodeDateTime(-0.25);
  EXPECT_EQ(p.Day, 29);
  EXPECT_EQ(p.Hour, 18);
  // 23:59:59.9996 rounds up into the next day instead of showing 24:00.
  p = DecodeDateTime(EncodeDate(2013, 12, 31) + (86399999.6 / kMillisecondsPerDay));
  EXPECT_EQ(p.Year, 2014);
  EXPECT_EQ(p.Hour, 0);
  EXPECT_EQ(DayOfYear(EncodeDate(2012, 12, 31) + 0.99), 366);
  EXPECT_EQ(IsoDayOfWeek(EncodeDate(2013, 3, 24)), 7);
}

TEST(DateTimeTest, FormatsAndParsesIsoText) {
  const TDateTime t = EncodeDate(2013, 3, 20) + EncodeTime(11, 3, 2, 400);
  EXPECT_EQ(FormatIsoUtc(t), "2013-03-20T11:03:02Z");
  EXPECT_EQ(FormatIsoUtc(EncodeDate(2013, 3, 20) + EncodeTime(23, 59, 59, 600)), "2013-03-21T00:00:00Z");
  EXPECT_EQ(FormatIsoDate(t), "2013-03-20");

  struct TParseCase {
    const char* Text;
    bool Ok;
    double Expected;
  };
  const TParseCase cases[] = {
      {"2013-03-20", true, 41353},
      {"2013-03-20T12:00", true, 41353.5},
      {"2013-03-20T06:00:00Z", true, 41353.25},
      {"2013-03-20 18:00:00.0", true, 41353.75},
      {"41353.5", true, 41353.5},
      {"-2", true, -2},
      {"2013-02-30", false, 0},
      {"2013-03-20T24:00", false, 0},
      {"2013-03-20T12", false, 0},
      {"2013-03-20X", false, 0},
      {"", false, 0},
      {"nan", false, 0},
      {"1e308", false, 0},
      {"12abc", false, 0},
  };
  for (const TParseCase& c : cases) {
    TDateTime value = -1;
    EXPECT_EQ(TryParseDateTime(c.Text, value), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_DOUBLE_EQ(value, c.Expected) << c.Text;
    }
  }
}

TEST(DateTimeTest, LocalConversionUsesTheRulesOfTheConvertedInstant) {
  const char* old = std::getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", "Europe/Prague", 1);
  tzset();
  // Winter is UTC+1 and summer UTC+2, whatever the season of the moment of the call.
  EXPECT_NEAR(UtcToLocal(EncodeDate(2013, 1, 15) + 0.5), EncodeDate(2013, 1, 15) + 0.5 + 1.0 / 24, 1e-9);
  EXPECT_NEAR(UtcToLocal(EncodeDate(2013, 7, 15) + 0.5), EncodeDate(2013, 7, 15) + 0.5 + 2.0 / 24, 1e-9);
  EXPECT_NEAR(LocalToUtc(EncodeDate(2013, 7, 15) + 0.5), EncodeDate(2013, 7, 15) + 0.5 - 2.0 / 24, 1e-9);
  if (old) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace
}  // namespace zentrix
