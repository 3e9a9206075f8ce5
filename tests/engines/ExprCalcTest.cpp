#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "engines/ExprCalc.h"

namespace zentrix {
namespace {

struct TValueCase {
  const char* Text;
  double Value;
};

std::string CaseName(const char* text, std::size_t index) {
  std::string name;
  for (const char* p = text; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name + "_" + std::to_string(index);
}

double Calc(const std::string& text) {
  TCalculator calculator;
  calculator.SetExpression(text);
  return calculator.Result();
}

// ---------------------------------------------------------------------------------------------
// Values

class CalcValueTest : public ::testing::TestWithParam<TValueCase> {};

TEST_P(CalcValueTest, Evaluates) { EXPECT_DOUBLE_EQ(Calc(GetParam().Text), GetParam().Value) << GetParam().Text; }

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, CalcValueTest,
    ::testing::Values(TValueCase{"1+2*3", 7}, TValueCase{"(1+2)*3", 9}, TValueCase{"10/4", 2.5},
                      TValueCase{"2**8", 256}, TValueCase{"-2**2", -4}, TValueCase{"2**(-1)", 0.5},
                      TValueCase{"7%3", 1}, TValueCase{"-7%3", -1}, TValueCase{"7.9%3", 1},
                      TValueCase{"200%%50", 100}, TValueCase{"1-2-3", -4}, TValueCase{"64/4/2", 8},
                      TValueCase{"--3", 3}, TValueCase{"+-+3", -3}, TValueCase{"2*-3", -6},
                      TValueCase{"1+2;3*4", 12}, TValueCase{" \t1\n+\r2 ", 3}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

INSTANTIATE_TEST_SUITE_P(
    Numbers, CalcValueTest,
    ::testing::Values(TValueCase{"$FF", 255}, TValueCase{"$ff", 255}, TValueCase{"0xff", 255},
                      TValueCase{"0XFF", 255}, TValueCase{"0FFh", 255}, TValueCase{"1Fh", 31},
                      TValueCase{"0b101", 5}, TValueCase{"0B11", 3}, TValueCase{"$", 0}, TValueCase{"0x", 0},
                      TValueCase{"0b", 0}, TValueCase{"1.5e3", 1500}, TValueCase{"2.5e-2", 0.025},
                      TValueCase{"3.0e0", 3}, TValueCase{"1.5E+2", 150}, TValueCase{"0.125", 0.125},
                      TValueCase{"7.", 7}, TValueCase{"007", 7},
                      // Exact beyond 2^53 only where the double can hold it.
                      TValueCase{"$FFFFFFFFFFFFFFFF", 18446744073709551615.0},
                      TValueCase{"180`", 3.141592653589793}, TValueCase{"90`", 3.141592653589793 / 2},
                      TValueCase{"45`30", 45.5 * 3.141592653589793 / 180},
                      TValueCase{"45`30`36", 45.51 * 3.141592653589793 / 180},
                      TValueCase{"400`", 40 * 3.141592653589793 / 180}, TValueCase{"360`", 0}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

INSTANTIATE_TEST_SUITE_P(
    IntegerView, CalcValueTest,
    ::testing::Values(TValueCase{"1<<4", 16}, TValueCase{"-1>>60", 15}, TValueCase{"1<<63", -9223372036854775808.0},
                      TValueCase{"1<<64", 0}, TValueCase{"1<<127", 0}, TValueCase{"1<<128", 0},
                      TValueCase{"1<<(-1)", 0}, TValueCase{"16>>(-1)", 0}, TValueCase{"-1>>64", 0},
                      TValueCase{"~0", -1}, TValueCase{"~5.7", -6}, TValueCase{"6&3", 2}, TValueCase{"6|3", 7},
                      TValueCase{"6^3", 5}, TValueCase{"-6.9&255", 250},
                      // One precedence for all five: left to right.
                      TValueCase{"1|2&3", 3}, TValueCase{"1<<2|1", 5}, TValueCase{"2+2<<1", 8},
                      TValueCase{"$8000000000000000*-1%3", -2}, TValueCase{"(0-9223372036854775807-1)%-1", 0}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

INSTANTIATE_TEST_SUITE_P(
    Comparisons, CalcValueTest,
    ::testing::Values(TValueCase{"3>3", 0}, TValueCase{"3>=3", 1}, TValueCase{"3==3", 1}, TValueCase{"3!=3", 0},
                      TValueCase{"3<>4", 1}, TValueCase{"2<3", 1}, TValueCase{"3<=2", 0}, TValueCase{"1+1==2", 1},
                      TValueCase{"!0", 1}, TValueCase{"!5", 0}, TValueCase{"!0.5", 0}, TValueCase{"!!7", 1},
                      TValueCase{"!-0", 1}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

INSTANTIATE_TEST_SUITE_P(
    ZeroBase, CalcValueTest,
    ::testing::Values(TValueCase{"0**2", 0}, TValueCase{"0**0", 1}, TValueCase{"0**0.5", 0}, TValueCase{"1**100", 1},
                      TValueCase{"2**0.5", 1.4142135623730951}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

INSTANTIATE_TEST_SUITE_P(
    ConstantsAndFunctions, CalcValueTest,
    ::testing::Values(TValueCase{"pi", 3.141592653589793}, TValueCase{"e", 2.71828182845904},
                      TValueCase{"c", 299792458}, TValueCase{"h", 6.6260755e-34}, TValueCase{"g", 9.80665},
                      TValueCase{"au", 149597870691}, TValueCase{"pc", 3.08568e16}, TValueCase{"a", 6.0221367e23},
                      TValueCase{"b", 1.380658e-23}, TValueCase{"ly", 9460730472580800.0},
                      TValueCase{"ec", 1.60217733e-19}, TValueCase{"em", 9.1093897e-31}, TValueCase{"PI", 3.141592653589793},
                      TValueCase{"SIN(0)", 0}, TValueCase{"sin(pi/2)", 1}, TValueCase{"asin(1)", 3.141592653589793 / 2},
                      TValueCase{"sinh(1)", std::sinh(1.0)}, TValueCase{"asinh(1)", std::asinh(1.0)},
                      TValueCase{"cos(0)", 1}, TValueCase{"acos(1)", 0}, TValueCase{"cosh(0)", 1},
                      TValueCase{"acosh(1)", 0}, TValueCase{"tan(pi/4)", 1}, TValueCase{"atan(1)", 3.141592653589793 / 4},
                      TValueCase{"tanh(0)", 0}, TValueCase{"atanh(0.5)", std::atanh(0.5)},
                      TValueCase{"cotan(pi/4)", 1}, TValueCase{"ln(e)", std::log(2.71828182845904)},
                      TValueCase{"exp(1)", std::exp(1.0)}, TValueCase{"log(1000)", 3}, TValueCase{"deg(pi)", 180},
                      TValueCase{"rad(180)", 3.141592653589793}, TValueCase{"ctof(100)", 212},
                      TValueCase{"ftoc(212)", 100}, TValueCase{"ctof(-40)", -40}, TValueCase{"2*sin(0)+1", 1}),
    [](const auto& info) { return CaseName(info.param.Text, info.index); });

// ---------------------------------------------------------------------------------------------
// Failures: every message exactly

struct TErrorCase {
  const char* Text;
  const char* Message;
};

class CalcErrorTest : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(CalcErrorTest, RaisesWithMessage) {
  try {
    const double value = Calc(GetParam().Text);
    FAIL() << GetParam().Text << " gave " << value;
  } catch (const EZentrixError& e) {
    EXPECT_STREQ(e.what(), GetParam().Message) << GetParam().Text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, CalcErrorTest,
    ::testing::Values(TErrorCase{"", "Syntax error."}, TErrorCase{"   ", "Syntax error."},
                      TErrorCase{"1+", "Syntax error."}, TErrorCase{"x=5;", "Syntax error."},
                      TErrorCase{")", "Syntax error."}, TErrorCase{"1+)", "Syntax error."},
                      TErrorCase{"()", "Syntax error."}, TErrorCase{"101b", "Syntax error."},
                      TErrorCase{"1e3", "Syntax error."}, TErrorCase{"12a", "Syntax error."},
                      TErrorCase{"$1G", "Syntax error."}, TErrorCase{"$FFh", "Syntax error."},
                      TErrorCase{"0x1g", "Syntax error."}, TErrorCase{"1.5e", "Syntax error."},
                      TErrorCase{"1.5e+", "Syntax error."}, TErrorCase{".5", "Syntax error."},
                      TErrorCase{"2**-1", "Syntax error."}, TErrorCase{"#", "Syntax error."},
                      TErrorCase{"1+\xC3\xA9", "Syntax error."}, TErrorCase{"_", "Unknown function or variable \"_\"."},
                      TErrorCase{"(1+2", "Syntax error"}, TErrorCase{"1 2", "Syntax error"},
                      TErrorCase{"2pi", "Syntax error"}, TErrorCase{"2**3**2", "Syntax error"},
                      TErrorCase{"1)", "Syntax error"}, TErrorCase{"sin(1", "Syntax error"},
                      TErrorCase{"1.5`", "Syntax error"}, TErrorCase{"a_b", "Syntax error"},
                      TErrorCase{"1;2;", "Syntax error."}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Names, CalcErrorTest,
    ::testing::Values(TErrorCase{"foo(1)", "Unknown function or variable \"foo\"."},
                      TErrorCase{"y", "Unknown function or variable \"y\"."},
                      TErrorCase{"Y+1", "Unknown function or variable \"y\"."},
                      TErrorCase{"pi(1)", "Unknown function or variable \"pi\"."},
                      TErrorCase{"sin", "Unknown function or variable \"sin\"."},
                      TErrorCase{"pi=3", "Variable name conflict \"pi\"."},
                      TErrorCase{"SIN=1", "Variable name conflict \"sin\"."},
                      TErrorCase{"list=1", "Variable name conflict \"list\"."},
                      TErrorCase{"x=Em=1", "Variable name conflict \"em\"."}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    ArithmeticFaults, CalcErrorTest,
    ::testing::Values(TErrorCase{"1/0", "Floating point division by zero"},
                      TErrorCase{"-1/(2-2)", "Floating point division by zero"},
                      TErrorCase{"ln(0)", "Floating point division by zero"},
                      TErrorCase{"log(0)", "Floating point division by zero"},
                      TErrorCase{"cotan(0)", "Floating point division by zero"},
                      TErrorCase{"atanh(1)", "Floating point division by zero"},
                      TErrorCase{"0**(-1)", "Floating point division by zero"},
                      TErrorCase{"0/0", "Invalid floating point operation"},
                      TErrorCase{"ln(-1)", "Invalid floating point operation"},
                      TErrorCase{"log(-1)", "Invalid floating point operation"},
                      TErrorCase{"asin(2)", "Invalid floating point operation"},
                      TErrorCase{"acos(-2)", "Invalid floating point operation"},
                      TErrorCase{"acosh(0)", "Invalid floating point operation"},
                      TErrorCase{"atanh(2)", "Invalid floating point operation"},
                      TErrorCase{"(-8)**(1/3)", "Invalid floating point operation"},
                      TErrorCase{"$8000000000000000|0", "Invalid floating point operation"},
                      TErrorCase{"~$8000000000000000", "Invalid floating point operation"},
                      TErrorCase{"1<<$8000000000000000", "Invalid floating point operation"},
                      TErrorCase{"(10**19)%3", "Invalid floating point operation"},
                      TErrorCase{"rnd(10**19)", "Invalid floating point operation"},
                      TErrorCase{"10**400", "Floating point overflow"},
                      TErrorCase{"exp(1000)", "Floating point overflow"},
                      TErrorCase{"sinh(1000)", "Floating point overflow"},
                      TErrorCase{"1.0e300*1.0e300", "Floating point overflow"},
                      TErrorCase{"1.0e308+1.0e308", "Floating point overflow"},
                      TErrorCase{"-1.0e308-1.0e308", "Floating point overflow"},
                      TErrorCase{"1.0e300/1.0e-300", "Floating point overflow"},
                      TErrorCase{"deg(1.0e307)", "Floating point overflow"},
                      TErrorCase{"1.0e309", "Floating point overflow"},
                      TErrorCase{"5%0", "Division by zero"}, TErrorCase{"5%0.5", "Division by zero"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(CalcFaultTest, FaultsAreMathErrorsAndEngineErrorsAreECalculate) {
  EXPECT_THROW(Calc("1/0"), EZeroDivide);
  EXPECT_THROW(Calc("0/0"), EInvalidOp);
  EXPECT_THROW(Calc("10**400"), EOverflow);
  EXPECT_THROW(Calc("5%0"), EDivByZero);
  EXPECT_THROW(Calc("1+"), ECalculate);
  EXPECT_THROW(Calc("nope"), ECalculate);
}

TEST(CalcFaultTest, IntermediateOverflowThatComesBackInRangeStillFits) {
  // x*y/100 in one operator: the product alone would exceed the double range.
  EXPECT_DOUBLE_EQ(Calc("1.0e300%%1.0e10"), 1e308);
  EXPECT_DOUBLE_EQ(Calc("ftoc(1.7e308)"), 1.7e308 / 9 * 5);
}

TEST(CalcFaultTest, HostileNestingIsAnErrorNotACrash) {
  for (const std::string& text : {std::string(100000, '('), std::string(100000, '-') + "1",
                                  std::string(5000, '(') + "1" + std::string(5000, ')'),
                                  "1.0e" + std::string(50000, '9'), "1." + std::string(100000, '5'),
                                  std::string(6000, '9'), "$" + std::string(6000, 'F'), "1`" + std::string(6000, '9')}) {
    try {
      const double value = Calc(text);
      EXPECT_TRUE(std::isfinite(value));
    } catch (const EZentrixError&) {
    }
  }
  EXPECT_THROW(Calc(std::string(300, '(') + "1" + std::string(300, ')')), ECalculate);
  EXPECT_DOUBLE_EQ(Calc(std::string(50, '(') + "1" + std::string(50, ')')), 1);
}

// ---------------------------------------------------------------------------------------------
// Variables

class CalculatorTest : public ::testing::Test {
protected:
  double Eval(const std::string& text) {
    FCalc.SetExpression(text);
    return FCalc.Result();
  }
  TCalculator FCalc;
};

TEST_F(CalculatorTest, AssignmentsCarryOverAndNamesIgnoreCase) {
  EXPECT_EQ(Eval("x=5"), 5);
  EXPECT_EQ(Eval("x*2"), 10);
  EXPECT_EQ(Eval("X=7"), 7);
  EXPECT_EQ(FCalc.VarCount(), 1u);
  EXPECT_EQ(Eval("x"), 7);
  EXPECT_EQ(Eval("a1=y=5"), 5);  // both set; "a1" is no constant
  EXPECT_EQ(Eval("2*(z=3)"), 6);
  EXPECT_EQ(Eval("z+y+a1"), 13);
}

TEST_F(CalculatorTest, StoreKeepsCreationOrderAndReplacesInPlace) {
  Eval("b2=1; a2=2; c2=3; a2=20");
  ASSERT_EQ(FCalc.VarCount(), 3u);
  const char* names[] = {"b2", "a2", "c2"};
  const double values[] = {1, 20, 3};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto var = FCalc.VarRec(i);
    ASSERT_TRUE(var.has_value());
    EXPECT_EQ(var->Name, names[i]);
    EXPECT_EQ(var->Value, values[i]);
    EXPECT_EQ(FCalc.NameOf(static_cast<std::uint16_t>(i)), names[i]);
  }
  EXPECT_FALSE(FCalc.VarRec(3).has_value());
  EXPECT_EQ(FCalc.NameOf(3), "");
  FCalc.ClearVars();
  EXPECT_EQ(FCalc.VarCount(), 0u);
  EXPECT_THROW(Eval("a2"), ECalculate);
}

TEST_F(CalculatorTest, AssignmentBeforeAFailureIsKept) {
  EXPECT_THROW(Eval("x=5; 1/0"), EZeroDivide);
  EXPECT_EQ(Eval("x"), 5);
  EXPECT_THROW(Eval("w=2; w w"), ECalculate);
  EXPECT_EQ(Eval("w"), 2);
}

TEST_F(CalculatorTest, LongestIdentifierIsThirtyTwoLetters) {
  const std::string name32 = "abcdefghijabcdefghijabcdefghijab";
  EXPECT_EQ(Eval(name32 + "=4"), 4);
  EXPECT_EQ(Eval(name32), 4);
  // The 33rd letter starts a second operand.
  try {
    Eval(name32 + "c");
    FAIL();
  } catch (const ECalculate& e) {
    EXPECT_STREQ(e.what(), "Syntax error");
  }
}

TEST_F(CalculatorTest, ReservedNamesRefusedWhateverTheCase) {
  ASSERT_EQ(ReservedCalcNames().size(), 36u);
  for (const std::string& name : ReservedCalcNames()) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const std::string& spelling : {name, upper}) {
      try {
        FCalc.SetVar(spelling, 1);
        ADD_FAILURE() << spelling;
      } catch (const ECalculate& e) {
        EXPECT_EQ(e.what(), "Variable name conflict \"" + spelling + "\".");
      }
    }
  }
  EXPECT_EQ(FCalc.VarCount(), 0u);
  EXPECT_FALSE(IsReservedCalcName("pie"));
  EXPECT_FALSE(IsReservedCalcName("x"));
}

TEST_F(CalculatorTest, GetVarOfUnknownName) {
  try {
    FCalc.GetVar("nope");
    FAIL();
  } catch (const ECalculate& e) {
    EXPECT_STREQ(e.what(), "Unknown function or variable \"nope\".");
  }
}

// A descendant adds a function of its own; the built-ins still come first.
class TCalculatorWithTwice : public TCalculator {
protected:
  bool DoIdentifier(std::uint8_t kind, const std::string& name, double& value) override {
    if (kind == ikCall && name == "twice") {
      value *= 2;
      return true;
    }
    return TCalculator::DoIdentifier(kind, name, value);
  }
};

TEST(CalculatorOverrideTest, DescendantAddsFunctions) {
  TCalculatorWithTwice calc;
  calc.SetExpression("q=twice(21); TWICE(q)+sin(0)");
  EXPECT_EQ(calc.Result(), 84);
  calc.SetExpression("thrice(1)");
  EXPECT_THROW(calc.Result(), ECalculate);
}

// ---------------------------------------------------------------------------------------------
// Evaluate and DefaultIdentifier

TEST(EvaluateTest, DefaultIdentifierRefusesAssignment) {
  double result = 0;
  EXPECT_TRUE(Evaluate("2*pi", result));
  EXPECT_DOUBLE_EQ(result, 2 * 3.141592653589793);
  try {
    Evaluate("x=1", result);
    FAIL();
  } catch (const ECalculate& e) {
    EXPECT_STREQ(e.what(), "Unknown function or variable \"x\".");
  }
  double value = 1;
  EXPECT_FALSE(DefaultIdentifier(ikAssign, "x", value));
  EXPECT_FALSE(DefaultIdentifier(ikRead, "PI", value));  // exact names: the scanner lowers them
  EXPECT_FALSE(DefaultIdentifier(ikRead, "sin", value));
  EXPECT_FALSE(DefaultIdentifier(ikCall, "pi", value));
}

TEST(EvaluateTest, CallbackSeesLowerCaseNamesAndKinds) {
  std::vector<std::string> seen;
  const TIdentifierProc callback = [&](std::uint8_t kind, const std::string& name, double& value) {
    seen.push_back(std::to_string(kind) + name);
    if (kind == ikCall) value += 1;
    if (kind == ikRead) value = 10;
    return true;
  };
  double result = 0;
  Evaluate("Foo(1) + BAR + Baz = 3", result, callback);
  EXPECT_EQ(result, 2 + 10 + 3);
  EXPECT_EQ(seen, (std::vector<std::string>{"2foo", "0bar", "1baz"}));
}

TEST(EvaluateTest, CallbackMayEvaluateAndMayNotReturnNonFinite) {
  const TIdentifierProc nested = [](std::uint8_t, const std::string&, double& value) {
    return Evaluate("2*3", value);
  };
  double result = 0;
  Evaluate("k+1", result, nested);
  EXPECT_EQ(result, 7);
  const TIdentifierProc infinite = [](std::uint8_t, const std::string&, double& value) {
    value = HUGE_VAL;
    return true;
  };
  EXPECT_THROW(Evaluate("k", result, infinite), EOverflow);
}

TEST(EvaluateTest, MessagesComeFromTheInterfaceTexts) {
  TInterfaceTexts texts;
  texts.Apply({{"lc_SyntaxError", "Syntaxfehler"},
               {"lc_UnknownIdentifier", "Unbekannt"},
               {"lc_VarNameConflict", "Namenskonflikt"}});
  struct TCase {
    const char* Text;
    const char* Message;
  };
  const TCase cases[] = {{"(1", "Syntaxfehler"},
                         {"1+", "Syntax error."},  // fixed text
                         {"zz", "Unbekannt \"zz\"."},
                         {"pi=1", "Namenskonflikt \"pi\"."},
                         {"1/0", "Floating point division by zero"}};
  TCalculator calc(texts);
  for (const TCase& c : cases) {
    calc.SetExpression(c.Text);
    try {
      calc.Result();
      ADD_FAILURE() << c.Text;
    } catch (const EZentrixError& e) {
      EXPECT_STREQ(e.what(), c.Message) << c.Text;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// rnd

struct TRandomCase {
  const char* Text;
  double Below;  // every draw is in [0, Below)
  bool Integer;
};

class CalcRandomTest : public ::testing::TestWithParam<TRandomCase> {};

TEST_P(CalcRandomTest, DrawsInRange) {
  TCalculator calc;
  SeedCalcRandom(42);
  calc.SetExpression(GetParam().Text);
  double low = 1e9, high = -1e9;
  for (int i = 0; i < 400; ++i) {
    const double v = calc.Result();
    ASSERT_GE(v, 0);
    ASSERT_LT(v, GetParam().Below);
    if (GetParam().Integer) {
      ASSERT_EQ(v, std::trunc(v));
    }
    low = std::min(low, v);
    high = std::max(high, v);
  }
  // Draws spread over the range rather than repeating one value.
  if (GetParam().Below > 1 || !GetParam().Integer) {
    EXPECT_LT(low, high);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CalcRandomTest,
    ::testing::Values(TRandomCase{"rnd(1)", 1, false}, TRandomCase{"rnd(6)", 6, true},
                      TRandomCase{"rnd(-6)", 6, true}, TRandomCase{"rnd(0)", 1e-300, true},
                      TRandomCase{"rnd(0.4)", 1e-300, true}, TRandomCase{"rnd(1.5)", 2, true},
                      TRandomCase{"rnd(2.5)", 2, true}, TRandomCase{"rnd(0.6)", 1, false},
                      TRandomCase{"rnd(1.0e15)", 1e15, true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace zentrix
