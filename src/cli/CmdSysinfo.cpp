#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "core/Clock.h"
#include "core/FormatDuration.h"
#include "core/InterfaceTexts.h"
#include "sysinfo/Balloons.h"
#include "sysinfo/CpuidSource.h"
#include "sysinfo/PowerStatus.h"
#include "sysinfo/QDX_CPU.h"
#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/QDX_Memory.h"
#include "sysinfo/QDX_OS.h"
#include "sysinfo/SysText.h"

namespace zentrix::cli {
namespace {

// Options every reading understands: a fixture tree in place of /, a recorded processor, a
// fixed clock and a zone.
struct TSysOptions {
  std::string Root;
  std::optional<std::string> CpuidDump;
  std::optional<std::uint32_t> Mhz;
  std::optional<TDateTime> Now;
  std::optional<std::string> TZ;
};

TSysOptions TakeOptions(std::vector<std::string>& args) {
  TSysOptions o;
  if (auto root = TakeOption(args, "--root")) o.Root = *root;
  o.CpuidDump = TakeOption(args, "--cpuid-dump");
  if (auto mhz = TakeOption(args, "--mhz")) {
    const std::int64_t value = ParseInteger(*mhz, "MHZ");
    if (value < 0 || value > 100000) throw EUsage("MHZ must be 0 to 100000");
    o.Mhz = static_cast<std::uint32_t>(value);
  }
  if (auto now = TakeOption(args, "--now")) o.Now = ParseInstant(*now, "NOW");
  if (auto tz = TakeOption(args, "--tz")) o.TZ = *tz;
  else if (const char* env = std::getenv("TZ")) o.TZ = std::string(env);
  return o;
}

const TClock& ClockOf(const TSysOptions& o, std::unique_ptr<TFixedClock>& holder) {
  if (!o.Now) return SystemClock();
  holder = std::make_unique<TFixedClock>(*o.Now);
  return *holder;
}

std::unique_ptr<TCpuidSource> CpuidOf(const TSysOptions& o) {
  if (!o.CpuidDump) return std::make_unique<TNativeCpuid>();
  const auto text = systext::ReadFile(*o.CpuidDump, 4 << 20);
  if (!text) throw EZentrixError("Cannot read the cpuid dump " + *o.CpuidDump);
  return std::make_unique<TRecordedCpuid>(TRecordedCpuid::Parse(*text));
}

TFrequencyMeter MeterOf(const TSysOptions& o) {
  if (o.Mhz) return [mhz = *o.Mhz](int) { return mhz; };
  return MeasureNativeFrequency;
}

void PrintBalloon(const TBalloonText& b, std::ostream& out) {
  out << b.Header << '\n';
  std::string message = b.Message;
  for (std::size_t at; (at = message.find("\r\n")) != std::string::npos;) message.replace(at, 2, "\n");
  if (!message.empty()) out << message << '\n';
}

// The day name the bar falls back to without a day-names list: the word "Day" and the day's
// number in a leap year (1 March is always day 61).
std::string FallbackDayName(TDateTime date, const TInterfaceTexts& texts) {
  const TDateParts p = DecodeDateTime(date);
  int index = DayOfYear(date);
  if (!IsLeapYear(p.Year) && p.Month > 2) ++index;
  return texts.Get("lc_Day", "Day") + " " + std::to_string(index);
}

void PrintCpu(const TValtri_CPU& cpu, std::ostream& out) {
  const TCPUCache& c = cpu.Cache();
  out << "Vendor: " << VendorInfo(cpu.Vendor()).Name << "\n"
      << "MarketingName: " << cpu.MarketingName() << "\n"
      << "CPUName: " << cpu.CPUName() << "\n"
      << "GenericName: " << cpu.GenericName() << "\n"
      << "Family: " << cpu.Family() << "\nModel: " << cpu.Model() << "\nStepping: " << cpu.Stepping() << "\n"
      << "Frequency: " << cpu.Frequency() << " MHz\n"
      << "CPUCount: " << int(cpu.CPUCount()) << "\nCPUPhysicalCount: " << int(cpu.CPUPhysicalCount()) << "\n"
      << "CorePerPackage: " << int(cpu.CorePerPackage()) << "\nLogicalPerCore: " << int(cpu.LogicalPerCore()) << "\n"
      << "LogicalPerPackage: " << int(cpu.LogicalPerPackage()) << "\n"
      << "CoreCount: " << int(cpu.CoreCount()) << "\nThreadCount: " << int(cpu.ThreadCount()) << "\n";
  const std::pair<const char*, const TCacheDetails*> caches[] = {{"L1Code", &c.Level1Code}, {"L1Data", &c.Level1Data},
                                                                 {"L1Unified", &c.Level1Unified}, {"L2", &c.Level2},
                                                                 {"L3", &c.Level3}, {"Trace", &c.Trace}};
  for (const auto& [name, d] : caches)
    if (d->Typ != 0) out << name << ": " << d->Desc << "\n";
}

int RunSysinfo(const std::vector<std::string>& argsIn, TCliIo& io) {
  std::vector<std::string> args = argsIn;
  const TSysOptions o = TakeOptions(args);
  ExpectArgCount(args, 1, 1);
  const std::string& what = args[0];
  std::unique_ptr<TFixedClock> fixed;
  const TClock& clock = ClockOf(o, fixed);
  std::ostream& out = io.Out;
  if (what == "cpu") {
    const auto source = CpuidOf(o);
    TValtri_CPU cpu(*source, o.Root, MeterOf(o));
    cpu.RefreshData();
    PrintCpu(cpu, out);
  } else if (what == "cpuid") {
    out << FormatCpuidDump(*CpuidOf(o));
  } else if (what == "memory") {
    TValtri_Memory memory(o.Root);
    memory.RefreshData();
    const TMemoryStatus& m = memory.Status();
    out << "MemoryLoad: " << m.MemoryLoad << "\nPhysicalTotal: " << m.PhysicalTotal << "\nPhysicalFree: " << m.PhysicalFree
        << "\nPageFileTotal: " << m.PageFileTotal << "\nPageFileFree: " << m.PageFileFree << "\nVirtualTotal: " << m.VirtualTotal
        << "\nVirtualFree: " << m.VirtualFree << "\nMinAppAddress: 0x" << std::hex << m.MinAppAddress << "\nMaxAppAddress: 0x"
        << m.MaxAppAddress << std::dec << "\nPageSize: " << m.PageSize << "\nAllocGranularity: " << m.AllocGranularity
        << "\nCaption: Mem: " << m.MemoryLoad << "%\n";
  } else if (what == "power") {
    const TPowerStatus p = ReadPowerStatus(o.Root);
    out << "ACLineStatus: " << int(p.ACLineStatus) << "\nBatteryFlag: " << int(p.BatteryFlag)
        << "\nBatteryLifePercent: " << int(p.BatteryLifePercent) << "\nBatteryLifeTime: " << p.BatteryLifeTime
        << "\nBatteryFullLifeTime: " << p.BatteryFullLifeTime << "\nCaption: " << PowerCaption(p, EnglishTexts()) << "\n";
  } else if (what == "os") {
    const TStartupValues v = BuildStartupValues(ReadSystemFacts(o.Root));
    out << "OSName: " << v.OSName << "\nOSEdition: " << v.OSEdition << "\nServicePackText: " << v.ServicePackText
        << "\nOSNameText: " << v.OSNameText << "\nInstallDate: " << DefaultDateTimeText(v.InstallDate)
        << "\nMachineName: " << v.MachineName << "\nUserName: " << v.UserName << "\nDomainName: " << v.DomainName
        << "\nWorkgroupName: " << v.WorkgroupName << "\nDomainMember: " << (v.DomainMember ? "yes" : "no") << "\n";
  } else if (what == "timezone") {
    TValtri_TimeZone zone(o.Root, o.TZ, clock);
    zone.RefreshData();
    out << "DisplayName: " << zone.DisplayName() << "\nBias: " << zone.Bias() << "\nStandardName: " << zone.StandardName()
        << "\nStandardBias: " << zone.StandardBias() << "\nStandardStart: " << DefaultDateTimeText(zone.StandardStart())
        << "\nDaylightName: " << zone.DaylightName() << "\nDaylightBias: " << zone.DaylightBias()
        << "\nDaylightStart: " << DefaultDateTimeText(zone.DaylightStart()) << "\n";
  } else if (what == "uptime") {
    const double tick = TickSeconds();
    out << "TickSeconds: " << tick << "\nUptime: " << FormatDuration(tick)
        << "\nSystemStart: " << DefaultDateTimeText(SystemStartTime(clock, SecondsSinceBoot())) << "\n";
  } else if (what == "network") {
    out << "IPAddresses: " << GetIPAddresses() << "\nMACAddresses: " << GetMACAddresses(o.Root) << "\n";
  } else {
    throw EUsage("unknown reading '" + what + "'");
  }
  return 0;
}

int RunBalloon(const std::vector<std::string>& argsIn, TCliIo& io) {
  std::vector<std::string> args = argsIn;
  const auto df = TakeOption(args, "--df");
  const TSysOptions o = TakeOptions(args);
  if (args.empty()) throw EUsage("missing arguments");
  const std::string what = args[0];
  std::unique_ptr<TFixedClock> fixed;
  const TClock& clock = ClockOf(o, fixed);
  const TInterfaceTexts& texts = EnglishTexts();
  TBalloonText b;
  if (what == "countdown") {
    ExpectArgCount(args, 2, 3);
    b = CountdownBalloon(args[1], args.size() == 3 ? ParseInstant(args[2], "EVENT") : 0.0);
  } else {
    ExpectArgCount(args, 1, 1);
    if (what == "power") {
      b = PowerBalloon(ReadPowerStatus(o.Root), texts);
    } else if (what == "cpu") {
      const auto source = CpuidOf(o);
      TValtri_CPU cpu(*source, o.Root, MeterOf(o));
      cpu.RefreshData();
      b = CpuBalloon(cpu, texts);
    } else if (what == "date") {
      const std::int64_t format = df ? ParseInteger(*df, "DF") : 0;
      if (format == 1) throw EUsage("the Hebrew date format (DF 1) is not available here");
      b = DateBalloon(clock, static_cast<int>(format), [&](TDateTime d) { return FallbackDayName(d, texts); },
                      TDayText{}, texts);
    } else if (what == "memory") {
      TValtri_Memory memory(o.Root);
      memory.RefreshData();
      b = MemoryBalloon(memory.Status(), texts);
    } else if (what == "system") {
      const TStartupValues values = BuildStartupValues(ReadSystemFacts(o.Root));
      b = SystemBalloon(values, SystemStartTime(clock, SecondsSinceBoot()), GetIPAddresses(), GetMACAddresses(o.Root), texts);
    } else if (what == "time") {
      TValtri_TimeZone zone(o.Root, o.TZ, clock);
      zone.RefreshData();
      b = TimeBalloon(zone, texts);
    } else {
      throw EUsage("unknown balloon '" + what + "'");
    }
  }
  PrintBalloon(b, io.Out);
  return 0;
}

const TCliRegistrar kSysinfo(
    {"sysinfo", "cpu|cpuid|memory|power|os|timezone|uptime|network [--root DIR] [--cpuid-dump FILE] [--mhz N] [--tz ZONE] [--now LOCAL]",
     "A system reading as the bar's monitors see it; --root reads /proc, /sys and /etc under DIR.", RunSysinfo});
const TCliRegistrar kBalloon(
    {"balloon", "power|cpu|date|countdown NAME [EVENT]|memory|system|time [--root DIR] [--cpuid-dump FILE] [--mhz N] [--df N] [--tz ZONE] [--now LOCAL]",
     "The header and text of a status panel's detail balloon.", RunBalloon});

}  // namespace
}  // namespace zentrix::cli
