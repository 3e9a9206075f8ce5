#include <gtest/gtest.h>

#include "Fixtures.h"
#include "core/Clock.h"
#include "sysinfo/QDX_OS.h"

namespace zentrix {
namespace {

using test::SysFixture;

struct TTickCase {
  const char* Name;
  std::uint64_t Milliseconds;
  double Seconds;
};

class TickSecondsTest : public ::testing::TestWithParam<TTickCase> {};

TEST_P(TickSecondsTest, WrapsLikeTheTickCounter) {
  EXPECT_DOUBLE_EQ(TickSecondsOf(GetParam().Milliseconds), GetParam().Seconds);
}

INSTANTIATE_TEST_SUITE_P(Ticks, TickSecondsTest,
                         ::testing::Values(TTickCase{"Boot", 0, 0}, TTickCase{"OneDayAndChange", 90061000, 90061},
                                           TTickCase{"Milliseconds", 1234, 1.234},
                                           // 50 days: 4 320 000 000 ms wraps to 25 032.704 s (0.29 days).
                                           TTickCase{"FiftyDaysWrap", 4320000000ull, 25032.704}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SystemStartTest, NowLessTheTimeSinceBoot) {
  const TFixedClock clock(EncodeDateTime({2013, 3, 20, 12, 0, 0, 0}));
  EXPECT_NEAR(SystemStartTime(clock, 90061), EncodeDateTime({2013, 3, 19, 10, 58, 59, 0}), 1e-9);
  // After 50 days the start stays 50 days back, whatever the tick counter shows.
  EXPECT_NEAR(SystemStartTime(clock, 50 * 86400.0), EncodeDateTime({2013, 1, 29, 12, 0, 0, 0}), 1e-9);
}

TEST(OsReleaseTest, QuotesEscapesAndComments) {
  const auto values = ParseOsRelease(
      "# comment\nNAME=\"Debian GNU/Linux\"\nID=debian\nVERSION='12 (bookworm)'\nPRETTY=\"a \\\"b\\\" \\\\c\"\n"
      "PLAIN=Fedora\\ Linux\nBROKEN=\"unterminated\nBAD KEY=1\n=novalue\nEMPTY=\n");
  const std::map<std::string, std::string> expected = {{"NAME", "Debian GNU/Linux"}, {"ID", "debian"},
                                                       {"VERSION", "12 (bookworm)"}, {"PRETTY", "a \"b\" \\c"},
                                                       {"PLAIN", "Fedora Linux"}, {"EMPTY", ""}};
  EXPECT_EQ(values, expected);
}

struct TShortenCase {
  const char* Name;
  const char* Long;
  const char* Short;
};

class ShortenOSNameTest : public ::testing::TestWithParam<TShortenCase> {};

TEST_P(ShortenOSNameTest, Shortens) { EXPECT_EQ(ShortenOSName(GetParam().Long), GetParam().Short); }

INSTANTIATE_TEST_SUITE_P(
    Names, ShortenOSNameTest,
    ::testing::Values(TShortenCase{"Windows", "Microsoft Windows 7 Professional Edition Service Pack 1", "Windows 7 Pro SP1"},
                      TShortenCase{"MarksAndCase", "Windows(R) Seven ENTERPRISE(TM) \xC2\xAE NULL", "Windows 7 Ent"},
                      TShortenCase{"Standard", "Windows Server 2003 standard x64", "Windows Server 2003 Std x64"},
                      TShortenCase{"Linux", "Debian GNU/Linux 12 (bookworm) x86_64", "Debian GNU/Linux 12 (bookworm) x86_64"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStartupCase {
  const char* Name;
  TSystemFacts Facts;
  const char* OSNameText;
  const char* MachineName;
  const char* DomainName;
  const char* WorkgroupName;
  bool Member;
};

class StartupValuesTest : public ::testing::TestWithParam<TStartupCase> {};

TEST_P(StartupValuesTest, Builds) {
  const TStartupValues v = BuildStartupValues(GetParam().Facts);
  EXPECT_EQ(v.OSNameText, GetParam().OSNameText);
  EXPECT_EQ(v.MachineName, GetParam().MachineName);
  EXPECT_EQ(v.DomainName, GetParam().DomainName);
  EXPECT_EQ(v.WorkgroupName, GetParam().WorkgroupName);
  EXPECT_EQ(v.DomainMember, GetParam().Member);
  EXPECT_EQ(v.ServicePackText, "");
}

TSystemFacts Facts(const char* osRelease, const char* host, const char* samba) {
  TSystemFacts f;
  f.OsRelease = osRelease;
  f.SysName = "Linux";
  f.Release = "6.1.0-18-amd64";
  f.Machine = "x86_64";
  f.HostName = host;
  f.UserName = "anna";
  f.SambaConf = samba;
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Machines, StartupValuesTest,
    ::testing::Values(
        // In a workgroup the machine is its own domain.
        TStartupCase{"Workgroup", Facts("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"", "office-pc",
                                        "[global]\nworkgroup = office\n"),
                     "Debian GNU/Linux 12 (bookworm) x86_64", "OFFICE-PC", "OFFICE-PC", "OFFICE", false},
        TStartupCase{"DomainMember", Facts("NAME=Ubuntu\nVERSION=\"22.04 LTS\"", "ws1",
                                           "[global]\n  workgroup = corp\n  security = ADS\n"),
                     "Ubuntu 22.04 LTS x86_64", "WS1", "CORP", "", true},
        TStartupCase{"NoOsReleaseNoSamba", Facts("", "host", ""), "Linux 6.1.0-18-amd64 x86_64", "HOST", "HOST", "", false},
        TStartupCase{"VariantEdition", Facts("NAME=Fedora\nVERSION=39\nVARIANT=\"Workstation Edition\"", "lap", ""),
                     "Fedora 39 Workstation x86_64", "LAP", "LAP", "", false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(StartupValuesTest, InstallDateIsLocalTime) {
  TSystemFacts f = Facts("", "h", "");
  f.InstallUnixTime = 1363777382;  // 2013-03-20 11:03:02 UTC
  EXPECT_NEAR(BuildStartupValues(f).InstallDate, UtcToLocal(EncodeDateTime({2013, 3, 20, 11, 3, 2, 0})), 1e-9);
  f.InstallUnixTime.reset();
  EXPECT_EQ(BuildStartupValues(f).InstallDate, 0);
}

TEST(StartupValuesTest, ReadsTheFixtureTree) {
  const TSystemFacts f = ReadSystemFacts(SysFixture("desktop"));
  EXPECT_NE(f.OsRelease.find("bookworm"), std::string::npos);
  const TSambaGlobal samba = ParseSambaGlobal(f.SambaConf);
  EXPECT_EQ(samba.Workgroup, "office");  // not the [homes] share's
  EXPECT_EQ(samba.Security, "");         // commented out
}

struct TMacCase {
  const char* Name;
  const char* Text;
  const char* Expected;
};

class MacAddressTest : public ::testing::TestWithParam<TMacCase> {};

TEST_P(MacAddressTest, Formats) { EXPECT_EQ(FormatMacAddress(GetParam().Text), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Addresses, MacAddressTest,
                         ::testing::Values(TMacCase{"Ordinary", "02:42:ac:11:00:02\n", "02-42-AC-11-00-02"},
                                           TMacCase{"UpperCase", "A0:B1:C2:D3:E4:F5", "A0-B1-C2-D3-E4-F5"},
                                           TMacCase{"AllZero", "00:00:00:00:00:00\n", ""},
                                           TMacCase{"FiveBytes", "02:42:ac:11:00", ""},
                                           TMacCase{"InfinibandLength", "80:00:00:48:fe:80:00:00:00:00:00:00:00:00:00:00:00:00:00:00", ""},
                                           TMacCase{"TrailingColon", "02:42:ac:11:00:02:", ""},
                                           TMacCase{"NotHex", "0g:42:ac:11:00:02", ""}, TMacCase{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(NetworkTest, MacAddressesInInterfaceOrder) {
  EXPECT_EQ(GetMACAddresses(SysFixture("desktop")), "00-1A-2B-3C-4D-5E,A0-B1-C2-D3-E4-F5");
  EXPECT_EQ(GetMACAddresses(SysFixture("laptop")), "");
}

}  // namespace
}  // namespace zentrix
