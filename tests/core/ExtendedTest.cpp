#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "core/Extended.h"

namespace zentrix {
namespace {

// Bytes worked out by hand from the 80-bit layout: significand with explicit integer bit (low
// byte first), then sign and exponent biased by 16383.
struct TKnownValue {
  const char* Name;
  double Value;
  const char* Hex;
};

class ExtendedKnownValues : public ::testing::TestWithParam<TKnownValue> {};

TEST_P(ExtendedKnownValues, EncodesToTheExpectedBytesAndBack) {
  const TKnownValue& c = GetParam();
  EXPECT_EQ(ExtendedToHex(DoubleToExtended(c.Value)), c.Hex);
  TExtendedBytes bytes;
  ASSERT_TRUE(TryHexToExtended(c.Hex, bytes));
  const double back = ExtendedToDouble(bytes);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(c.Value));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtendedKnownValues,
    ::testing::Values(TKnownValue{"Zero", 0.0, "00000000000000000000"},
                      TKnownValue{"NegativeZero", -0.0, "00000000000000000080"},
                      TKnownValue{"One", 1.0, "0000000000000080FF3F"},
                      TKnownValue{"MinusOne", -1.0, "0000000000000080FFBF"},
                      TKnownValue{"DayNumber", 41000.5, "00000000008028A00E40"},
                      // 2012-04-01 06:00, a date-time with a time of day.
                      TKnownValue{"DateWithTime", 41000.25, "00000000004028A00E40"},
                      TKnownValue{"NegativeDateTime", -2.75, "00000000000000B000C0"},
                      TKnownValue{"Half", 0.5, "0000000000000080FE3F"},
                      TKnownValue{"PointOne", 0.1, "00D0CCCCCCCCCCCCFB3F"},
                      TKnownValue{"SmallestSubnormal", std::numeric_limits<double>::denorm_min(),
                                  "0000000000000080CD3B"},
                      TKnownValue{"Infinity", std::numeric_limits<double>::infinity(), "0000000000000080FF7F"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Values that only an 80-bit number holds come back as the nearest double.
struct TRounding {
  const char* Name;
  const char* Hex;
  double Expected;
};

class ExtendedRounding : public ::testing::TestWithParam<TRounding> {};

TEST_P(ExtendedRounding, RoundsToNearestDouble) {
  TExtendedBytes bytes;
  ASSERT_TRUE(TryHexToExtended(GetParam().Hex, bytes));
  EXPECT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(bytes)), std::bit_cast<std::uint64_t>(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtendedRounding,
    ::testing::Values(
        // 0.1 as an extended number has 64 significant bits.
        TRounding{"PointOneExtended", "CDCCCCCCCCCCCCCCFB3F", 0.1},
        // 1 + 2^-53 is a tie between 1 and 1 + 2^-52: goes to the even one.
        TRounding{"TieToEven", "0004000000000080FF3F", 1.0},
        // 1 + 2^-53 + 2^-63 lies above the tie.
        TRounding{"AboveTie", "0104000000000080FF3F", 1.0 + std::ldexp(1.0, -52)},
        // Significand of all ones rounds up into the next power of two.
        TRounding{"CarryIntoExponent", "FFFFFFFFFFFFFFFFFF3F", 2.0},
        TRounding{"Overflow", "0000000000000080FF7B", std::numeric_limits<double>::infinity()},
        TRounding{"Underflow", "00000000000000800100", 0.0},
        // Unnormalised significand (no integer bit) with the exponent of 1.
        TRounding{"Unnormal", "0000000000000040FF3F", 0.5}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ExtendedTest, NaNSurvivesAndBadHexIsRefused) {
  EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::numeric_limits<double>::quiet_NaN()))));
  TExtendedBytes bytes;
  for (const char* bad : {"", "0000000000000080FF3", "0000000000000080FF3F0", "0000000000000080FF3G",
                          " 000000000000080FF3F"})
    EXPECT_FALSE(TryHexToExtended(bad, bytes)) << bad;
  EXPECT_TRUE(TryHexToExtended("0000000000000080ff3f", bytes));
  EXPECT_EQ(ExtendedToDouble(bytes), 1.0);
}

TEST(ExtendedTest, EveryDoubleRoundTrips) {
  // A spread of bit patterns over the whole range, subnormals included.
  for (std::uint64_t bits = 1; bits < 0x7FF0000000000000ULL; bits += 0x0000F123456789ABULL) {
    for (const std::uint64_t sign : {0ULL, 1ULL << 63}) {
      const double value = std::bit_cast<double>(bits | sign);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(DoubleToExtended(value))), bits | sign);
    }
  }
}

}  // namespace
}  // namespace zentrix
