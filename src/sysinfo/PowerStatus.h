#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/InterfaceTexts.h"

namespace zentrix {

// The power-status record the power panel and its balloon read.
struct TPowerStatus {
  std::uint8_t ACLineStatus = 255;        // 0 off line, 1 on line, 255 unknown
  std::uint8_t BatteryFlag = 255;         // see the kPower* bits; 255 unknown
  std::uint8_t BatteryLifePercent = 255;  // 0..100, 255 unknown
  std::uint8_t Reserved1 = 0;
  std::uint32_t BatteryLifeTime = 0xFFFFFFFF;      // seconds left, all bits set when unknown
  std::uint32_t BatteryFullLifeTime = 0xFFFFFFFF;  // seconds a full battery lasts, ditto
};

inline constexpr std::uint8_t kPowerHigh = 1;
inline constexpr std::uint8_t kPowerLow = 2;
inline constexpr std::uint8_t kPowerCritical = 4;
inline constexpr std::uint8_t kPowerCharging = 8;
inline constexpr std::uint8_t kPowerNoBattery = 128;
inline constexpr std::uint32_t kPowerUnknownTime = 0xFFFFFFFF;

// One supply of /sys/class/power_supply, from its uevent file (POWER_SUPPLY_*=value lines).
// Energies are in µWh, charges in µAh, power in µW, current in µA, voltage in µV.
struct TPowerSupplyInfo {
  std::string Name;
  std::string Type;    // "Mains", "Battery", "USB", ...
  std::string Status;  // "Charging", "Discharging", "Full", "Not charging", "Unknown"
  std::string Scope;   // "Device" for the battery of a mouse or a headset
  std::optional<std::int64_t> Online, Present, Capacity;
  std::optional<std::int64_t> EnergyNow, EnergyFull, ChargeNow, ChargeFull;
  std::optional<std::int64_t> PowerNow, CurrentNow, VoltageNow, TimeToEmptyNow;
};

TPowerSupplyInfo ParsePowerSupplyUevent(std::string_view text);

// How the Linux supplies map to the record:
//   Batteries are the supplies of type Battery that are present and not of Device scope.
//   ACLineStatus: 1 when a supply of type Mains, USB* or Wireless is online, 0 when there are
//     such supplies and none is online; without any, 0 when a battery discharges, 1 when the
//     batteries charge or are full, and 1 on a machine without batteries (a desktop runs on
//     mains); 255 otherwise.
//   BatteryLifePercent: energy_now / energy_full summed over the batteries, else charge_now /
//     charge_full, else the mean capacity, rounded and kept within 0..100; 255 when unknown.
//   BatteryFlag: 128 without batteries; otherwise high (1) above 66 %, low (2) from 5 to 32 %,
//     critical (4) below 5 %, plus charging (8) when a battery charges; 255 when the percent is
//     unknown and no battery says it charges.
//   BatteryLifeTime, while off line and discharging: time_to_empty_now, else energy_now /
//     power_now (power from current_now x voltage_now when missing), else charge_now /
//     current_now, in seconds; BatteryFullLifeTime likewise from the full figures. Unknown or
//     on line: all bits set.
TPowerStatus PowerStatusFromSupplies(const std::vector<TPowerSupplyInfo>& supplies);

// Reads every supply under root + /sys/class/power_supply, in name order.
std::vector<TPowerSupplyInfo> ReadPowerSupplies(const std::string& root);
TPowerStatus ReadPowerStatus(const std::string& root = {});

// The power panel's caption: "AC" unless the line is off, then "Bat: %d%%" or "Bat: ?".
std::string PowerCaption(const TPowerStatus& status, const TInterfaceTexts& texts);

}  // namespace zentrix
