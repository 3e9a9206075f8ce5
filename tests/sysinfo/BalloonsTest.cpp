#include <gtest/gtest.h>

#include "Fixtures.h"
#include "core/Clock.h"
#include "sysinfo/Balloons.h"
#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

using test::SysFixture;

struct TPowerBalloonCase {
  const char* Name;
  TPowerStatus Status;
  const char* Message;
};

class PowerBalloonTest : public ::testing::TestWithParam<TPowerBalloonCase> {};

TEST_P(PowerBalloonTest, Text) {
  const TBalloonText b = PowerBalloon(GetParam().Status, EnglishTexts());
  EXPECT_EQ(b.Header, "Power Information");
  EXPECT_EQ(b.Icon, 20);
  EXPECT_EQ(b.Message, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    States, PowerBalloonTest,
    ::testing::Values(
        TPowerBalloonCase{"DesktopWithoutBattery", {1, 128, 255, 0, kPowerUnknownTime, kPowerUnknownTime},
                          "Power Supply: AC\r\n\r\nStatus: No Battery"},
        TPowerBalloonCase{"OnBattery", {0, 0, 57, 0, 8100, kPowerUnknownTime},
                          "\r\nPower Supply: Battery\r\n\r\nStatus: Discharging (57%)\r\nRemaining Time: 00.00.00 02:15:00"},
        TPowerBalloonCase{"ChargingHigh", {1, 9, 80, 0, kPowerUnknownTime, kPowerUnknownTime},
                          "Power Supply: AC\r\n\r\nStatus: Charged, Charging (80%)"},
        TPowerBalloonCase{"LineUnknownReadsBattery", {255, 2, 20, 0, kPowerUnknownTime, kPowerUnknownTime},
                          "Power Supply: Battery\r\n\r\nStatus: Half-charged (20%)"},
        TPowerBalloonCase{"NoWordsForUnusedBits", {1, 16, 50, 0, kPowerUnknownTime, kPowerUnknownTime},
                          "Power Supply: AC\r\n\r\nStatus:  (50%)"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PowerBalloonTest, FromTheLaptopTree) {
  EXPECT_EQ(PowerBalloon(ReadPowerStatus(SysFixture("laptop")), EnglishTexts()).Message,
            "\r\nPower Supply: Battery\r\n\r\nStatus: Discharging (57%)\r\nRemaining Time: 00.00.00 02:15:00");
}

TEST(PowerBalloonTest, TakesTheLanguagesTexts) {
  TInterfaceTexts czech;
  czech.Apply({{"lc_PowerInfo", "Napájení"}, {"lc_Power", "Zdroj"}, {"lc_AC", "Síť"}, {"lc_NoBattery", "Bez baterie"}});
  const TBalloonText b = PowerBalloon({1, 128, 255, 0, kPowerUnknownTime, kPowerUnknownTime}, czech);
  EXPECT_EQ(b.Header, "Napájení");
  EXPECT_EQ(b.Message, "Zdroj: Síť\r\n\r\nStatus: Bez baterie");
}

TEST(CpuBalloonTest, IntelWithBrandString) {
  const TRecordedCpuid dump = TRecordedCpuid::Parse(*systext::ReadFile(SysFixture("cpuid/intel-core-i7-2600.txt")));
  TValtri_CPU cpu(dump, SysFixture("empty"), [](int) { return 3400u; });
  cpu.RefreshData();
  const TBalloonText b = CpuBalloon(cpu, EnglishTexts());
  EXPECT_EQ(b.Header, "CPU Information");
  EXPECT_EQ(b.Icon, 10);
  EXPECT_EQ(b.Message,
            "1 x Intel Core i7-2600 - 3400 Mhz\r\n\r\nCore Count: 4\r\nThread Count: 8\r\n\r\n"
            "Cache L1: 64 KB (32 KB Data + 32 KB Instruction)\r\nCache L2: 256 KB\r\nCache L3: 8192 KB");
}

TEST(CpuBalloonTest, NoNameAtAll) {
  const TRecordedCpuid dump = TRecordedCpuid::Parse(*systext::ReadFile(SysFixture("cpuid/intel-pentium-iii.txt")));
  TValtri_CPU cpu(dump, SysFixture("empty"), [](int) { return 1833u; });
  cpu.RefreshData();
  EXPECT_EQ(CpuBalloon(cpu, EnglishTexts()).Message.substr(0, 19), "1 x  - 1833 Mhz\r\n\r\n");
}

const TDayText kDayName = [](TDateTime d) { return "Name" + std::to_string(DayOfYear(d)); };
const TDayText kHebrew = [](TDateTime d) { return "H" + std::to_string(DecodeDateTime(d).Day); };

TEST(DateBalloonTest, WeekdayDates) {
  const TFixedClock clock(EncodeDateTime({2013, 3, 1, 15, 30, 0, 0}));
  const TBalloonText b = DateBalloon(clock, 0, kDayName, kHebrew, EnglishTexts());
  EXPECT_EQ(b.Header, "Daynames");
  EXPECT_EQ(b.Icon, 3);
  EXPECT_EQ(b.Message,
            "Name59 - Thursday, 28.2.2013\r\nName60 - Friday, 1.3.2013\r\nName61 - Saturday, 2.3.2013\r\n"
            "Name62 - Sunday, 3.3.2013\r\nName63 - Monday, 4.3.2013\r\nName64 - Tuesday, 5.3.2013\r\n"
            "Name65 - Wednesday, 6.3.2013\r\nName66 - Thursday, 7.3.2013");
}

TEST(DateBalloonTest, HebrewAndOtherFormats) {
  const TFixedClock clock(EncodeDate(2013, 12, 31));
  const std::string hebrew = DateBalloon(clock, 1, kDayName, kHebrew, EnglishTexts()).Message;
  EXPECT_EQ(hebrew.substr(0, 15), "Name364 - H30\r\n");
  EXPECT_EQ(hebrew.substr(hebrew.size() - 10), "Name6 - H6");
  EXPECT_EQ(DateBalloon(clock, 2, kDayName, kHebrew, EnglishTexts()).Message, "");
}

TEST(CountdownBalloonTest, WithAndWithoutDate) {
  TBalloonText b = CountdownBalloon("Holiday", EncodeDateTime({2013, 7, 1, 8, 30, 0, 0}));
  EXPECT_EQ(b.Header, "Holiday");
  EXPECT_EQ(b.Icon, 25);
  EXPECT_EQ(b.Message, "2013-07-01 08:30:00");
  EXPECT_EQ(CountdownBalloon("Holiday", EncodeDate(2013, 7, 1)).Message, "2013-07-01");
  b = CountdownBalloon("Holiday", 0);
  EXPECT_EQ(b.Header, "Holiday");
  EXPECT_EQ(b.Message, "");
}

TEST(MemoryBalloonTest, WholeMegabytesWithSeparators) {
  TMemoryStatus m;
  m.PhysicalTotal = 16384000LL * 1024;  // 16 000 MB
  m.PhysicalFree = 8192000LL * 1024 + 524288;  // 8 000.5 MB
  m.PageFileTotal = 18481152LL * 1024;
  m.PageFileFree = 1048575;  // 0.99999 MB
  m.VirtualTotal = 140737488347136;  // 128 TiB
  m.VirtualFree = 0;
  const TBalloonText b = MemoryBalloon(m, EnglishTexts(), ".");
  EXPECT_EQ(b.Header, "Memory Information");
  EXPECT_EQ(b.Icon, 12);
  EXPECT_EQ(b.Message,
            "Physical Memory: 16.000 MB (8.001 MB free)\r\nPaging File: 18.048 MB (1 MB free)\r\n"
            "Virtual Memory: 134.217.728 MB (0 MB free)");
}

TEST(SystemBalloonTest, WorkgroupMachine) {
  TSystemFacts facts;
  facts.OsRelease = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"";
  facts.Machine = "x86_64";
  facts.HostName = "office-pc";
  facts.UserName = "anna";
  facts.SambaConf = "[global]\nworkgroup=OFFICE\n";
  const TStartupValues values = BuildStartupValues(facts);
  const TBalloonText b = SystemBalloon(values, EncodeDateTime({2013, 3, 20, 7, 15, 0, 0}), "192.168.1.5,10.0.0.7",
                                       "00-1A-2B-3C-4D-5E", EnglishTexts());
  EXPECT_EQ(b.Header, "Debian GNU/Linux 12 (bookworm) x86_64");
  EXPECT_EQ(b.Icon, 11);
  EXPECT_EQ(b.Message,
            "System Start: 2013-03-20 07:15:00\r\nInstalled: \r\n\r\nMachine Name: OFFICE-PC\r\n"
            "Domain Name: OFFICE-PC\r\nUser: anna\r\n\r\nIP Address: 192.168.1.5,10.0.0.7\r\n"
            "MAC Address: 00-1A-2B-3C-4D-5E");
}

TEST(TimeBalloonTest, ZoneWithDaylightSaving) {
  const TFixedClock clock(EncodeDate(2013, 1, 15));
  TValtri_TimeZone zone(SysFixture("desktop"), std::nullopt, clock);
  zone.RefreshData();
  const TBalloonText b = TimeBalloon(zone, EnglishTexts());
  EXPECT_EQ(b.Header, "TimeZone");
  EXPECT_EQ(b.Icon, 7);
  EXPECT_EQ(b.Message, "Europe/Prague\r\n\r\nCET: 2013-10-27 03:00:00\r\nCEST: 2013-03-31 02:00:00");
}

TEST(TimeBalloonTest, ZoneWithoutDaylightSaving) {
  TValtri_TimeZone zone(SysFixture("laptop"));
  zone.RefreshData();
  EXPECT_EQ(TimeBalloon(zone, EnglishTexts()).Message, "Asia/Tokyo\r\n\r\nJST: \r\nJST: ");
}

}  // namespace
}  // namespace zentrix
