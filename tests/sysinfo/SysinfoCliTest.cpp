#include <gtest/gtest.h>

#include "Fixtures.h"
#include "support/RunProcess.h"

namespace zentrix::test {
namespace {

struct TCliCase {
  const char* Name;
  std::vector<std::string> Args;
  int Exit;
  const char* Out;  // exact standard output for exit 0
};

class SysinfoCliTest : public ::testing::TestWithParam<TCliCase> {};

TEST_P(SysinfoCliTest, Runs) {
  std::vector<std::string> args = GetParam().Args;
  for (std::string& a : args)
    if (a.rfind("@", 0) == 0) a = SysFixture(a.substr(1));
  const TProcessResult r = RunCli(args, {}, {{"TZ", ""}});
  EXPECT_EQ(r.ExitCode, GetParam().Exit) << r.Err;
  if (GetParam().Exit == 0) {
    EXPECT_EQ(r.Out, GetParam().Out);
  } else {
    EXPECT_TRUE(r.Out.empty());
    ASSERT_FALSE(r.Err.empty());
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SysinfoCliTest,
    ::testing::Values(
        TCliCase{"PowerBalloonWithoutBattery", {"balloon", "power", "--root", "@desktop"}, 0,
                 "Power Information\nPower Supply: AC\n\nStatus: No Battery\n"},
        TCliCase{"PowerBalloonOnBattery", {"balloon", "power", "--root", "@laptop"}, 0,
                 "Power Information\n\nPower Supply: Battery\n\nStatus: Discharging (57%)\nRemaining Time: 00.00.00 02:15:00\n"},
        TCliCase{"CpuBalloonFromDump",
                 {"balloon", "cpu", "--cpuid-dump", "@cpuid/amd-phenom-ii-x4-955.txt", "--mhz", "3200", "--root", "@empty"}, 0,
                 "CPU Information\n1 x AMD Phenom II X4 955 - 3200 Mhz\n\nCore Count: 4\nThread Count: 4\n\n"
                 "Cache L1: 128 KB (64 KB Data + 64 KB Instruction)\nCache L2: 512 KB\nCache L3: 6144 KB\n"},
        TCliCase{"TimeBalloon", {"balloon", "time", "--root", "@desktop", "--now", "2013-05-01"}, 0,
                 "TimeZone\nEurope/Prague\n\nCET: 2013-10-27 03:00:00\nCEST: 2013-03-31 02:00:00\n"},
        TCliCase{"DateBalloonFallbackNames", {"balloon", "date", "--now", "2013-03-01", "--df", "0"}, 0,
                 "Daynames\nDay 59 - Thursday, 28.2.2013\nDay 61 - Friday, 1.3.2013\nDay 62 - Saturday, 2.3.2013\n"
                 "Day 63 - Sunday, 3.3.2013\nDay 64 - Monday, 4.3.2013\nDay 65 - Tuesday, 5.3.2013\n"
                 "Day 66 - Wednesday, 6.3.2013\nDay 67 - Thursday, 7.3.2013\n"},
        TCliCase{"DateBalloonOtherFormat", {"balloon", "date", "--df", "2"}, 0, "Daynames\n"},
        TCliCase{"CountdownWithoutDate", {"balloon", "countdown", "Holiday"}, 0, "Holiday\n"},
        TCliCase{"CountdownWithDate", {"balloon", "countdown", "Holiday", "2013-07-01T08:30"}, 0,
                 "Holiday\n2013-07-01 08:30:00\n"},
        TCliCase{"PowerReading", {"sysinfo", "power", "--root", "@laptop"}, 0,
                 "ACLineStatus: 0\nBatteryFlag: 0\nBatteryLifePercent: 57\nBatteryLifeTime: 8100\n"
                 "BatteryFullLifeTime: 14211\nCaption: Bat: 57%\n"},
        TCliCase{"TimezoneReading", {"sysinfo", "timezone", "--root", "@laptop"}, 0,
                 "DisplayName: Asia/Tokyo\nBias: -540\nStandardName: JST\nStandardBias: 0\nStandardStart: \n"
                 "DaylightName: JST\nDaylightBias: 0\nDaylightStart: \n"},
        TCliCase{"NoReading", {"sysinfo"}, 2, ""}, TCliCase{"UnknownReading", {"sysinfo", "disk"}, 2, ""},
        TCliCase{"TwoReadings", {"sysinfo", "cpu", "memory"}, 2, ""}, TCliCase{"NoBalloon", {"balloon"}, 2, ""},
        TCliCase{"UnknownBalloon", {"balloon", "weather"}, 2, ""},
        TCliCase{"CountdownWithoutName", {"balloon", "countdown"}, 2, ""},
        TCliCase{"BadCountdownDate", {"balloon", "countdown", "x", "soon"}, 2, ""},
        TCliCase{"HebrewDatesUnavailable", {"balloon", "date", "--df", "1"}, 2, ""},
        TCliCase{"BadMhz", {"balloon", "cpu", "--mhz", "fast"}, 2, ""},
        TCliCase{"MissingRootValue", {"sysinfo", "power", "--root"}, 2, ""},
        TCliCase{"MissingDump", {"sysinfo", "cpu", "--cpuid-dump", "/nonexistent/dump"}, 1, ""},
        TCliCase{"BadDump", {"sysinfo", "cpu", "--cpuid-dump", "@desktop/proc/meminfo"}, 1, ""},
        TCliCase{"DamagedZone", {"balloon", "time", "--tz", "Nowhere/../x"}, 1, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// On this machine the balloon shows what the machine has; without a battery it must say so.
TEST(SysinfoCliMachineTest, BalloonsOfThisMachine) {
  TProcessResult r = RunCli({"balloon", "cpu", "--mhz", "1000"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("CPU Information\n", 0), 0u);
  EXPECT_NE(r.Out.find("Cache L2: "), std::string::npos);
  for (const char* what : {"memory", "system", "date"}) {
    r = RunCli({"balloon", what});
    EXPECT_EQ(r.ExitCode, 0) << what << r.Err;
  }
  for (const char* what : {"cpuid", "memory", "os", "uptime", "network", "power", "timezone"}) {
    r = RunCli({"sysinfo", what});
    EXPECT_EQ(r.ExitCode, 0) << what << r.Err;
    EXPECT_FALSE(r.Out.empty()) << what;
  }
}

}  // namespace
}  // namespace zentrix::test
