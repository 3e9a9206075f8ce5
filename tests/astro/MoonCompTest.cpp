#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "astro/MoonComp.h"
#include "core/InterfaceTexts.h"

namespace zentrix {
namespace {

constexpr double kMinute = 1.0 / 1440;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TDateTime Day(int year, int month, int day, double hour = 0) { return EncodeDate(year, month, day) + hour / 24; }

template <typename F>
void ExpectNoDateTime(F f) {
  try {
    f();
    ADD_FAILURE() << "no error";
  } catch (const E_OutOfAlgorithmRange& e) {
    EXPECT_STREQ(e.what(), "No TDateTime possible");
  }
}

struct TPhaseCase {
  const char* Name;
  int Phase;
  TDateTime Near;
  double ExpectedJD;
  double Tolerance;  // days
};
void PrintTo(const TPhaseCase& c, std::ostream* os) { *os << c.Name; }

class PhaseInstantTest : public ::testing::TestWithParam<TPhaseCase> {};

TEST_P(PhaseInstantTest, MatchesTheKnownInstant) {
  const TPhaseCase& c = GetParam();
  EXPECT_NEAR(DayToJD(PhaseInstant(c.Phase, c.Near)), c.ExpectedJD, c.Tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Phases, PhaseInstantTest,
    ::testing::Values(
        // Worked examples of the phase algorithm.
        TPhaseCase{"NewMoon1977", 0, Day(1977, 2, 15), 2443192.65118, 1e-5},
        // The book's later edition, whose mean lunation is 0.000000008 day longer: 1.4 s here.
        TPhaseCase{"LastQuarter2044", 6, Day(2044, 1, 1), 2467636.49186, 2e-5},
        // 2013-01-27 near 04:38 UT (dynamical time, a minute later).
        TPhaseCase{"FullMoon2013", 4, Day(2013, 1, 15), DayToJD(Day(2013, 1, 27, 4 + 38.0 / 60)), 3 * kMinute},
        TPhaseCase{"FirstQuarter2013", 2, Day(2013, 1, 18), DayToJD(Day(2013, 1, 18, 23 + 45.0 / 60)), 3 * kMinute}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PhaseInstantTest, IntermediatePhasesHitTheirAge) {
  for (int phase = 1; phase < 8; phase += 2) {
    for (TDateTime day = Day(2013, 1, 1); day < Day(2014, 1, 1); day += 11) {
      const TDateTime t = PhaseInstant(phase, day);
      EXPECT_NEAR(MoonAge(t), phase * 29.530589 / 8, 1e-6) << phase << ' ' << day;
    }
  }
}

TEST(PhaseInstantTest, InvalidPhaseGivesZero) {
  EXPECT_EQ(PhaseInstant(8, Day(2013, 1, 1)), 0);
  EXPECT_EQ(PhaseInstant(-1, Day(2013, 1, 1)), 0);
}

TEST(PhaseSearchTest, FindsTheNearestInstantOnTheRightSide) {
  for (int phase = 0; phase < 8; ++phase) {
    for (TDateTime day = Day(2012, 12, 1); day < Day(2014, 2, 1); day += 3.7) {
      SCOPED_TRACE(::testing::Message() << phase << ' ' << day);
      const TDateTime after = PhaseAtOrAfter(phase, day);
      EXPECT_GE(after, day);
      EXPECT_LT(after - day, 29.9);
      const TDateTime before = PhaseAtOrBefore(phase, day);
      EXPECT_LE(before, day);
      EXPECT_LT(day - before, 29.9);
    }
  }
  // An instant itself is at or after, and at or before, itself.
  const TDateTime full = PhaseInstant(4, Day(2013, 1, 27));
  EXPECT_EQ(PhaseAtOrAfter(4, full), full);
  EXPECT_EQ(PhaseAtOrBefore(4, full), full);
}

TEST(PhaseSearchTest, EndsWithAnErrorInsteadOfSearchingForever) {
  ExpectNoDateTime([] { PhaseAtOrAfter(8, Day(2013, 1, 1)); });
  ExpectNoDateTime([] { PhaseAtOrBefore(-1, Day(2013, 1, 1)); });
  ExpectNoDateTime([] { PhaseAtOrAfter(4, kNaN); });
  ExpectNoDateTime([] { PhaseAtOrBefore(0, std::numeric_limits<double>::infinity()); });
  ExpectNoDateTime([] { PhaseInstant(3, kNaN); });
  ExpectNoDateTime([] { PhaseAtOrAfter(1, 1e300); });
}

TEST(MoonPhaseNameTest, EnglishDefaultsAndLanguageTexts) {
  EXPECT_EQ(MoonPhaseName(0, EnglishTexts()), "New Moon");
  EXPECT_EQ(MoonPhaseName(1, EnglishTexts()), "Waxing Crescent");
  EXPECT_EQ(MoonPhaseName(7, EnglishTexts()), "Waning Crescent");
  EXPECT_EQ(MoonPhaseName(8, EnglishTexts()), "");
  TInterfaceTexts german;
  german.Apply({{"mp_4", "Vollmond"}});
  EXPECT_EQ(MoonPhaseName(4, german), "Vollmond");
  EXPECT_EQ(MoonPhaseName(6, german), "Last Quarter");
}

struct TRiseSetCase {
  const char* Name;
  double Latitude, LongitudeEast;
  TDateTime Date;
  TDateTime Rise, Set;  // universal time, from an independent ephemeris
};
void PrintTo(const TRiseSetCase& c, std::ostream* os) { *os << c.Name; }

class RiseSetTest : public ::testing::TestWithParam<TRiseSetCase> {};

TEST_P(RiseSetTest, WithinAMinuteOfTheEphemeris) {
  const TRiseSetCase& c = GetParam();
  EXPECT_NEAR(SunriseTime(-c.LongitudeEast, c.Latitude, c.Date), c.Rise, kMinute);
  EXPECT_NEAR(SunsetTime(-c.LongitudeEast, c.Latitude, c.Date), c.Set, kMinute);
}

INSTANTIATE_TEST_SUITE_P(
    Places, RiseSetTest,
    ::testing::Values(
        TRiseSetCase{"London", 51.5074, -0.1278, Day(2013, 6, 21), Day(2013, 6, 21, 3 + 43.14 / 60),
                     Day(2013, 6, 21, 20 + 21.48 / 60)},
        // East of Greenwich the UT day holds the evening's sunrise of the next local day.
        TRiseSetCase{"Sydney", -33.8688, 151.2093, Day(2013, 6, 21), Day(2013, 6, 21, 21 + 0.18 / 60),
                     Day(2013, 6, 21, 6 + 53.79 / 60)},
        TRiseSetCase{"NewYork", 40.7128, -74.006, Day(2013, 12, 21, 15), Day(2013, 12, 21, 12 + 16.64 / 60),
                     Day(2013, 12, 21, 21 + 31.92 / 60)},
        TRiseSetCase{"Quito", -0.1807, -78.4678, Day(2013, 3, 20), Day(2013, 3, 20, 11 + 17.96 / 60),
                     Day(2013, 3, 20, 23 + 24.47 / 60)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RiseSetTest, PolarDayAndNightRaise) {
  const struct {
    double Latitude;
    TDateTime Date;
  } cases[] = {{80, Day(2013, 6, 25)}, {-80, Day(2013, 6, 25)}, {78, Day(2013, 12, 21)}, {90, Day(2013, 3, 1)}};
  for (const auto& c : cases) {
    try {
      SunriseTime(0, c.Latitude, c.Date);
      ADD_FAILURE() << c.Latitude;
    } catch (const E_NoRiseSet& e) {
      EXPECT_STREQ(e.what(), "No rises or sets calculable");
    }
    EXPECT_THROW(SunsetTime(0, c.Latitude, c.Date), E_NoRiseSet);
  }
  ExpectNoDateTime([] { SunriseTime(0, kNaN, Day(2013, 6, 25)); });
  ExpectNoDateTime([] { SunsetTime(kNaN, 50, Day(2013, 6, 25)); });
}

TEST(SeasonTest, SpringEquinox2013) {
  EXPECT_NEAR(SeasonStart(2013, 1), Day(2013, 3, 20, 11 + 2.0 / 60), 2 * kMinute);
}

TEST(SeasonTest, EveryTermReachesItsLongitudeAcrossTheYearRange) {
  for (const int year : {2, 1000, 1582, 1583, 2013, 5000, 9999}) {
    for (int n = 0; n < 24; ++n) {
      if (year == 2 && n < 19) continue;
      SCOPED_TRACE(::testing::Message() << year << ' ' << n);
      const TDateTime t = SolarLongitudeTime(year, n);
      const double longitude = static_cast<double>(SunPosition(t).Longitude);
      EXPECT_NEAR(std::remainder(longitude - 15.0 * n, 360.0), 0, 1e-8);
    }
  }
  const char* kMessage = "Out of range of the algorithm";
  for (const int n : {-1, 24}) {
    try {
      SolarLongitudeTime(2013, n);
      ADD_FAILURE() << n;
    } catch (const E_OutOfAlgorithmRange& e) {
      EXPECT_STREQ(e.what(), kMessage);
    }
  }
  EXPECT_THROW(SeasonStart(2013, 4), E_OutOfAlgorithmRange);
  EXPECT_THROW(SeasonStart(10000, 1), EConvertError);
  EXPECT_THROW(SolarLongitudeTime(1, 20), EConvertError);  // counted from the year before year 1
}

TEST(SeasonTest, SeasonsFollowTheirTerms) {
  const TDateTime winter = SeasonStart(2013, 0);
  EXPECT_EQ(FormatIsoDate(winter), "2013-12-21");
  EXPECT_EQ(FormatIsoDate(SeasonStart(2013, 2)), "2013-06-21");
  EXPECT_EQ(FormatIsoDate(SeasonStart(2013, 3)), "2013-09-22");
}

TEST(MajorTermTest, BracketsEveryDay) {
  for (TDateTime day = Day(2012, 12, 1); day < Day(2014, 2, 1); day += 5.3) {
    SCOPED_TRACE(day);
    const TDateTime after = MajorTermAfter(day);
    const TDateTime before = MajorTermBefore(day);
    EXPECT_GE(after, day);
    EXPECT_LT(before, day);
    EXPECT_LT(after - before, 32);
    for (const TDateTime t : {after, before}) {
      const double longitude = static_cast<double>(SunPosition(t).Longitude);
      EXPECT_NEAR(std::remainder(longitude, 30.0), 0, 1e-8);
    }
  }
  // The winter solstice is the major term of December.
  EXPECT_EQ(MajorTermAfter(Day(2013, 12, 15)), SeasonStart(2013, 0));
  EXPECT_THROW(MajorTermAfter(kNaN), EConvertError);
}

}  // namespace
}  // namespace zentrix
