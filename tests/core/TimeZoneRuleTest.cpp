#include <gtest/gtest.h>

#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/TimeZoneRule.h"

namespace zentrix {
namespace {

struct TRuleCase {
  const char* Name;
  TTimeZoneRule Rule;
  int Year;
  double Expected;
};

class TransitionDateTest : public ::testing::TestWithParam<TRuleCase> {};

TEST_P(TransitionDateTest, FindsTheDay) {
  EXPECT_DOUBLE_EQ(TransitionDate(GetParam().Rule, GetParam().Year), GetParam().Expected);
}

const TTimeZoneRule kLastSundayOfMarch{0, 3, 5, 0, 2, 0, 0, 0};
const TTimeZoneRule kLastSundayOfOctober{0, 10, 5, 0, 3, 0, 0, 0};
const TTimeZoneRule kSecondSundayOfMarch{0, 3, 2, 0, 2, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Rules, TransitionDateTest,
    ::testing::Values(
        TRuleCase{"FifthSundayExists", kLastSundayOfMarch, 2013, EncodeDate(2013, 3, 31) + 2.0 / 24},
        TRuleCase{"FallsBackToFourth", kLastSundayOfMarch, 2014, EncodeDate(2014, 3, 30) + 2.0 / 24},
        TRuleCase{"LastSundayOfOctober", kLastSundayOfOctober, 2013, EncodeDate(2013, 10, 27) + 3.0 / 24},
        TRuleCase{"SecondSunday", kSecondSundayOfMarch, 2013, EncodeDate(2013, 3, 10) + 2.0 / 24},
        TRuleCase{"NoTransition", TTimeZoneRule{}, 2013, 0.0},
        TRuleCase{"AbsoluteDate", TTimeZoneRule{2010, 4, 4, 0, 1, 30, 0, 0}, 2013,
                  EncodeDate(2010, 4, 4) + 1.5 / 24}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TransitionDateErrors, RaisesForRulesThatNameNoDay) {
  EXPECT_THROW(TransitionDate(TTimeZoneRule{0, 3, 6, 0, 2, 0, 0, 0}, 2013), EConvertError);
  EXPECT_THROW(TransitionDate(TTimeZoneRule{0, 13, 1, 0, 2, 0, 0, 0}, 2013), EConvertError);
  EXPECT_THROW(TransitionDate(TTimeZoneRule{0, 3, 1, 0, 25, 0, 0, 0}, 2013), EConvertError);
}

}  // namespace
}  // namespace zentrix
