#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "engines/NumConv.h"

namespace zentrix {
namespace {

struct TConvCase {
  std::int64_t From;
  std::int64_t To;
  std::string Value;
  std::string Result;
};

class NumConvResultTest : public ::testing::TestWithParam<TConvCase> {};

TEST_P(NumConvResultTest, Converts) {
  const TConvCase& c = GetParam();
  TNumConv conv;
  conv.SetConvertFrom(c.From);
  conv.SetConvertTo(c.To);
  conv.SetValue(c.Value);
  EXPECT_TRUE(conv.Conversion()) << conv.ErrorMessage();
  EXPECT_EQ(conv.Result(), c.Result);
  EXPECT_EQ(conv.ErrorMessage(), "Sucess!");
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, NumConvResultTest,
    ::testing::Values(TConvCase{10, 2, "255", "11111111"}, TConvCase{16, 10, "ff", "255"},
                      TConvCase{16, 10, "FF", "255"}, TConvCase{10, 2, "0", "0"}, TConvCase{2, 10, "0000", "0"},
                      TConvCase{10, 16, "3054", "BEE"}, TConvCase{36, 10, "zz", "1295"},
                      TConvCase{10, 36, "1295", "ZZ"}, TConvCase{8, 8, "0777", "777"},
                      TConvCase{10, 10, "9223372036854775807", "9223372036854775807"},
                      TConvCase{16, 10, "7FFFFFFFFFFFFFFF", "9223372036854775807"},
                      // A signed 64-bit value can need 63 binary digits.
                      TConvCase{10, 2, "9223372036854775807", std::string(63, '1')},
                      TConvCase{16, 2, "4000000000000000", "1" + std::string(62, '0')},
                      // Leading zeros beyond the 64-bit range of the base's powers add nothing.
                      TConvCase{36, 10, "0000000000000000000000000001", "1"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct TConvErrorCase {
  std::int64_t From;
  std::int64_t To;
  std::string Value;
  std::string Message;
};

class NumConvErrorTest : public ::testing::TestWithParam<TConvErrorCase> {};

TEST_P(NumConvErrorTest, RecordsCodes) {
  const TConvErrorCase& c = GetParam();
  TNumConv conv;
  conv.SetConvertFrom(c.From);
  conv.SetConvertTo(c.To);
  conv.SetValue(c.Value);
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.Result(), "");
  EXPECT_EQ(conv.ErrorMessage(), c.Message);
  EXPECT_EQ(conv.ErrorMessage(), "Sucess!");  // reading the message cleared the codes
}

INSTANTIATE_TEST_SUITE_P(
    Errors, NumConvErrorTest,
    ::testing::Values(
        TConvErrorCase{10, 2, "-5", "-5 Not a Real Value of 10. Numerical System!\r"},
        TConvErrorCase{2, 10, "102", "102 Not a Real Value of 2. Numerical System!\r"},
        TConvErrorCase{16, 10, "fg", "FG Not a Real Value of 16. Numerical System!\r"},
        TConvErrorCase{10, 2, " 5", " 5 Not a Real Value of 10. Numerical System!\r"},
        TConvErrorCase{10, 2, "1.5", "1.5 Not a Real Value of 10. Numerical System!\r"},
        TConvErrorCase{10, 2, "9223372036854775808", "Integer Overflow! Input Value Too Large!\r"},
        TConvErrorCase{10, 2, "99999999999999999999", "Integer Overflow! Input Value Too Large!\r"},
        // The input base's error is cleared by the output base, the first valid setting.
        TConvErrorCase{0, 2, "5", "Input Numerical System Not Defined!\r"},
        TConvErrorCase{36, 10, "ZZZZZZZZZZZZZ", "Integer Overflow! Input Value Too Large!\r"},
        TConvErrorCase{10, 2, "", "Input Value for Conversion Not Defined!\r"},
        TConvErrorCase{10, 40, "5", "Output Numerical System Number Error!\rOutput Numerical System Not Defined!!\r"},
        TConvErrorCase{10, 1, "5", "Output Numerical System Number Error!\rOutput Numerical System Not Defined!!\r"},
        TConvErrorCase{10, 2, "12345678901234567890123456789",
                       "Input Value Error!\rInput Value for Conversion Not Defined!\r"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(NumConvTest, AllMissingSettingsAreReported) {
  TNumConv conv;
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.ErrorMessage(),
            "Input Numerical System Not Defined!\rOutput Numerical System Not Defined!!\r"
            "Input Value for Conversion Not Defined!\r");
}

TEST(NumConvTest, FirstSettingAfterAFailedBaseStartsAFreshErrorList) {
  TNumConv conv;
  conv.SetConvertFrom(40);
  EXPECT_EQ(conv.ConvertFrom(), 0);  // no base stored
  EXPECT_EQ(conv.ErrorCodes(), "1");
  conv.SetValue("5");  // nothing valid was set, so the codes start over
  EXPECT_EQ(conv.ErrorCodes(), "");
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.ErrorCodes(), "45");
}

TEST(NumConvTest, ErrorsOfOneRoundSurviveUntilTheNextRoundStarts) {
  TNumConv conv;
  conv.SetConvertFrom(10);
  conv.SetConvertFrom(99);  // a base was set in this round, so code 1 stays
  conv.SetConvertTo(2);
  conv.SetValue("7");
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.ErrorCodes(), "1");
  // The next round: every setting must be given again.
  conv.SetValue("7");
  EXPECT_EQ(conv.ErrorCodes(), "");
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.ErrorCodes(), "45");
}

TEST(NumConvTest, ResultIsCachedUntilASettingChanges) {
  TNumConv conv;
  conv.SetConvertFrom(10);
  conv.SetConvertTo(16);
  conv.SetValue("255");
  EXPECT_EQ(conv.Result(), "FF");
  EXPECT_EQ(conv.Result(), "FF");
  EXPECT_TRUE(conv.Conversion());
  conv.SetConvertFrom(10);
  conv.SetConvertTo(2);
  conv.SetValue("5");
  EXPECT_EQ(conv.Result(), "101");
}

TEST(NumConvTest, MessagesComeFromTheInterfaceTexts) {
  TInterfaceTexts texts;
  texts.Apply({{"lc_NumConvNotADigit1", " ist keine Ziffer der Basis "}, {"lc_NumConvNotADigit2", "."}});
  TNumConv conv(texts);
  conv.SetConvertFrom(8);
  conv.SetConvertTo(2);
  conv.SetValue("9");
  EXPECT_FALSE(conv.Conversion());
  EXPECT_EQ(conv.ErrorMessage(), "9 ist keine Ziffer der Basis 8.\r");
}

// Every base pair against the standard library's own digits.
TEST(NumConvTest, AgreesWithToCharsOnEveryBase) {
  std::mt19937_64 random(7);
  for (int from = 2; from <= 36; ++from)
    for (int to = 2; to <= 36; ++to)
      for (int i = 0; i < 6; ++i) {
        const std::int64_t value = i == 0 ? 0 : static_cast<std::int64_t>(random() >> (random() % 63 + 1));
        char in[80], out[80];
        const auto inEnd = std::to_chars(in, in + sizeof in, value, from).ptr;
        const auto outEnd = std::to_chars(out, out + sizeof out, value, to).ptr;
        std::string expected(out, outEnd);
        for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string input(in, inEnd);
        TNumConv conv;
        conv.SetConvertFrom(from);
        conv.SetConvertTo(to);
        conv.SetValue(input);
        if (input.size() > TNumConv::kMaxValueLength) {
          EXPECT_FALSE(conv.Conversion());
          continue;
        }
        ASSERT_TRUE(conv.Conversion()) << from << "->" << to << " " << input << ": " << conv.ErrorMessage();
        ASSERT_EQ(conv.Result(), expected) << from << "->" << to << " " << input;
      }
}

}  // namespace
}  // namespace zentrix
