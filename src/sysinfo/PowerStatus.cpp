#include "sysinfo/PowerStatus.h"

#include <dirent.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

bool IsLineSupply(const std::string& type) {
  return type == "Mains" || type == "Wireless" || type.rfind("USB", 0) == 0;
}

bool IsSystemBattery(const TPowerSupplyInfo& s) {
  return s.Type == "Battery" && s.Scope != "Device" && s.Present.value_or(1) != 0;
}

// Sum of one figure over all batteries, or nothing when any battery lacks it.
std::optional<double> SumOf(const std::vector<const TPowerSupplyInfo*>& batteries,
                            std::optional<std::int64_t> TPowerSupplyInfo::*field) {
  double sum = 0;
  for (const TPowerSupplyInfo* b : batteries) {
    const auto& value = b->*field;
    if (!value || *value < 0) return std::nullopt;
    sum += static_cast<double>(*value);
  }
  return sum;
}

// Some drivers give the discharge rate a negative sign.
std::optional<double> Magnitude(const std::optional<std::int64_t>& value) {
  if (!value) return std::nullopt;
  return std::fabs(static_cast<double>(*value));
}

std::uint32_t Seconds(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return kPowerUnknownTime;
  return seconds >= 4294967294.0 ? 0xFFFFFFFE : static_cast<std::uint32_t>(std::llround(seconds));
}

// Remaining seconds of the batteries from (now, full) of energy or charge and the drain rate.
void LifeTimes(const std::vector<const TPowerSupplyInfo*>& batteries, TPowerStatus& status) {
  double drainPower = 0, drainCurrent = 0;
  bool havePower = true, haveCurrent = true;
  double timeToEmpty = 0;
  bool haveTimeToEmpty = true;
  for (const TPowerSupplyInfo* b : batteries) {
    auto power = Magnitude(b->PowerNow);
    const auto current = Magnitude(b->CurrentNow);
    const auto voltage = Magnitude(b->VoltageNow);
    if (!power && current && voltage) power = *current * *voltage / 1e6;
    if (power) drainPower += *power; else havePower = false;
    if (current) drainCurrent += *current; else haveCurrent = false;
    if (b->TimeToEmptyNow && *b->TimeToEmptyNow >= 0) timeToEmpty += static_cast<double>(*b->TimeToEmptyNow);
    else haveTimeToEmpty = false;
  }
  const auto energyNow = SumOf(batteries, &TPowerSupplyInfo::EnergyNow);
  const auto energyFull = SumOf(batteries, &TPowerSupplyInfo::EnergyFull);
  const auto chargeNow = SumOf(batteries, &TPowerSupplyInfo::ChargeNow);
  const auto chargeFull = SumOf(batteries, &TPowerSupplyInfo::ChargeFull);
  if (haveTimeToEmpty && !batteries.empty()) {
    status.BatteryLifeTime = Seconds(timeToEmpty);
  } else if (energyNow && havePower && drainPower > 0) {
    status.BatteryLifeTime = Seconds(*energyNow / drainPower * 3600);
  } else if (chargeNow && haveCurrent && drainCurrent > 0) {
    status.BatteryLifeTime = Seconds(*chargeNow / drainCurrent * 3600);
  }
  if (energyFull && havePower && drainPower > 0) {
    status.BatteryFullLifeTime = Seconds(*energyFull / drainPower * 3600);
  } else if (chargeFull && haveCurrent && drainCurrent > 0) {
    status.BatteryFullLifeTime = Seconds(*chargeFull / drainCurrent * 3600);
  }
}

}  // namespace

TPowerSupplyInfo ParsePowerSupplyUevent(std::string_view text) {
  TPowerSupplyInfo info;
  constexpr std::string_view kPrefix = "POWER_SUPPLY_";
  for (const std::string_view raw : systext::SplitLines(text)) {
    const std::string_view line = systext::Trim(raw);
    if (line.substr(0, kPrefix.size()) != kPrefix) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = line.substr(kPrefix.size(), eq - kPrefix.size());
    const std::string_view value = line.substr(eq + 1);
    const auto number = [&]() -> std::optional<std::int64_t> {
      std::string_view rest;
      const auto n = systext::ParseSigned(value, &rest);
      if (!n || !systext::Trim(rest).empty()) return std::nullopt;
      return n;
    };
    if (key == "NAME") info.Name = value;
    else if (key == "TYPE") info.Type = value;
    else if (key == "STATUS") info.Status = value;
    else if (key == "SCOPE") info.Scope = value;
    else if (key == "ONLINE") info.Online = number();
    else if (key == "PRESENT") info.Present = number();
    else if (key == "CAPACITY") info.Capacity = number();
    else if (key == "ENERGY_NOW") info.EnergyNow = number();
    else if (key == "ENERGY_FULL") info.EnergyFull = number();
    else if (key == "CHARGE_NOW") info.ChargeNow = number();
    else if (key == "CHARGE_FULL") info.ChargeFull = number();
    else if (key == "POWER_NOW") info.PowerNow = number();
    else if (key == "CURRENT_NOW") info.CurrentNow = number();
    else if (key == "VOLTAGE_NOW") info.VoltageNow = number();
    else if (key == "TIME_TO_EMPTY_NOW") info.TimeToEmptyNow = number();
  }
  return info;
}

TPowerStatus PowerStatusFromSupplies(const std::vector<TPowerSupplyInfo>& supplies) {
  TPowerStatus status;
  std::vector<const TPowerSupplyInfo*> batteries;
  bool haveLine = false, lineOnline = false;
  for (const TPowerSupplyInfo& s : supplies) {
    if (IsSystemBattery(s)) batteries.push_back(&s);
    if (IsLineSupply(s.Type)) {
      haveLine = true;
      if (s.Online.value_or(0) == 1) lineOnline = true;
    }
  }
  const auto anyStatus = [&](std::string_view what) {
    return std::any_of(batteries.begin(), batteries.end(), [&](const auto* b) { return b->Status == what; });
  };
  const bool charging = anyStatus("Charging");
  const bool discharging = anyStatus("Discharging");
  const bool allCharged = !batteries.empty() && std::all_of(batteries.begin(), batteries.end(), [](const auto* b) {
    return b->Status == "Charging" || b->Status == "Full" || b->Status == "Not charging";
  });

  if (haveLine) status.ACLineStatus = lineOnline ? 1 : 0;
  else if (batteries.empty() || allCharged) status.ACLineStatus = 1;
  else if (discharging) status.ACLineStatus = 0;
  else status.ACLineStatus = 255;

  if (batteries.empty()) {
    status.BatteryFlag = kPowerNoBattery;
    return status;
  }

  std::optional<double> percent;
  const auto energyNow = SumOf(batteries, &TPowerSupplyInfo::EnergyNow);
  const auto energyFull = SumOf(batteries, &TPowerSupplyInfo::EnergyFull);
  const auto chargeNow = SumOf(batteries, &TPowerSupplyInfo::ChargeNow);
  const auto chargeFull = SumOf(batteries, &TPowerSupplyInfo::ChargeFull);
  const auto capacity = SumOf(batteries, &TPowerSupplyInfo::Capacity);
  if (energyNow && energyFull && *energyFull > 0) percent = *energyNow * 100 / *energyFull;
  else if (chargeNow && chargeFull && *chargeFull > 0) percent = *chargeNow * 100 / *chargeFull;
  else if (capacity) percent = *capacity / static_cast<double>(batteries.size());

  if (percent) {
    const int value = std::clamp(RoundHalfEven(*percent), 0, 100);
    status.BatteryLifePercent = static_cast<std::uint8_t>(value);
    status.BatteryFlag = value > 66 ? kPowerHigh : value < 5 ? kPowerCritical : value < 33 ? kPowerLow : 0;
    if (charging) status.BatteryFlag |= kPowerCharging;
  } else {
    status.BatteryFlag = charging ? kPowerCharging : 255;
  }
  if (status.ACLineStatus == 0 && discharging) LifeTimes(batteries, status);
  return status;
}

std::vector<TPowerSupplyInfo> ReadPowerSupplies(const std::string& root) {
  std::vector<TPowerSupplyInfo> supplies;
  const std::string folder = root + "/sys/class/power_supply";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return supplies;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string base = folder + "/" + name + "/";
    const auto uevent = systext::ReadFile(base + "uevent", 64 * 1024);
    if (!uevent) continue;
    TPowerSupplyInfo info = ParsePowerSupplyUevent(*uevent);
    if (info.Name.empty()) info.Name = name;
    if (info.Type.empty())
      if (const auto type = systext::ReadFile(base + "type", 4096)) info.Type = systext::Trim(*type);
    supplies.push_back(std::move(info));
  }
  return supplies;
}

TPowerStatus ReadPowerStatus(const std::string& root) { return PowerStatusFromSupplies(ReadPowerSupplies(root)); }

std::string PowerCaption(const TPowerStatus& status, const TInterfaceTexts& texts) {
  if (status.ACLineStatus != 0) return texts.Get("lc_AC", "AC");
  if (status.BatteryLifePercent > 100) return "Bat: ?";
  return "Bat: " + std::to_string(status.BatteryLifePercent) + "%";
}

}  // namespace zentrix
