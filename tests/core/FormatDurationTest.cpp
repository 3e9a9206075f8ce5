#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/FormatDuration.h"

namespace zentrix {
namespace {

struct TDurationCase {
  double Seconds;
  const char* Text;
};

class FormatDurationTest : public ::testing::TestWithParam<TDurationCase> {};

TEST_P(FormatDurationTest, Formats) { EXPECT_EQ(FormatDuration(GetParam().Seconds), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    Durations, FormatDurationTest,
    ::testing::Values(TDurationCase{0, "00.00.00 00:00:00"},
                      TDurationCase{90061, "00.00.01 01:01:01"},
                      TDurationCase{8 * 86400.0, "00.00.08 00:00:00"},          // a week folds into days
                      TDurationCase{364 * 86400.0, "00.12.04 00:00:00"},        // twelve 30-day months
                      TDurationCase{366 * 86400.0, "01.00.00 12:00:00"},        // a year is 365.5 days
                      TDurationCase{59.999, "00.00.00 00:00:59"},               // truncated, not rounded
                      TDurationCase{3157920000.0 + 61, "00.00.00 00:01:01"},    // centuries dropped
                      TDurationCase{99 * 31579200.0, "99.00.00 00:00:00"},
                      TDurationCase{-5, "00.00.00 00:00:00"},
                      TDurationCase{std::numeric_limits<double>::infinity(), "00.00.00 00:00:00"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace zentrix
