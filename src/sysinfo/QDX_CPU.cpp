#include "sysinfo/QDX_CPU.h"

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

using enum TCpuVendor;
using enum TCacheLevel;
using enum TCacheAssociativity;
using enum TVendorCacheDetect;

constexpr TCPUVendorInfo kVendors[] = {
    {"", "", "", vcdStandard},
    {"BadCpuVendor", "Unknown", "Unknown Vendor", vcdStandard},
    {"GenuineIntel", "Intel", "Intel Corporation", vcdStandard},
    {"AuthenticAMD", "AMD", "Advanced Micro Devices", vcdExtended},
    {"CyrixInstead", "Cyrix", "Via Technologies Inc", vcdCombined},
    {"CentaurHauls", "Via", "Via Technologies Inc", vcdExtended},
    {"NexGenDriven", "NexGen", "NexGen Inc", vcdStandard},
    {"UMC UMC UMC ", "UMC", "United Microelectronics Corp", vcdStandard},
    {"RiseRiseRise", "Rise", "Rise Technology", vcdStandard},
    {"SiS SiS SiS", "SiS", "SiS", vcdStandard},
    {"Geode by NSC", "NSC", "National Semiconductor", vcdStandard},
    {"GenuineTMx86", "Transmeta", "Transmeta", vcdExtended},
};

struct TDescriptorInfo {
  std::uint8_t Descriptor;
  TCacheLevel Level;
  TCacheAssociativity Associativity;
  std::int32_t Size;  // KB; thousands of micro-operations for the trace cache
  std::int32_t LineSize;
};

// The cache entries of the leaf-2 descriptor table in descriptor order (translation buffers
// fill no cache slot and are left out).
constexpr TDescriptorInfo kDescriptors[] = {
    {0x06, clLevel1Code, ca4Way, 8, 32},      {0x08, clLevel1Code, ca4Way, 16, 32},
    {0x0A, clLevel1Data, ca2Way, 8, 32},      {0x0C, clLevel1Data, ca4Way, 16, 32},
    {0x10, clLevel1Data, ca4Way, 16, 32},     {0x15, clLevel1Code, ca4Way, 16, 32},
    {0x1A, clLevel2, ca6Way, 96, 64},         {0x22, clLevel3, ca4Way, 512, 64},
    {0x23, clLevel3, ca8Way, 1024, 64},       {0x25, clLevel3, ca8Way, 2048, 64},
    {0x29, clLevel3, ca8Way, 4096, 64},       {0x2C, clLevel1Data, ca8Way, 32, 64},
    {0x30, clLevel1Code, ca8Way, 32, 64},     {0x39, clLevel2, ca4Way, 128, 64},
    {0x3A, clLevel2, ca6Way, 192, 64},        {0x3B, clLevel2, ca2Way, 128, 64},
    {0x3C, clLevel2, ca4Way, 256, 64},        {0x3D, clLevel2, ca6Way, 384, 64},
    {0x3E, clLevel2, ca4Way, 512, 64},        {0x41, clLevel2, ca4Way, 128, 32},
    {0x42, clLevel2, ca4Way, 256, 32},        {0x43, clLevel2, ca4Way, 512, 32},
    {0x44, clLevel2, ca4Way, 1024, 32},       {0x45, clLevel2, ca4Way, 2048, 32},
    {0x46, clLevel3, ca4Way, 4096, 64},       {0x47, clLevel3, ca8Way, 8192, 64},
    {0x49, clLevel2, ca16Way, 4096, 64},      {0x49, clLevel3, ca16Way, 4096, 64},
    {0x4A, clLevel3, ca12Way, 6144, 64},      {0x4B, clLevel3, ca16Way, 8192, 64},
    {0x4C, clLevel3, ca12Way, 12288, 64},     {0x4D, clLevel3, ca16Way, 16384, 64},
    {0x60, clLevel1Data, ca8Way, 16, 64},     {0x66, clLevel1Data, ca4Way, 8, 64},
    {0x67, clLevel1Data, ca4Way, 16, 64},     {0x68, clLevel1Data, ca4Way, 32, 64},
    {0x70, clTrace, ca8Way, 12, 0},           {0x71, clTrace, ca8Way, 16, 0},
    {0x72, clTrace, ca8Way, 32, 0},           {0x73, clTrace, ca8Way, 64, 0},
    {0x77, clLevel1Code, ca4Way, 16, 64},     {0x78, clLevel2, ca4Way, 1024, 64},
    {0x79, clLevel2, ca8Way, 128, 64},        {0x7A, clLevel2, ca8Way, 256, 64},
    {0x7B, clLevel2, ca8Way, 512, 64},        {0x7C, clLevel2, ca8Way, 1024, 64},
    {0x7D, clLevel2, ca8Way, 2048, 64},       {0x7E, clLevel2, ca8Way, 1024, 128},
    {0x7F, clLevel2, ca2Way, 512, 64},        {0x81, clLevel2, ca8Way, 128, 32},
    {0x82, clLevel2, ca8Way, 256, 32},        {0x83, clLevel2, ca8Way, 512, 32},
    {0x84, clLevel2, ca8Way, 1024, 32},       {0x85, clLevel2, ca8Way, 2048, 32},
    {0x86, clLevel2, ca4Way, 512, 64},        {0x87, clLevel2, ca8Way, 1024, 64},
    {0x88, clLevel3, ca4Way, 2048, 64},       {0x89, clLevel3, ca4Way, 4096, 64},
    {0x8A, clLevel3, ca4Way, 8192, 64},       {0x8D, clLevel3, ca12Way, 3096, 128},
    {0x96, clLevel1Data, ca8Way, 4, 64},      {0x9B, clLevel2, ca8Way, 4096, 64},
    {0xD0, clLevel3, ca4Way, 512, 64},        {0xD1, clLevel3, ca4Way, 1024, 64},
    {0xD2, clLevel3, ca4Way, 2048, 64},       {0xD6, clLevel3, ca8Way, 1024, 64},
    {0xD7, clLevel3, ca8Way, 2048, 64},       {0xD8, clLevel3, ca8Way, 4096, 64},
    {0xDC, clLevel3, ca12Way, 1536, 64},      {0xDD, clLevel3, ca12Way, 3072, 64},
    {0xDE, clLevel3, ca12Way, 6144, 64},      {0xE2, clLevel3, ca16Way, 2048, 64},
    {0xE3, clLevel3, ca16Way, 4096, 64},      {0xE4, clLevel3, ca16Way, 8192, 64},
    {0xEA, clLevel3, ca24way, 12288, 64},     {0xEB, clLevel3, ca24way, 18432, 64},
    {0xEC, clLevel3, ca24way, 24576, 64},
};

const char* LevelText(TCacheLevel level) {
  switch (level) {
    case clLevel1Code: return "L1 Code";
    case clLevel1Data: return "L1 Data";
    case clLevel1Unified: return "L1 Unified";
    case clLevel2: return "L2 Unified";
    case clLevel3: return "L3 Unified";
    case clTrace: return "Trace";
    default: return "";
  }
}

std::uint32_t Bits(std::uint32_t value, int low, int high) {
  const int width = high - low + 1;
  return width >= 32 ? value : (value >> low) & ((1u << width) - 1);
}

// 4 characters per register, lowest byte first.
void AppendRegister(std::string& text, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string TrimBlanksAndControls(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  const auto junk = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (begin < end && junk(text[begin])) ++begin;
  while (end > begin && junk(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Format(const char* format, auto... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

std::uint8_t Byte(long value) { return static_cast<std::uint8_t>(std::clamp<long>(value, 0, 255)); }

std::int64_t SteadyRawNanoseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

}  // namespace

const TCPUVendorInfo& VendorInfo(TCpuVendor vendor) { return kVendors[static_cast<int>(vendor)]; }

const char* AssociativityText(TCacheAssociativity a) {
  static const char* const kTexts[] = {"None", "Direct", "2-way", "4-way", "8-way", "12-way", "16-way", "Full", "6-way", "24-way"};
  return kTexts[static_cast<int>(a)];
}

TCacheAssociativity AssociativityOfCode(std::uint32_t code) {
  switch (code) {
    case 0x00: return caNone;
    case 0x01: return caDirect;
    case 0x02: return ca2Way;
    case 0x04: return ca4Way;
    case 0x06: return ca8Way;
    case 0x07: return ca12Way;
    case 0x08: return ca16Way;
    case 0x0F: return caFull;
    case 0x18: return ca24way;
    default: return caNone;
  }
}

void FillCacheFromDescriptors(const std::vector<std::uint8_t>& descriptors, TIntelBrands brands, TCPUCache& cache) {
  const std::pair<TCacheLevel, TCacheDetails*> slots[] = {
      {clLevel1Code, &cache.Level1Code}, {clLevel1Data, &cache.Level1Data}, {clLevel1Unified, &cache.Level1Unified},
      {clLevel2, &cache.Level2},         {clLevel3, &cache.Level3},         {clTrace, &cache.Trace}};
  for (const auto& [level, slot] : slots) {
    if (slot->Typ != 0) continue;
    for (const TDescriptorInfo& d : kDescriptors) {
      if (d.Level != level || std::find(descriptors.begin(), descriptors.end(), d.Descriptor) == descriptors.end())
        continue;
      if (d.Descriptor == 0x49 && level == clLevel2 && !(brands & ibDuoCore)) continue;
      if (d.Descriptor == 0x49 && level == clLevel3 && !(brands & ibP4)) continue;
      slot->Typ = d.Descriptor;
      slot->Associativity = d.Associativity;
      slot->Size = d.Size;
      slot->LineSize = d.LineSize;
      slot->Desc = level == clTrace ? Format("Trace cache %dK uops, %s", d.Size, AssociativityText(d.Associativity))
                                    : Format("%s %d KB, %s, %d-byte line size", LevelText(level), d.Size,
                                             AssociativityText(d.Associativity), d.LineSize);
    }
  }
}

std::string CleanBrandName(std::string name) {
  using systext::ReplaceNoCase;
  name = ReplaceNoCase(name, "(R)", "");
  name = ReplaceNoCase(name, "(TM)", " ");
  for (const char* word : {"Genuine", "Procesor", "Processor", "Technology"}) name = ReplaceNoCase(name, word, "");
  if (const std::size_t at = name.find('@'); at != std::string::npos) {
    name.erase(at);
    for (std::size_t cpu; (cpu = name.find("CPU")) != std::string::npos;) name.erase(cpu, 3);
  } else if (const std::size_t cpu = name.find("CPU"); cpu != std::string::npos) {
    name.erase(cpu);
  }
  return systext::CollapseBlanks(name);
}

std::uint32_t NormalizeFrequency(std::uint32_t mhz) {
  static constexpr std::uint32_t kSteps[] = {0, 20, 33, 50, 60, 66, 80, 90, 100, 133};
  const std::uint32_t r = mhz % 100;
  const std::uint32_t hundreds = mhz - r;
  for (std::size_t i = 1; i < std::size(kSteps); ++i) {
    const std::uint32_t v = kSteps[i], u = kSteps[i - 1];
    if (r < v) return hundreds + (r - u < v - r ? u : v);
  }
  return mhz;
}

std::uint32_t FrequencyFromTotals(double cycles, double microseconds) {
  if (!(microseconds > 0) || !(cycles > 0)) return 0;
  const double ratio = cycles / microseconds;
  if (!std::isfinite(ratio) || ratio * 100 > 2e9) return 0;
  const std::int64_t raw = RoundHalfEven(ratio);
  std::int64_t tenths = RoundHalfEven(10 * ratio);
  const std::int64_t hundredths = RoundHalfEven(100 * ratio);
  if (hundredths - 10 * tenths >= 6) ++tenths;
  std::int64_t result = raw;
  if (tenths - 10 * raw >= 6) ++result;
  return static_cast<std::uint32_t>(result);
}

std::uint32_t MeasureFrequency(const TFrequencyTrialFn& trial) {
  std::vector<std::int64_t> results;
  double cycles = 0, micros = 0;
  const auto unsettled = [&] {
    const std::size_t n = results.size();
    const std::int64_t r1 = results[n - 3], r2 = results[n - 2], r3 = results[n - 1];
    const std::int64_t sum = r1 + r2 + r3;
    return std::llabs(3 * r1 - sum) > 3 || std::llabs(3 * r2 - sum) > 3 || std::llabs(3 * r3 - sum) > 3;
  };
  while (results.size() < 3 || (results.size() < 20 && unsettled())) {
    const TFrequencyTrial t = trial();
    if (!(t.Cycles > 0) || !(t.Microseconds > 0)) return 0;
    results.push_back(static_cast<std::int64_t>(std::min(std::round(t.Cycles / t.Microseconds), 1e12)));
    cycles += t.Cycles;
    micros += t.Microseconds;
  }
  return NormalizeFrequency(FrequencyFromTotals(cycles, micros));
}

TFrequencyTrial MeasureTscTrial() {
#if defined(__x86_64__) || defined(__i386__)
  // Settle on a fresh clock reading first, then time about a millisecond.
  const std::int64_t t0 = SteadyRawNanoseconds();
  std::int64_t t1 = t0;
  std::uint64_t s1 = 0;
  while (t1 - t0 < 50'000) {
    t1 = SteadyRawNanoseconds();
    s1 = __rdtsc();
  }
  std::int64_t t2 = t1;
  std::uint64_t s2 = s1;
  while (t2 - t1 < 1'000'000) {
    t2 = SteadyRawNanoseconds();
    s2 = __rdtsc();
  }
  return {static_cast<double>(s2 - s1), static_cast<double>(t2 - t1) / 1000.0};
#else
  return {};
#endif
}

std::uint32_t MeasureNativeFrequency(int cpuIndex) {
  cpu_set_t old;
  bool restore = false;
  if (cpuIndex >= 0 && cpuIndex < CPU_SETSIZE && sched_getaffinity(0, sizeof old, &old) == 0) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpuIndex, &one);
    restore = !CPU_EQUAL(&one, &old) && sched_setaffinity(0, sizeof one, &one) == 0;
  }
  const std::uint32_t mhz = MeasureFrequency(MeasureTscTrial);
  if (restore) sched_setaffinity(0, sizeof old, &old);
  return mhz;
}

std::vector<TCpuInfoEntry> ParseCpuInfo(std::string_view text) {
  std::vector<TCpuInfoEntry> entries;
  TCpuInfoEntry current;
  bool open = false;
  const auto number = [](std::string_view value) {
    std::string_view rest;
    const auto n = systext::ParseUnsigned(value, &rest);
    return n && rest.empty() && *n <= INT_MAX ? static_cast<int>(*n) : -1;
  };
  for (const std::string_view line : systext::SplitLines(text)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      if (systext::Trim(line).empty() && open) {
        entries.push_back(current);
        current = TCpuInfoEntry{};
        open = false;
      }
      continue;
    }
    const std::string_view key = systext::Trim(line.substr(0, colon));
    const std::string_view value = systext::Trim(line.substr(colon + 1));
    if (key == "processor") {
      if (open) entries.push_back(current);
      current = TCpuInfoEntry{};
      current.Processor = number(value);
      open = true;
    } else if (key == "vendor_id") {
      current.VendorId = value;
    } else if (key == "model name") {
      current.ModelName = value;
    } else if (key == "cpu family") {
      current.Family = number(value);
    } else if (key == "model") {
      current.Model = number(value);
    } else if (key == "stepping") {
      current.Stepping = number(value);
    }
  }
  if (open) entries.push_back(current);
  return entries;
}

TValtri_CPU::TValtri_CPU(const TCpuidSource& cpuid, std::string root, TFrequencyMeter meter)
    : FCpuid(cpuid), FRoot(std::move(root)), FMeter(std::move(meter)) {
#if defined(__x86_64__)
  FArch = 9;
#elif defined(__i386__)
  FArch = 0;
#else
  FArch = 0xFFFF;
#endif
  FCount = Byte(FCpuid.ProcessorCount());
  if (FCpuid.Supported()) FPC = CountPhysicalPackages();
}

void TValtri_CPU::Clear() {
  FIntelBrand = 0;
  FFamily = FModel = FStepping = 0;
  FFamilyEx = FModelEx = FSteppingEx = 0;
  FHTT = false;
  FCPUName.clear();
  FCodeName.clear();
  FMarketingName.clear();
  FGenericName.clear();
  FVendor = cvNone;
  FCPUCache = TCPUCache{};
  FCacheDescriptors = {};
  FfsStd = FfsExt = FfsAPM = TCPUIDResult{};
  FBrand = FCPUType = 0;
  FMCPP = FMLPP = FMLPC = 0;
}

std::uint32_t TValtri_CPU::MaxLeaf(std::uint32_t leaf) const {
  const std::uint32_t base = leaf >= 0x80860000 ? 0x80860000 : leaf >= 0x80000000 ? 0x80000000 : 0;
  const std::uint32_t max = Run(-1, base).EAX;
  // Processors without the range answer with unrelated values: the range then ends at once.
  return max >= base && max - base < 0x1000 ? max : base;
}

std::uint8_t TValtri_CPU::CountPhysicalPackages() const {
  if (Run(-1, 0).EAX < 1) return FCount;
  unsigned count = 0;
  for (int j = 0; j < FCount; ++j) {
    const TCPUIDResult r = Run(j, 1);
    const bool htt = r.EDX & (1u << 28);
    const unsigned logical = htt ? Bits(r.EBX, 16, 23) : 1;
    const unsigned apic = htt ? Bits(r.EBX, 24, 31) : 255;
    unsigned mask = 0xFF;
    for (unsigned width = 1; width < logical; width *= 2) mask = (mask << 1) & 0xFF;
    if ((apic & ~mask & 0xFF) == 0) ++count;
  }
  return count == 0 ? FCount : Byte(count);
}

void TValtri_CPU::RefreshData() {
  TValtri_Component::RefreshData();
  Clear();
  FCount = Byte(FCpuid.ProcessorCount());
  FCPUIDSupported = FCpuid.Supported();
  FPC = FCPUIDSupported ? CountPhysicalPackages() : FCount;
  FCPP = FLPP = FLPC = 1;

  const std::vector<TCpuInfoEntry> cpuinfo = [&] {
    const auto text = systext::ReadFile(FRoot + "/proc/cpuinfo", 4 << 20);
    return text ? ParseCpuInfo(*text) : std::vector<TCpuInfoEntry>{};
  }();
  const TCpuInfoEntry* described = nullptr;
  for (const TCpuInfoEntry& e : cpuinfo)
    if (e.Processor == FIndex) described = &e;
  if (!described && !cpuinfo.empty()) described = &cpuinfo.front();

  if (FCPUIDSupported) {
    const TCPUIDResult leaf0 = Run(FIndex, 0);
    std::string signature;
    AppendRegister(signature, leaf0.EBX);
    AppendRegister(signature, leaf0.EDX);
    AppendRegister(signature, leaf0.ECX);
    FVendor = cvUnknown;
    for (int v = static_cast<int>(cvUnknown); v <= static_cast<int>(cvTransmeta); ++v)
      if (signature == kVendors[v].Signature) {
        FVendor = static_cast<TCpuVendor>(v);
        break;
      }

    if (LeafSupported(1)) {
      FfsStd = Run(FIndex, 1);
      const std::uint32_t eax = FfsStd.EAX;
      FCPUType = static_cast<std::int32_t>(Bits(eax, 12, 13));
      FFamily = static_cast<std::int32_t>(Bits(eax, 8, 11));
      if (FFamily == 15) FFamily += static_cast<std::int32_t>(Bits(eax, 20, 27));
      FModel = static_cast<std::int32_t>(Bits(eax, 4, 7));
      if (Bits(eax, 8, 11) == 15 || Bits(eax, 8, 11) == 6) FModel += static_cast<std::int32_t>(Bits(eax, 16, 19) << 4);
      FStepping = static_cast<std::int32_t>(Bits(eax, 0, 3));
      FBrand = static_cast<std::int32_t>(Bits(FfsStd.EBX, 0, 7));
      if (FVendor == cvAmd && FFamily == 15 && FModel >= 5 && FBrand == 0 && LeafSupported(0x80000001))
        FBrand = static_cast<std::int32_t>(Bits(Run(FIndex, 0x80000001).EBX, 0, 7));
      ReadTopology();
    }
    if (FVendor != cvTransmeta) ReadBrandString();
    if (LeafSupported(0x80000001)) {
      FfsExt = Run(FIndex, 0x80000001);
      FFamilyEx = static_cast<std::int32_t>(Bits(FfsExt.EAX, 8, 11) + (Bits(FfsExt.EAX, 8, 11) == 15 ? Bits(FfsExt.EAX, 20, 27) : 0));
      FModelEx = static_cast<std::int32_t>(Bits(FfsExt.EAX, 4, 7) | (Bits(FfsExt.EAX, 16, 19) << 4));
      FSteppingEx = static_cast<std::int32_t>(Bits(FfsExt.EAX, 0, 3));
      // The system's own description of the processor has the last word on model and stepping.
      if (described && described->Model >= 0) FModelEx = described->Model;
      if (described && described->Stepping >= 0) FSteppingEx = described->Stepping;
    }
    ReadCaches();
    if (LeafSupported(0x80000007)) FfsAPM = Run(FIndex, 0x80000007);
  }

  FFreq = FMeter ? FMeter(FIndex) : 0;

  // /proc/cpuinfo stands in for the system's processor description.
  FGenericName = Format(FArch == 9 ? "Intel64 Family %d Model %d Stepping %d" : "x86 Family %d Model %d Stepping %d",
                        described && described->Family >= 0 ? described->Family : FFamily,
                        described && described->Model >= 0 ? described->Model : FModel,
                        described && described->Stepping >= 0 ? described->Stepping : FStepping);
  if (described) {
    if (FVendor == cvUnknown || FVendor == cvNone) {
      for (int v = static_cast<int>(cvUnknown); v <= static_cast<int>(cvTransmeta); ++v)
        if (systext::EqualsNoCase(described->VendorId, kVendors[v].Signature)) {
          FVendor = static_cast<TCpuVendor>(v);
          break;
        }
    }
    if (FMarketingName.empty()) FMarketingName = systext::Trim(described->ModelName);
  }

  SetIntelBrandSet();
  SetCPUName();
  const double x = 4195835.0, y = 3145727.0;
  FFDIVBug = x - (x / y) * y != 0;

  FCC = Byte(static_cast<long>(FPC) * FCPP);
  FTC = FCount;
  if (FPC > 0) FLPP = Byte(FTC / FPC);
  if (FCC > 0) FLPC = Byte(FTC / FCC);
  FDA = true;
}

void TValtri_CPU::ReadTopology() {
  FHTT = FfsStd.EDX & (1u << 28);
  FAPICID = FHTT ? Byte(Bits(FfsStd.EBX, 24, 31)) : 255;
  FMLPP = FHTT ? static_cast<std::int32_t>(Bits(FfsStd.EBX, 16, 23)) : 1;
  FCPP = FLPP = FLPC = 1;
  if (FVendor == cvIntel && LeafSupported(4)) {
    FMCPP = static_cast<std::int32_t>(Bits(Run(-1, 4, 0).EAX, 26, 31)) + 1;
    FMLPC = FMLPP / FMCPP;
    if (FMCPP == 2) FIntelBrand |= ibDuoCore;
    else if (FFamily == 15) FIntelBrand |= ibP4;
    int cpp = FCPP, lpc = FLPC;
    if (LeafSupported(0xB)) {
      for (std::uint32_t sub = 0; sub <= 254; ++sub) {
        const TCPUIDResult r = Run(-1, 0xB, sub);
        if (Bits(r.EBX, 0, 15) == 0) break;
        const std::uint32_t type = Bits(r.ECX, 8, 15);
        if (type == 1) lpc = static_cast<int>(Bits(r.EAX, 0, 4));
        else if (type == 2) cpp = static_cast<int>(Bits(r.EAX, 0, 4));
      }
    }
    if (cpp == 0) cpp = FMCPP;
    cpp = FMCPP / cpp;
    if (cpp == 0) cpp = FMCPP;
    if (lpc < FMLPC) lpc = FMLPC;
    FCPP = Byte(cpp);
    FLPC = Byte(lpc);
    FLPP = Byte(static_cast<long>(FCPP) * FLPC);
    if (FPC > 0 && FCount / FPC > FLPP && FLPC > 0) {
      FCPP = Byte((FCount / FPC) / FLPC);
      FLPP = Byte(FCount / FPC);
    }
  } else if (FVendor == cvAmd && LeafSupported(0x80000008)) {
    FCPP = Byte(static_cast<long>(Bits(Run(-1, 0x80000008).ECX, 0, 7)) + 1);
  }
}

void TValtri_CPU::ReadBrandString() {
  std::string name;
  if (LeafSupported(0x80000004)) {
    for (std::uint32_t leaf = 0x80000002; leaf <= 0x80000004; ++leaf) {
      const TCPUIDResult r = Run(FIndex, leaf);
      for (const std::uint32_t reg : {r.EAX, r.EBX, r.ECX, r.EDX}) AppendRegister(name, reg);
    }
  } else if (LeafSupported(0x80860006)) {
    for (std::uint32_t leaf = 0x80860003; leaf <= 0x80860006; ++leaf) {
      const TCPUIDResult r = Run(FIndex, leaf);
      for (const std::uint32_t reg : {r.EAX, r.EBX, r.ECX, r.EDX}) AppendRegister(name, reg);
    }
  }
  // The string ends at its first NUL.
  if (const std::size_t nul = name.find('\0'); nul != std::string::npos) name.erase(nul);
  FMarketingName = TrimBlanksAndControls(name);
}

bool TValtri_CPU::ReadDeterministicCaches(std::uint32_t leaf, TCPUCache& cache) {
  bool found = false;
  for (std::uint32_t j = 0; j <= 9; ++j) {
    const TCPUIDResult r = Run(FIndex, leaf, j);
    const std::uint32_t type = Bits(r.EAX, 0, 4);
    if (type == 0) break;
    TCacheDetails d;
    d.Level = static_cast<std::int32_t>(Bits(r.EAX, 5, 7));
    d.LineSize = static_cast<std::int32_t>(Bits(r.EBX, 0, 11) + 1);
    d.Partitions = static_cast<std::int32_t>(Bits(r.EBX, 12, 21) + 1);
    d.Ways = static_cast<std::int32_t>(Bits(r.EBX, 22, 31) + 1);
    const std::uint64_t bytes = std::uint64_t{static_cast<std::uint32_t>(d.Ways)} * static_cast<std::uint32_t>(d.Partitions) *
                                static_cast<std::uint32_t>(d.LineSize) * (std::uint64_t{r.ECX} + 1);
    d.Size = static_cast<std::int32_t>(std::min<std::uint64_t>(bytes / 1024, INT32_MAX));
    d.Shared = static_cast<std::int32_t>(Bits(r.EAX, 14, 25) + 1);
    if (d.Shared < FLPC) d.Shared = FLPC;
    if (d.Shared > FMCPP) d.Shared = 1;
    d.Typ = static_cast<std::uint8_t>(type);
    d.Associativity = d.Ways == 1 ? caDirect : d.Ways == 2 ? ca2Way : d.Ways == 4 ? ca4Way : d.Ways == 6 ? ca6Way
                    : d.Ways == 8 ? ca8Way : d.Ways == 12 ? ca12Way : d.Ways == 16 ? ca16Way : d.Ways == 24 ? ca24way : caNone;
    const char* kind = type == 1 ? "Data" : type == 2 ? "Code" : "Unified";
    d.Desc = Format("L%d %s %d KB, %d-way set associative, %d-byte line size", d.Level, kind, d.Size, d.Ways, d.LineSize);
    if (d.Level == 1) {
      if (type == 1) cache.Level1Data = d;
      else if (type == 2) cache.Level1Code = d;
      else cache.Level1Unified = d;
    } else if (d.Level == 2) {
      cache.Level2 = d;
    } else if (d.Level == 3) {
      cache.Level3 = d;
    }
    found = true;
  }
  return found;
}

void TValtri_CPU::ReadCaches() {
  TCPUCache cache;
  bool deterministic = LeafSupported(4) && ReadDeterministicCaches(4, cache);
  // AMD keeps the same description under its own leaf (with the topology extensions); without
  // it its processors would report no Level 3 cache at all.
  if (!deterministic && FVendor == cvAmd && LeafSupported(0x8000001D) && LeafSupported(0x80000001) &&
      (Run(FIndex, 0x80000001).ECX & (1u << 22)))
    deterministic = ReadDeterministicCaches(0x8000001D, cache);

  const TVendorCacheDetect detect = VendorInfo(FVendor).CacheDetect;
  if (detect == vcdExtended) {
    if (LeafSupported(0x80000005)) {
      const TCPUIDResult r = Run(FIndex, 0x80000005);
      const auto fill = [](TCacheDetails& slot, std::uint32_t reg, std::uint8_t typ, const char* kind) {
        slot.Typ = typ;
        slot.Level = 1;
        slot.Size = static_cast<std::int32_t>(Bits(reg, 24, 31));
        slot.Associativity = AssociativityOfCode(Bits(reg, 16, 23));
        slot.LineSize = static_cast<std::int32_t>(Bits(reg, 0, 7));
        slot.Desc = Format("L1 %s %d KB, %s, %d-byte line size", kind, slot.Size, AssociativityText(slot.Associativity), slot.LineSize);
      };
      if (cache.Level1Code.Typ == 0) fill(cache.Level1Code, r.EDX, 2, "Code");
      if (cache.Level1Data.Typ == 0) fill(cache.Level1Data, r.ECX, 1, "Data");
    }
    if (LeafSupported(0x80000006)) {
      const TCPUIDResult r = Run(FIndex, 0x80000006);
      if (cache.Level2.Typ == 0) {
        TCacheDetails& slot = cache.Level2;
        slot.Typ = 3;
        slot.Level = 2;
        slot.Size = static_cast<std::int32_t>(FVendor == cvIDT ? Bits(r.ECX, 24, 31) : Bits(r.ECX, 16, 31));
        slot.Associativity = FVendor == cvAmd && FFamily == 6 ? ca16Way : AssociativityOfCode(Bits(r.ECX, 12, 15));
        slot.LineSize = static_cast<std::int32_t>(Bits(r.ECX, 0, 7));
        slot.Desc = Format("L2 Unified %d KB, %s, %d-byte line size", slot.Size, AssociativityText(slot.Associativity), slot.LineSize);
      }
      // AMD's Level 3 size, in units of 512 KB.
      if (cache.Level3.Typ == 0 && FVendor == cvAmd && Bits(r.EDX, 18, 31) != 0) {
        TCacheDetails& slot = cache.Level3;
        slot.Typ = 3;
        slot.Level = 3;
        slot.Size = static_cast<std::int32_t>(Bits(r.EDX, 18, 31) * 512);
        slot.Associativity = AssociativityOfCode(Bits(r.EDX, 12, 15));
        slot.LineSize = static_cast<std::int32_t>(Bits(r.EDX, 0, 7));
        slot.Desc = Format("L3 Unified %d KB, %s, %d-byte line size", slot.Size, AssociativityText(slot.Associativity), slot.LineSize);
      }
    }
  } else {
    TCPUIDResult r;
    bool have = false;
    if (FVendor == cvIntel) {
      if (LeafSupported(2)) {
        r = Run(FIndex, 2);
        for (std::uint32_t i = 1; i < (r.EAX & 0xFF) && i < 16; ++i) r = Run(FIndex, 2);
        have = true;
      }
    } else if (LeafSupported(0x80000005)) {
      r = Run(FIndex, 0x80000005);
      have = true;
    }
    if (have) {
      std::vector<std::uint8_t> bytes;
      const std::uint32_t regs[] = {r.EAX, r.EBX, r.ECX, r.EDX};
      for (int i = 0; i < 4; ++i) {
        if (regs[i] & 0x80000000u) continue;
        for (int b = 0; b < 4; ++b) {
          FCacheDescriptors[static_cast<std::size_t>(4 * i + b)] = static_cast<std::uint8_t>(regs[i] >> (8 * b));
          bytes.push_back(static_cast<std::uint8_t>(regs[i] >> (8 * b)));
        }
      }
      FillCacheFromDescriptors(bytes, FIntelBrand, cache);
    }
  }
  FCPUCache = cache;
}

void TValtri_CPU::SetIntelBrandSet() {
  if (FVendor != cvIntel) return;
  TIntelBrands set = 0;
  switch (FBrand) {
    case 1: case 10: case 20: set = ibCeleron; break;
    case 2: case 4: case 9: set = ibPentium; break;
    case 3: set = FCPUCache.Level2.Size > 128 ? ibXeon : ibCeleron; break;
    case 6: case 14: set = ibPentium | ibMobile; break;
    case 7: case 19: case 23: set = ibCeleron | ibMobile; break;
    case 8: set = FFamily == 15 && FModel == 2 && FStepping == 4 ? ibCeleron | ibMobile : ibPentium; break;
    case 11: set = FCPUCache.Level3.Typ != 0 ? ibXeon | ibMP : ibXeon; break;
    case 12: set = ibXeon | ibMP; break;
    case 15: set = FFamily == 15 && FModel == 2 && FStepping == 7 ? ibCeleron | ibMobile : ibPentium | ibMobile; break;
    case 17: case 21: set = ibMobile; break;
    case 18: set = ibCeleron | ibM; break;
    case 22: set = ibPentium | ibM; break;
    default: set = 0; break;
  }
  FIntelBrand = set;
}

void TValtri_CPU::SetCPUName() {
  FCPUName.clear();
  if (FMarketingName.empty()) return;  // older processors: the balloon falls back to MarketingName
  if (FVendor == cvIntel) {
    FCPUName = CleanBrandName(systext::ReplaceNoCase(FMarketingName, "Intel", ""));
    if (FIntelBrand & ibMobile) FCPUName = "Mobile " + FCPUName;
  } else if (FVendor == cvAmd) {
    FCPUName = CleanBrandName(systext::ReplaceNoCase(FMarketingName, "AMD", ""));
  }
}

}  // namespace zentrix
