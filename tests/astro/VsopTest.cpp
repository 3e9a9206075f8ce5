#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "astro/Vsop.h"

namespace zentrix {
namespace {

// The copy of the series against its published size and first terms: a dropped, doubled or
// mistyped row shows up here or in the worked example below.
struct TSeriesCase {
  const char* Name;
  char Series;  // 'L', 'B', 'R'
  int Power;
  int Count;
};
void PrintTo(const TSeriesCase& c, std::ostream* os) { *os << c.Name; }

TVSOPTerm TermOf(const TVSOPEarth& earth, char series, int index, int power) {
  switch (series) {
    case 'L':
      return earth.LongitudeTerm(index, power);
    case 'B':
      return earth.LatitudeTerm(index, power);
    default:
      return earth.RadiusTerm(index, power);
  }
}

class VsopSeriesTest : public ::testing::TestWithParam<TSeriesCase> {};

TEST_P(VsopSeriesTest, HasItsPublishedTermCount) {
  const TSeriesCase& c = GetParam();
  const TVSOPEarth earth;
  if (c.Count > 0) {
    EXPECT_NE(TermOf(earth, c.Series, c.Count - 1, c.Power).A, 0);
  }
  const TVSOPTerm past = TermOf(earth, c.Series, c.Count, c.Power);
  EXPECT_EQ(past.A, 0);
  EXPECT_EQ(past.B, 0);
  EXPECT_EQ(past.C, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Earth, VsopSeriesTest,
    ::testing::Values(TSeriesCase{"L0", 'L', 0, 559}, TSeriesCase{"L1", 'L', 1, 341}, TSeriesCase{"L2", 'L', 2, 142},
                      TSeriesCase{"L3", 'L', 3, 22}, TSeriesCase{"L4", 'L', 4, 11}, TSeriesCase{"L5", 'L', 5, 5},
                      TSeriesCase{"B0", 'B', 0, 184}, TSeriesCase{"B1", 'B', 1, 99}, TSeriesCase{"B2", 'B', 2, 49},
                      TSeriesCase{"B3", 'B', 3, 11}, TSeriesCase{"B4", 'B', 4, 5}, TSeriesCase{"B5", 'B', 5, 0},
                      TSeriesCase{"R0", 'R', 0, 526}, TSeriesCase{"R1", 'R', 1, 292}, TSeriesCase{"R2", 'R', 2, 139},
                      TSeriesCase{"R3", 'R', 3, 27}, TSeriesCase{"R4", 'R', 4, 10}, TSeriesCase{"R5", 'R', 5, 3},
                      TSeriesCase{"NoPower6", 'L', 6, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(VsopEarthTest, FirstLongitudeTermsAreThePublishedOnes) {
  const TVSOPEarth earth;
  const TVSOPTerm first = earth.LongitudeTerm(0, 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(first.A), 175347045.673);
  EXPECT_EQ(first.B, 0);
  EXPECT_EQ(first.C, 0);
  const TVSOPTerm second = earth.LongitudeTerm(1, 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(second.A), 3341656.456);
  EXPECT_DOUBLE_EQ(static_cast<double>(second.B), 4.66925680417);
  EXPECT_DOUBLE_EQ(static_cast<double>(second.C), 6283.0758499914);
  EXPECT_EQ(earth.LongitudeTerm(-1, 0).A, 0);
}

TEST(VsopEarthTest, SumsTheCompleteSeriesOfTheWorkedExample) {
  // 1992 October 13.0 TD: the complete series (the book's abridged one differs by 0.3").
  TVSOPEarth earth;
  earth.SetDate(33890.0);
  EXPECT_NEAR(static_cast<double>(earth.Longitude()), -43.6348492682, 1e-10);
  EXPECT_NEAR(static_cast<double>(earth.Latitude()), -0.0000036067, 1e-10);
  EXPECT_NEAR(static_cast<double>(earth.Radius()), 0.9976085202, 1e-10);
}

// The same series read term by term through the virtual operations, as a subclass without
// plain tables is summed.
class TVSOPEarthByTerm : public TVSOPEarth {
protected:
  bool Table(TSeries, int, TSeriesTable&) const override { return false; }
};

TEST(VsopEarthTest, TermByTermAndTableSumsAgree) {
  for (const TDateTime day : {-693593.0, 33890.0, 41353.5, 2958465.0}) {
    TVSOPEarth fast;
    TVSOPEarthByTerm slow;
    fast.SetDate(day);
    slow.SetDate(day);
    EXPECT_EQ(fast.Longitude(), slow.Longitude()) << day;
    EXPECT_EQ(fast.Latitude(), slow.Latitude()) << day;
    EXPECT_EQ(fast.Radius(), slow.Radius()) << day;
  }
  // A date that is not a number still ends the sum.
  TVSOPEarthByTerm slow;
  slow.SetDate(std::numeric_limits<double>::quiet_NaN());
  EXPECT_TRUE(std::isnan(static_cast<double>(slow.Longitude())));
}

TEST(VsopEarthTest, FK5CorrectionIsAFractionOfAnArcsecond) {
  TVSOPEarth earth;
  earth.SetDate(33890.0);
  long double longitude = 0.5L;
  long double latitude = 0.0L;
  earth.DynamicToFK5(longitude, latitude);
  constexpr double kArcsecond = 3.14159265358979323846 / 180 / 3600;
  EXPECT_NEAR(static_cast<double>(longitude - 0.5L) / kArcsecond, -0.09033, 1e-9);
  EXPECT_GT(std::abs(static_cast<double>(latitude)) / kArcsecond, 0.0);
  EXPECT_LT(std::abs(static_cast<double>(latitude)) / kArcsecond, 0.056);
}

}  // namespace
}  // namespace zentrix
