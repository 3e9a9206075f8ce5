#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engines/CalcSession.h"

namespace zentrix {

// Readable failures for lists of lines.
inline void PrintTo(const TCalcLine& line, std::ostream* os) { *os << line.Kind << ":" << line.Text; }

namespace {

// ---------------------------------------------------------------------------------------------
// Number texts

struct TFormatCase {
  double Value;
  const char* Text;
};

class FormatCalcGeneralTest : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(FormatCalcGeneralTest, Formats) { EXPECT_EQ(FormatCalcGeneral(GetParam().Value), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    Values, FormatCalcGeneralTest,
    ::testing::Values(TFormatCase{0, "0"}, TFormatCase{-0.0, "0"}, TFormatCase{2.5, "2.5"}, TFormatCase{255, "255"},
                      TFormatCase{-1, "-1"}, TFormatCase{1e30, "1E30"}, TFormatCase{-1.5e20, "-1.5E20"},
                      TFormatCase{1.0 / 3, "0.333333333333333"}, TFormatCase{2.0 / 3, "0.666666666666667"},
                      TFormatCase{3.141592653589793, "3.14159265358979"}, TFormatCase{0.0001, "0.0001"},
                      TFormatCase{0.00001, "1E-5"}, TFormatCase{1.25e-7, "1.25E-7"},
                      TFormatCase{999999999999999, "999999999999999"}, TFormatCase{1e15, "1E15"},
                      TFormatCase{123456789012345678.0, "1.23456789012346E17"}, TFormatCase{100, "100"},
                      TFormatCase{0.1 + 0.2, "0.3"}, TFormatCase{1e-300, "1E-300"},
                      TFormatCase{1.7976931348623157e308, "1.79769313486232E308"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(CalcNumberTextTest, SeparatorFixedAndHex) {
  EXPECT_EQ(FormatCalcGeneral(2.5, ','), "2,5");
  EXPECT_EQ(FormatCalcGeneral(1.5e-7, ','), "1,5E-7");
  EXPECT_EQ(FormatCalcFixed(5), "5.00");
  EXPECT_EQ(FormatCalcFixed(-2.345, ','), "-2,35");
  EXPECT_EQ(FormatCalcFixed(-0.0), "0.00");
  EXPECT_EQ(FormatCalcFixed(1e20), "100000000000000000000.00");
  EXPECT_EQ(FormatCalcHex(255), "FF");
  EXPECT_EQ(FormatCalcHex(-1), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(FormatCalcHex(INT64_MIN), "8000000000000000");
}

TEST(CalcNumberTextTest, IntegerPartFitsIn64Bits) {
  struct TCase {
    double Value;
    std::optional<std::int64_t> Part;
  };
  const TCase cases[] = {{2.5, 2}, {-2.5, -2}, {-0.5, 0}, {9223372036854774784.0, 9223372036854774784},
                         {-9223372036854775808.0, INT64_MIN}, {9223372036854775808.0, std::nullopt},
                         {1e30, std::nullopt}, {-1e19, std::nullopt}};
  for (const TCase& c : cases) EXPECT_EQ(CalcIntegerPart(c.Value), c.Part) << c.Value;
}

// ---------------------------------------------------------------------------------------------
// Input lines as the window processes them

struct TSessionCase {
  const char* Name;
  std::vector<std::string> Inputs;
  std::vector<TCalcLine> Lines;  // of the last input
};

class CalcSessionTest : public ::testing::TestWithParam<TSessionCase> {};

TEST_P(CalcSessionTest, AddsLines) {
  TCalculator calculator;
  TNumConv converter;
  TCalcReply reply;
  for (const std::string& input : GetParam().Inputs) reply = ProcessCalcInput(calculator, converter, input);
  EXPECT_FALSE(reply.ClearDisplay);
  EXPECT_EQ(reply.Lines, GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CalcSessionTest,
    ::testing::Values(
        TSessionCase{"Quotient", {"10/4"}, {{clkInput, "10/4"}, {clkBinary, "10"}, {clkHex, "2"}, {clkDecimal, "2.5"}}},
        TSessionCase{"Byte", {"255"}, {{clkInput, "255"}, {clkBinary, "11111111"}, {clkHex, "FF"}, {clkDecimal, "255"}}},
        TSessionCase{"MinusOne",
                     {"-1"},
                     {{clkInput, "-1"},
                      {clkBinary, "-1 Not a Real Value of 10. Numerical System!\r"},
                      {clkHex, "FFFFFFFFFFFFFFFF"},
                      {clkDecimal, "-1"}}},
        TSessionCase{"TooLargeForIntegerLines", {"1.0e30"}, {{clkInput, "1.0e30"}, {clkDecimal, "1E30"}}},
        TSessionCase{"LargestBinary",
                     {"$7FFFFFFFFFFFFC00"},
                     {{clkInput, "$7FFFFFFFFFFFFC00"},
                      {clkBinary, std::string(53, '1') + std::string(10, '0')},
                      {clkHex, "7FFFFFFFFFFFFC00"},
                      {clkDecimal, "9.22337203685477E18"}}},
        TSessionCase{"DivisionByZero", {"1/0"}, {{clkInput, "1/0"}, {clkError, "Floating point division by zero"}}},
        TSessionCase{"SyntaxError", {"1+"}, {{clkInput, "1+"}, {clkError, "Syntax error."}}},
        TSessionCase{"ListVariables", {"abc=5", "x=-2.345", "list"}, {{clkVariable, "abc=5.00"}, {clkVariable, "x=-2.35"}}},
        TSessionCase{"ListIgnoresCase", {"abc=5", "LiSt"}, {{clkVariable, "abc=5.00"}}},
        TSessionCase{"ListWithoutVariables", {"list"}, {{clkVariable, "No variable defined"}}},
        TSessionCase{"ClearThenList", {"abc=5", "clear", "list"}, {{clkVariable, "No variable defined"}}},
        TSessionCase{"ClearAddsNothing", {"abc=5", "CLEAR"}, {}},
        TSessionCase{"LeadingBlankIsAnExpression",
                     {" list"},
                     {{clkInput, " list"}, {clkError, "Unknown function or variable \"list\"."}}},
        TSessionCase{"VariablesSurviveCls", {"q=3", "cls", "q*2"},
                     {{clkInput, "q*2"}, {clkBinary, "110"}, {clkHex, "6"}, {clkDecimal, "6"}}}),
    [](const auto& info) { return info.param.Name; });

TEST(CalcSessionCommandTest, ClsEmptiesTheDisplayOnly) {
  TCalculator calculator;
  TNumConv converter;
  ProcessCalcInput(calculator, converter, "k=1");
  const TCalcReply reply = ProcessCalcInput(calculator, converter, "Cls");
  EXPECT_TRUE(reply.ClearDisplay);
  EXPECT_TRUE(reply.Lines.empty());
  EXPECT_EQ(calculator.VarCount(), 1u);
}

}  // namespace
}  // namespace zentrix
