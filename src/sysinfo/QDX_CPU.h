#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sysinfo/CpuidSource.h"
#include "sysinfo/QDX_Common.h"

namespace zentrix {

enum class TCpuVendor { cvNone, cvUnknown, cvIntel, cvAmd, cvCyrix, cvIDT, cvNexGen, cvUMC, cvRise, cvSiS, cvGeode, cvTransmeta };

enum class TVendorCacheDetect { vcdStandard, vcdExtended, vcdCombined };

struct TCPUVendorInfo {
  const char* Signature;
  const char* Prefix;
  const char* Name;
  TVendorCacheDetect CacheDetect;
};

const TCPUVendorInfo& VendorInfo(TCpuVendor vendor);

// Brand set of Intel processors, one bit per value.
enum TIntelBrand : std::uint8_t {
  ibCeleron = 1, ibPentium = 2, ibXeon = 4, ibMP = 8, ibMobile = 16, ibM = 32, ibDuoCore = 64, ibP4 = 128
};
using TIntelBrands = std::uint8_t;

enum class TCacheLevel { clLevel1Code, clLevel1Data, clLevel1Unified, clLevel2, clLevel3, clTrace, clNone };

enum class TCacheAssociativity { caNone, caDirect, ca2Way, ca4Way, ca8Way, ca12Way, ca16Way, caFull, ca6Way, ca24way };
const char* AssociativityText(TCacheAssociativity a);
// The associativity of an extended cache leaf's code (first match of the code list).
TCacheAssociativity AssociativityOfCode(std::uint32_t code);

using TCacheDescriptors = std::array<std::uint8_t, 16>;

// One cache; a slot is empty while Typ is 0.
struct TCacheDetails {
  std::uint8_t Typ = 0;
  std::string Desc;
  TCacheAssociativity Associativity = TCacheAssociativity::caNone;
  std::int32_t Ways = 0;
  std::int32_t Partitions = 0;
  std::int32_t Size = 0;  // KB (thousands of micro-operations for the trace cache)
  std::int32_t Shared = 0;
  std::int32_t LineSize = 0;
  std::int32_t Level = 0;
};

struct TCPUCache {
  TCacheDetails Level1Code, Level1Data, Level1Unified, Level2, Level3, Trace;
};

// Fills the still empty slots from leaf-2 descriptor bytes; the last matching table entry wins.
// Descriptor 0x49 counts for Level 2 only with ibDuoCore and for Level 3 only with ibP4.
void FillCacheFromDescriptors(const std::vector<std::uint8_t>& descriptors, TIntelBrands brands, TCPUCache& cache);

// "Intel(R) Core(TM) i7-2600 CPU @ 3.40GHz" less the vendor's name -> "Core i7-2600".
std::string CleanBrandName(std::string name);

// Snaps a clock in MHz to the nearest of the usual steps of each hundred (.00, .20, .33, .50,
// .60, .66, .80, .90); a tie moves up.
std::uint32_t NormalizeFrequency(std::uint32_t mhz);

// The clock in MHz from the summed cycles and microseconds of the trials, before snapping.
std::uint32_t FrequencyFromTotals(double cycles, double microseconds);

// One timed trial of the time-stamp counter against a steady clock.
struct TFrequencyTrial {
  double Cycles = 0;
  double Microseconds = 0;
};
using TFrequencyTrialFn = std::function<TFrequencyTrial()>;

// Repeats trials until three in a row agree within 1 MHz (at least 3, at most 20) and returns
// the snapped clock in MHz; 0 when the trials measure nothing.
std::uint32_t MeasureFrequency(const TFrequencyTrialFn& trial);
// A trial on this machine: the time-stamp counter over about a millisecond of
// CLOCK_MONOTONIC_RAW. Zero cycles where there is no time-stamp counter.
TFrequencyTrial MeasureTscTrial();

// The clock measurement as the identification runs it; a seam for tests.
using TFrequencyMeter = std::function<std::uint32_t(int cpuIndex)>;
std::uint32_t MeasureNativeFrequency(int cpuIndex);

// The fields of one processor's block of /proc/cpuinfo that stand in for the system's own
// processor description.
struct TCpuInfoEntry {
  int Processor = -1;
  std::string VendorId;
  std::string ModelName;
  int Family = -1;
  int Model = -1;
  int Stepping = -1;
};
std::vector<TCpuInfoEntry> ParseCpuInfo(std::string_view text);

// Identifies the processor: vendor, names, packages, cores, threads, caches and clock.
class TValtri_CPU : public TValtri_Component {
public:
  // `root` locates /proc/cpuinfo. The source and the meter must outlive the object.
  explicit TValtri_CPU(const TCpuidSource& cpuid, std::string root = {}, TFrequencyMeter meter = MeasureNativeFrequency);

  void RefreshData() override;
  void Clear() override;

  std::uint8_t CPUCount() const { return FCount; }
  std::uint8_t CPUPhysicalCount() const { return FPC; }
  std::int32_t CPUType() const { return FCPUType; }
  std::int32_t Brand() const { return FBrand; }
  std::int32_t Family() const { return FFamily; }
  std::int32_t Model() const { return FModel; }
  std::int32_t Stepping() const { return FStepping; }
  std::int32_t FamilyEx() const { return FFamilyEx; }
  std::int32_t ModelEx() const { return FModelEx; }
  std::int32_t SteppingEx() const { return FSteppingEx; }
  TCpuVendor Vendor() const { return FVendor; }
  const std::string& GenericName() const { return FGenericName; }
  bool CPUIDSupported() const { return FCPUIDSupported; }
  const std::string& MarketingName() const { return FMarketingName; }
  const std::string& CPUName() const { return FCPUName; }
  const std::string& CodeName() const { return FCodeName; }
  const TCPUCache& Cache() const { return FCPUCache; }
  const TCacheDescriptors& CacheDescriptors() const { return FCacheDescriptors; }
  std::uint32_t Frequency() const { return FFreq; }
  bool FDIVBug() const { return FFDIVBug; }
  std::uint8_t CPUIndex() const { return FIndex; }
  void SetCPUIndex(std::uint8_t index) { FIndex = index; }
  std::uint8_t APICID() const { return FAPICID; }
  std::uint8_t LogicalPerPackage() const { return FLPP; }
  std::uint8_t LogicalPerCore() const { return FLPC; }
  std::uint8_t CorePerPackage() const { return FCPP; }
  std::uint8_t ThreadCount() const { return FTC; }
  std::uint8_t CoreCount() const { return FCC; }
  TIntelBrands IntelBrand() const { return FIntelBrand; }
  std::uint16_t Architecture() const { return FArch; }
  const TCPUIDResult& StdFeatures() const { return FfsStd; }
  const TCPUIDResult& ExtFeatures() const { return FfsExt; }
  const TCPUIDResult& APMFeatures() const { return FfsAPM; }

private:
  std::uint32_t MaxLeaf(std::uint32_t leaf) const;
  bool LeafSupported(std::uint32_t leaf) const { return leaf <= MaxLeaf(leaf); }
  TCPUIDResult Run(int index, std::uint32_t leaf, std::uint32_t subleaf = 0) const {
    return FCpuid.Execute(index, leaf, subleaf);
  }
  std::uint8_t CountPhysicalPackages() const;
  void ReadTopology();
  void ReadBrandString();
  void ReadCaches();
  bool ReadDeterministicCaches(std::uint32_t leaf, TCPUCache& cache);
  void SetIntelBrandSet();
  void SetCPUName();

  const TCpuidSource& FCpuid;
  std::string FRoot;
  TFrequencyMeter FMeter;

  std::uint8_t FCount = 1;
  std::uint8_t FPC = 1;
  TCPUIDResult FfsStd, FfsExt, FfsAPM;
  std::int32_t FCPUType = 0, FBrand = 0, FFamily = 0, FStepping = 0, FModel = 0;
  TCpuVendor FVendor = TCpuVendor::cvNone;
  std::string FGenericName;
  bool FCPUIDSupported = false;
  std::string FMarketingName;
  TCacheDescriptors FCacheDescriptors{};
  TCPUCache FCPUCache;
  std::string FCodeName, FCPUName;
  std::int32_t FFamilyEx = 0, FModelEx = 0, FSteppingEx = 0;
  std::uint32_t FFreq = 0;
  bool FFDIVBug = false;
  std::uint8_t FIndex = 0;
  std::uint8_t FAPICID = 255;
  std::uint8_t FLPP = 1, FTC = 1, FCC = 1, FLPC = 1, FCPP = 1;
  TIntelBrands FIntelBrand = 0;
  std::uint16_t FArch = 0;
  bool FHTT = false;
  std::int32_t FMCPP = 0, FMLPP = 0, FMLPC = 0;
};

}  // namespace zentrix
