#include <gtest/gtest.h>

#include "Fixtures.h"
#include "sysinfo/PowerStatus.h"

namespace zentrix {
namespace {

using test::SysFixture;

TPowerSupplyInfo Supply(const char* uevent) { return ParsePowerSupplyUevent(uevent); }

const char* const kMainsOnline = "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n";
const char* const kMainsOffline = "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n";
const char* const kUsbOnline = "POWER_SUPPLY_TYPE=USB\nPOWER_SUPPLY_ONLINE=1\n";

struct TPowerCase {
  const char* Name;
  std::vector<const char*> Uevents;
  TPowerStatus Expected;
};

class PowerStatusTest : public ::testing::TestWithParam<TPowerCase> {};

TEST_P(PowerStatusTest, MapsTheSupplies) {
  std::vector<TPowerSupplyInfo> supplies;
  for (const char* u : GetParam().Uevents) supplies.push_back(Supply(u));
  const TPowerStatus got = PowerStatusFromSupplies(supplies);
  const TPowerStatus& want = GetParam().Expected;
  EXPECT_EQ(int(got.ACLineStatus), int(want.ACLineStatus));
  EXPECT_EQ(int(got.BatteryFlag), int(want.BatteryFlag));
  EXPECT_EQ(int(got.BatteryLifePercent), int(want.BatteryLifePercent));
  EXPECT_EQ(got.BatteryLifeTime, want.BatteryLifeTime);
  EXPECT_EQ(got.BatteryFullLifeTime, want.BatteryFullLifeTime);
}

constexpr std::uint32_t kNone = kPowerUnknownTime;

INSTANTIATE_TEST_SUITE_P(
    Machines, PowerStatusTest,
    ::testing::Values(
        TPowerCase{"DesktopWithoutSupplies", {}, {1, 128, 255, 0, kNone, kNone}},
        TPowerCase{"DesktopWithMains", {kMainsOnline}, {1, 128, 255, 0, kNone, kNone}},
        // A wireless mouse's battery is not the system's.
        TPowerCase{"PeripheralBatteryIgnored",
                   {kMainsOnline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\nPOWER_SUPPLY_CAPACITY=5\n"
                                  "POWER_SUPPLY_STATUS=Discharging\n"},
                   {1, 128, 255, 0, kNone, kNone}},
        TPowerCase{"AbsentBatteryIgnored", {"POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_PRESENT=0\n"}, {1, 128, 255, 0, kNone, kNone}},
        TPowerCase{"DischargingByEnergy",
                   {kMainsOffline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=22500000\n"
                                   "POWER_SUPPLY_ENERGY_FULL=39473684\nPOWER_SUPPLY_POWER_NOW=10000000\n"},
                   {0, 0, 57, 0, 8100, 14211}},
        TPowerCase{"DischargingByChargeWithNegativeCurrent",
                   {"POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_CHARGE_NOW=1000000\n"
                    "POWER_SUPPLY_CHARGE_FULL=4000000\nPOWER_SUPPLY_CURRENT_NOW=-2000000\n"},
                   {0, 2, 25, 0, 1800, 7200}},
        TPowerCase{"PowerFromCurrentAndVoltage",
                   {kMainsOffline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=10000000\n"
                                   "POWER_SUPPLY_ENERGY_FULL=10000000\nPOWER_SUPPLY_CURRENT_NOW=1000000\n"
                                   "POWER_SUPPLY_VOLTAGE_NOW=10000000\n"},
                   {0, 1, 100, 0, 3600, 3600}},
        TPowerCase{"ChargingHigh",
                   {kUsbOnline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_CAPACITY=80\n"},
                   {1, 9, 80, 0, kNone, kNone}},
        TPowerCase{"CriticalBelowFivePercent",
                   {kMainsOffline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_CAPACITY=4\n"},
                   {0, 4, 4, 0, kNone, kNone}},
        TPowerCase{"TwoBatteriesSummed",
                   {kMainsOffline,
                    "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=10\n"
                    "POWER_SUPPLY_ENERGY_FULL=40\nPOWER_SUPPLY_TIME_TO_EMPTY_NOW=600\n",
                    "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Unknown\nPOWER_SUPPLY_ENERGY_NOW=30\n"
                    "POWER_SUPPLY_ENERGY_FULL=40\nPOWER_SUPPLY_TIME_TO_EMPTY_NOW=900\n"},
                   {0, 0, 50, 0, 1500, kNone}},
        TPowerCase{"NoMainsSupplyButFull", {"POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Full\nPOWER_SUPPLY_CAPACITY=100\n"},
                   {1, 1, 100, 0, kNone, kNone}},
        TPowerCase{"NothingKnownOfTheBattery", {"POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Unknown\n"},
                   {255, 255, 255, 0, kNone, kNone}},
        TPowerCase{"OverfullBatteryCapped",
                   {kMainsOnline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Not charging\nPOWER_SUPPLY_ENERGY_NOW=52\n"
                                  "POWER_SUPPLY_ENERGY_FULL=50\nPOWER_SUPPLY_POWER_NOW=0\n"},
                   {1, 1, 100, 0, kNone, kNone}},
        TPowerCase{"NoDrainNoTime",
                   {kMainsOffline, "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=5\n"
                                   "POWER_SUPPLY_ENERGY_FULL=10\nPOWER_SUPPLY_POWER_NOW=0\n"},
                   {0, 0, 50, 0, kNone, kNone}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PowerStatusTreeTest, LaptopOnBattery) {
  const std::vector<TPowerSupplyInfo> supplies = ReadPowerSupplies(SysFixture("laptop"));
  ASSERT_EQ(supplies.size(), 3u);
  EXPECT_EQ(supplies[0].Name, "AC");
  const TPowerStatus s = ReadPowerStatus(SysFixture("laptop"));
  EXPECT_EQ(s.ACLineStatus, 0);
  EXPECT_EQ(s.BatteryFlag, 0);
  EXPECT_EQ(s.BatteryLifePercent, 57);
  EXPECT_EQ(s.BatteryLifeTime, 8100u);  // 2 h 15 min
}

TEST(PowerStatusTreeTest, DesktopWithoutPowerSupplyFolder) {
  const TPowerStatus s = ReadPowerStatus(SysFixture("desktop"));
  EXPECT_EQ(s.ACLineStatus, 1);
  EXPECT_EQ(s.BatteryFlag, kPowerNoBattery);
}

TEST(PowerSupplyUeventTest, KeepsOnlyWellFormedNumbers) {
  const TPowerSupplyInfo s = Supply(
      "POWER_SUPPLY_NAME=BAT1\nPOWER_SUPPLY_CAPACITY=abc\nPOWER_SUPPLY_ENERGY_NOW=12x\nPOWER_SUPPLY_CURRENT_NOW=-300\n"
      "POWER_SUPPLY_VOLTAGE_NOW=99999999999999999999\nPOWER_SUPPLY_ONLINE\nOTHER=1\n");
  EXPECT_EQ(s.Name, "BAT1");
  EXPECT_FALSE(s.Capacity);
  EXPECT_FALSE(s.EnergyNow);
  EXPECT_EQ(s.CurrentNow, -300);
  EXPECT_FALSE(s.VoltageNow);
  EXPECT_FALSE(s.Online);
}

struct TCaptionCase {
  const char* Name;
  std::uint8_t Line, Percent;
  const char* Expected;
};

class PowerCaptionTest : public ::testing::TestWithParam<TCaptionCase> {};

TEST_P(PowerCaptionTest, Caption) {
  TPowerStatus s;
  s.ACLineStatus = GetParam().Line;
  s.BatteryLifePercent = GetParam().Percent;
  EXPECT_EQ(PowerCaption(s, EnglishTexts()), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Captions, PowerCaptionTest,
                         ::testing::Values(TCaptionCase{"OnLine", 1, 255, "AC"}, TCaptionCase{"LineUnknown", 255, 40, "AC"},
                                           TCaptionCase{"PercentUnknown", 0, 255, "Bat: ?"},
                                           TCaptionCase{"Full", 0, 100, "Bat: 100%"}, TCaptionCase{"Half", 0, 57, "Bat: 57%"}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zentrix
