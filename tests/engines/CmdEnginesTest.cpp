#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RunProcess.h"
#include "support/TempDir.h"

namespace zentrix::test {
namespace {

struct TCliCase {
  const char* Name;
  std::vector<std::string> Args;
  std::string Input;
  int ExitCode;
  std::string Out;
  std::string Err;
};

class EnginesCliTest : public ::testing::TestWithParam<TCliCase> {};

TEST_P(EnginesCliTest, Runs) {
  const TCliCase& c = GetParam();
  const TProcessResult r = RunCli(c.Args, c.Input);
  EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Err;
  EXPECT_EQ(r.Out, c.Out);
  EXPECT_EQ(r.Err, c.Err);
}

INSTANTIATE_TEST_SUITE_P(
    Calc, EnginesCliTest,
    ::testing::Values(
        TCliCase{"Quotient", {"calc", "10/4"}, "", 0, "> 10/4\n= [bin] 10\n= [hex] 2\n= [dec] 2.5\n", ""},
        TCliCase{"NegativeHasConverterMessage",
                 {"calc", "-1"},
                 "",
                 0,
                 "> -1\n= [bin] -1 Not a Real Value of 10. Numerical System!\n= [hex] FFFFFFFFFFFFFFFF\n= [dec] -1\n",
                 ""},
        TCliCase{"VariablesCarryOver",
                 {"calc", "x=5", "x*2", "list", "clear", "list"},
                 "",
                 0,
                 "> x=5\n= [bin] 101\n= [hex] 5\n= [dec] 5\n> x*2\n= [bin] 1010\n= [hex] A\n= [dec] 10\n"
                 "x=5.00\nNo variable defined\n",
                 ""},
        TCliCase{"DivisionByZero", {"calc", "1/0"}, "", 1, "> 1/0\n", "Floating point division by zero\n"},
        TCliCase{"ErrorThenGoesOn", {"calc", "y", "2"}, "", 1, "> y\n> 2\n= [bin] 10\n= [hex] 2\n= [dec] 2\n",
                 "Unknown function or variable \"y\".\n"},
        TCliCase{"NoLine", {"calc"}, "", 2, "", "zentrix-cli calc: missing arguments (usage: zentrix-cli calc LINE...)\n"}),
    [](const auto& info) { return info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    NumConv, EnginesCliTest,
    ::testing::Values(TCliCase{"Binary", {"numconv", "10", "2", "255"}, "", 0, "11111111\n", ""},
                      TCliCase{"LowerCaseHex", {"numconv", "16", "10", "ff"}, "", 0, "255\n", ""},
                      TCliCase{"NotADigit", {"numconv", "2", "10", "102"}, "", 1, "",
                               "102 Not a Real Value of 2. Numerical System!\n"},
                      TCliCase{"BadBases", {"numconv", "40", "1", "5"}, "", 1, "",
                               "Input Numerical System Number Error!\nOutput Numerical System Number Error!\n"
                               "Input Numerical System Not Defined!\nOutput Numerical System Not Defined!!\n"},
                      TCliCase{"Overflow", {"numconv", "10", "2", "99999999999999999999"}, "", 1, "",
                               "Integer Overflow! Input Value Too Large!\n"},
                      TCliCase{"BaseNotANumber", {"numconv", "ten", "2", "5"}, "", 2, "",
                               "zentrix-cli numconv: invalid FROM: 'ten' (usage: zentrix-cli numconv FROM TO VALUE)\n"}),
    [](const auto& info) { return info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Encode, EnginesCliTest,
    ::testing::Values(TCliCase{"Hex", {"encode", "hex"}, std::string("\x1F\xA0\x00", 3), 0, "1FA000\n", ""},
                      TCliCase{"HexLower", {"encode", "hexl"}, "\x1F\xA0", 0, "1fa0\n", ""},
                      TCliCase{"Mime64", {"encode", "mime64"}, "Man", 0, "TWFu\n", ""},
                      TCliCase{"UU", {"encode", "uu"}, std::string(1, '\0'), 0, "!````\n", ""},
                      TCliCase{"XX", {"encode", "xx"}, "Man", 0, "1HK3i\n", ""},
                      TCliCase{"EmptyInput", {"encode", "mime64"}, "", 0, "\n", ""},
                      TCliCase{"UnknownFormat", {"encode", "rot13"}, "", 2, "",
                               "zentrix-cli encode: unknown format 'rot13' (usage: zentrix-cli encode "
                               "hex|hexl|mime64|uu|xx)\n"}),
    [](const auto& info) { return info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Hash, EnginesCliTest,
    ::testing::Values(TCliCase{"TextHex", {"hash", "--text", "abc"}, "", 0,
                               "CRC32: AD957AB0\nMD5: 0325B2BC5BC6ECFBAC751818498ECE3F\n"
                               "SHA-1: 710A9AB5E5CDA543FA5F3DE349A1A1466E0104AD\n",
                               ""},
                      TCliCase{"EmptyTextMime64", {"hash", "--format", "mime64", "--text="}, "", 0,
                               "CRC32: AAAAAA==\nMD5: xBA/Ei0nZ3ydsUTK4TlKZg==\n"
                               "SHA-1: FIn5I8TcpykXiz4yM0WFUNjd3yk=\n",
                               ""},
                      TCliCase{"MissingFile", {"hash", "--file", "/nonexistent/zentrix"}, "", 1, "",
                               "Cannot open file \"/nonexistent/zentrix\". No such file or directory\n"},
                      TCliCase{"NeitherTextNorFile", {"hash"}, "", 2, "",
                               "zentrix-cli hash: give either --text or --file (usage: zentrix-cli hash [--format "
                               "hex|mime64|uu|xx] (--text TEXT | --file PATH))\n"},
                      TCliCase{"HexlIsNoHashFormat", {"hash", "--format", "hexl", "--text", "a"}, "", 2, "",
                               "zentrix-cli hash: unknown format 'hexl' (usage: zentrix-cli hash [--format "
                               "hex|mime64|uu|xx] (--text TEXT | --file PATH))\n"}),
    [](const auto& info) { return info.param.Name; });

TEST(EnginesCliFileTest, HashesAFileAndRefusesTextWithFile) {
  TTempDir dir;
  const std::string path = dir.Write("abc.txt", "abc").string();
  TProcessResult r = RunCli({"hash", "--file", path});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "CRC32: 352441C2\nMD5: 900150983CD24FB0D6963F7D28E17F72\n"
            "SHA-1: A9993E364706816ABA3E25717850C26C9CD0D89D\n");
  r = RunCli({"hash", "--file", path, "--text", "abc"});
  EXPECT_EQ(r.ExitCode, 2);
}

// Whatever the line, the calculator answers with lines or an error, never a crash.
TEST(EnginesCliRobustnessTest, HostileCalculatorLinesEndCleanly) {
  const std::vector<std::string> lines = {std::string(100000, '('), std::string(20000, '-') + "1",
                                          "\xFF\xFE", "$" + std::string(5000, 'F'),
                                          "1.0e99999999999999999999", "0**-0", "(0-$7FFFFFFFFFFFFFFF-1)%-1"};
  for (const std::string& line : lines) {
    const TProcessResult r = RunCli({"calc", line});
    EXPECT_TRUE(r.ExitCode == 0 || r.ExitCode == 1) << r.ExitCode;
  }
}

}  // namespace
}  // namespace zentrix::test
