#include "sysinfo/Balloons.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/FormatDuration.h"

namespace zentrix {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string Labelled(const std::string& label, const std::string& value) { return label + ": " + value; }

std::string TrimBlanksAndBreaks(const std::string& text) {
  const auto junk = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
  std::size_t begin = 0, end = text.size();
  while (begin < end && junk(text[begin])) ++begin;
  while (end > begin && junk(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Megabytes(std::int64_t bytes, const std::string& separator) {
  return GroupThousands(std::llround(static_cast<double>(bytes) / 1048576.0), separator);
}

}  // namespace

std::string DefaultDateTimeText(TDateTime value) {
  if (value == 0) return {};
  const TDateParts p = DecodeDateTime(value);
  char text[48];
  if (p.Hour == 0 && p.Minute == 0 && p.Second == 0 && p.Millisecond == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second);
  return text;
}

std::string GroupThousands(long long value, const std::string& separator) {
  const bool negative = value < 0;
  std::string digits = std::to_string(value);
  if (negative) digits.erase(0, 1);
  std::string result;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += separator;
    result += digits[i];
  }
  return negative ? "-" + result : result;
}

TBalloonText PowerBalloon(const TPowerStatus& status, const TInterfaceTexts& texts) {
  TBalloonText b;
  b.Header = texts.Get("lc_PowerInfo", "Power Information");
  b.Icon = 20;
  std::string text = Labelled(texts.Get("lc_Power", "Power Supply"),
                              status.ACLineStatus == 1 ? texts.Get("lc_AC", "AC") : texts.Get("lc_Battery", "Battery")) +
                     kCrLf + kCrLf;
  const std::uint8_t flag = status.BatteryFlag;
  std::string words;
  if (flag == 0) words += texts.Get("lc_Discharging", "Discharging") + ", ";
  if (flag & kPowerHigh) words += texts.Get("lc_Charged", "Charged") + ", ";
  if (flag & kPowerLow) words += texts.Get("lc_HalfCharged", "Half-charged") + ", ";
  if (flag & kPowerCritical) words += texts.Get("lc_Discharged", "Discharged") + ", ";
  if (flag & kPowerCharging) words += texts.Get("lc_Charging", "Charging") + ", ";
  if (flag & kPowerNoBattery) words += texts.Get("lc_NoBattery", "No Battery") + ", ";
  if (words.size() >= 2) words.erase(words.size() - 2);
  const bool battery = !(flag & kPowerNoBattery);
  if (battery) words += " (" + std::to_string(status.BatteryLifePercent) + "%)";
  text += Labelled(texts.Get("lc_Status", "Status"), words);
  if (battery && status.BatteryLifeTime != kPowerUnknownTime)
    text = kCrLf + text + kCrLf + Labelled(texts.Get("lc_RemainTime", "Remaining Time"), FormatDuration(status.BatteryLifeTime));
  b.Message = text;
  return b;
}

TBalloonText CpuBalloon(const TValtri_CPU& cpu, const TInterfaceTexts& texts) {
  TBalloonText b;
  b.Header = texts.Get("lc_CPUInfo", "CPU Information");
  b.Icon = 10;
  const std::string name =
      cpu.CPUName().empty() ? cpu.MarketingName() : std::string(VendorInfo(cpu.Vendor()).Prefix) + " " + cpu.CPUName();
  const TCPUCache& cache = cpu.Cache();
  std::string& m = b.Message;
  m = std::to_string(cpu.CPUPhysicalCount()) + " x " + name + " - " + std::to_string(cpu.Frequency()) + " Mhz" + kCrLf + kCrLf;
  m += Labelled(texts.Get("lc_CoreCount", "Core Count"), std::to_string(cpu.CoreCount())) + kCrLf;
  m += Labelled(texts.Get("lc_ThreadCount", "Thread Count"), std::to_string(cpu.ThreadCount())) + kCrLf + kCrLf;
  m += "Cache L1: " + std::to_string(cache.Level1Code.Size + cache.Level1Data.Size) + " KB (" +
       std::to_string(cache.Level1Data.Size) + " KB Data + " + std::to_string(cache.Level1Code.Size) + " KB Instruction)" + kCrLf;
  m += "Cache L2: " + std::to_string(cache.Level2.Size) + " KB" + kCrLf;
  m += "Cache L3: " + std::to_string(cache.Level3.Size) + " KB";
  return b;
}

TBalloonText DateBalloon(const TClock& clock, int dateFormat, const TDayText& dayName, const TDayText& hebrewDate,
                         const TInterfaceTexts& texts) {
  static const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  TBalloonText b;
  b.Header = texts.Get("lc_DayNames", "Daynames");
  b.Icon = 3;
  const TDateTime today = DateOf(clock.NowLocal());
  std::string text;
  for (int offset = -1; offset <= 6; ++offset) {
    const TDateTime d = today + offset;
    if (dateFormat == 0) {
      const TDateParts p = DecodeDateTime(d);
      text += (dayName ? dayName(d) : std::string()) + " - " + kWeekdays[DayOfWeek(d) - 1] + ", " + std::to_string(p.Day) +
              "." + std::to_string(p.Month) + "." + std::to_string(p.Year) + kCrLf;
    } else if (dateFormat == 1) {
      text += (dayName ? dayName(d) : std::string()) + " - " + (hebrewDate ? hebrewDate(d) : std::string()) + kCrLf;
    }
  }
  b.Message = TrimBlanksAndBreaks(text);
  return b;
}

TBalloonText CountdownBalloon(const std::string& eventName, TDateTime eventDate, const TDateTimeText& dateTimeText) {
  TBalloonText b;
  b.Header = eventName;
  b.Icon = 25;
  if (eventDate > 0) b.Message = dateTimeText(eventDate);
  return b;
}

TBalloonText MemoryBalloon(const TMemoryStatus& memory, const TInterfaceTexts& texts, const std::string& thousandsSeparator) {
  TBalloonText b;
  b.Header = texts.Get("lc_MemInfo", "Memory Information");
  b.Icon = 12;
  const std::string free = texts.Get("lc_Free", "free");
  const auto line = [&](const std::string& label, std::int64_t total, std::int64_t available) {
    return label + ": " + Megabytes(total, thousandsSeparator) + " MB (" + Megabytes(available, thousandsSeparator) + " MB " +
           free + ")";
  };
  b.Message = line(texts.Get("lc_PhysMem", "Physical Memory"), memory.PhysicalTotal, memory.PhysicalFree) + kCrLf +
              line(texts.Get("lc_PageFile", "Paging File"), memory.PageFileTotal, memory.PageFileFree) + kCrLf +
              line(texts.Get("lc_VirtMem", "Virtual Memory"), memory.VirtualTotal, memory.VirtualFree);
  return b;
}

TBalloonText SystemBalloon(const TStartupValues& values, TDateTime systemStart, const std::string& ipAddresses,
                           const std::string& macAddresses, const TInterfaceTexts& texts, const TDateTimeText& dateTimeText) {
  TBalloonText b;
  b.Header = values.OSNameText;
  b.Icon = 11;
  std::string& m = b.Message;
  m = Labelled(texts.Get("lc_SystemStart", "System Start"), dateTimeText(systemStart)) + kCrLf;
  m += Labelled(texts.Get("lc_Installed", "Installed"), dateTimeText(values.InstallDate)) + kCrLf + kCrLf;
  m += Labelled(texts.Get("lc_MachineName", "Machine Name"), values.MachineName) + kCrLf;
  m += Labelled(texts.Get("lc_DomainName", "Domain Name"), values.DomainName) + kCrLf;
  m += Labelled(texts.Get("lc_User", "User"), values.UserName) + kCrLf + kCrLf;
  m += Labelled(texts.Get("lc_IPAddress", "IP Address"), ipAddresses) + kCrLf;
  m += Labelled(texts.Get("lc_MACAddress", "MAC Address"), macAddresses);
  return b;
}

TBalloonText TimeBalloon(const TValtri_TimeZone& zone, const TInterfaceTexts& texts, const TDateTimeText& dateTimeText) {
  TBalloonText b;
  b.Header = texts.Get("lc_Timezone", "TimeZone");
  b.Icon = 7;
  b.Message = zone.DisplayName() + kCrLf + kCrLf + Labelled(zone.StandardName(), dateTimeText(zone.StandardStart())) + kCrLf +
              Labelled(zone.DaylightName(), dateTimeText(zone.DaylightStart()));
  return b;
}

}  // namespace zentrix
