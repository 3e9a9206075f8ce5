#include <gtest/gtest.h>

#include <unistd.h>

#include "Fixtures.h"
#include "support/TempDir.h"
#include "sysinfo/QDX_CPU.h"
#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

using test::SysFixture;

TRecordedCpuid LoadDump(const std::string& name) {
  const auto text = systext::ReadFile(SysFixture("cpuid/" + name));
  if (!text) throw std::runtime_error("missing fixture " + name);
  return TRecordedCpuid::Parse(*text);
}

struct TDumpCase {
  const char* Name;
  const char* File;
  const char* Root;  // where /proc/cpuinfo is, or a folder without one
  TCpuVendor Vendor;
  const char* MarketingName;
  const char* CPUName;
  int Family, Model, Stepping;
  int Packages, CorePerPackage, Cores, Threads;
  int L1Code, L1Data, L2, L3;
};

class CPUIdentificationTest : public ::testing::TestWithParam<TDumpCase> {};

TEST_P(CPUIdentificationTest, IdentifiesTheRecordedProcessor) {
  const TDumpCase& c = GetParam();
  const TRecordedCpuid dump = LoadDump(c.File);
  TValtri_CPU cpu(dump, SysFixture(c.Root), [](int) { return 3400u; });
  cpu.RefreshData();
  EXPECT_EQ(cpu.Vendor(), c.Vendor);
  EXPECT_EQ(cpu.MarketingName(), c.MarketingName);
  EXPECT_EQ(cpu.CPUName(), c.CPUName);
  EXPECT_EQ(cpu.Family(), c.Family);
  EXPECT_EQ(cpu.Model(), c.Model);
  EXPECT_EQ(cpu.Stepping(), c.Stepping);
  EXPECT_EQ(cpu.CPUPhysicalCount(), c.Packages);
  EXPECT_EQ(cpu.CorePerPackage(), c.CorePerPackage);
  EXPECT_EQ(cpu.CoreCount(), c.Cores);
  EXPECT_EQ(cpu.ThreadCount(), c.Threads);
  EXPECT_EQ(cpu.Cache().Level1Code.Size, c.L1Code);
  EXPECT_EQ(cpu.Cache().Level1Data.Size, c.L1Data);
  EXPECT_EQ(cpu.Cache().Level2.Size, c.L2);
  EXPECT_EQ(cpu.Cache().Level3.Size, c.L3);
  EXPECT_EQ(cpu.Frequency(), 3400u);
  EXPECT_FALSE(cpu.FDIVBug());
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, CPUIdentificationTest,
    ::testing::Values(
        // Leaves 4 and 11: 8 cores and 16 logical processors addressable, level shifts 1 and 4.
        TDumpCase{"IntelCoreI7", "intel-core-i7-2600.txt", "empty", TCpuVendor::cvIntel,
                  "Intel(R) Core(TM) i7-2600 CPU @ 3.40GHz", "Core i7-2600", 6, 42, 7, 1, 4, 4, 8, 32, 32, 256, 8192},
        // No deterministic leaf: Level 1 and 2 from the extended leaves, Level 3 from 0x80000006.
        TDumpCase{"AmdPhenom", "amd-phenom-ii-x4-955.txt", "empty", TCpuVendor::cvAmd,
                  "AMD Phenom(tm) II X4 955 Processor", "Phenom II X4 955", 16, 4, 2, 1, 4, 4, 4, 64, 64, 512, 6144},
        // AMD's own deterministic leaf 0x8000001D (this build machine).
        TDumpCase{"AmdEpycVm", "amd-epyc-vm.txt", "empty", TCpuVendor::cvAmd, "AMD EPYC", "EPYC", 25, 17, 1, 1, 2, 2, 2, 32,
                  32, 1024, 32768},
        // No brand string and no system description: no name at all; caches from leaf-2 descriptors.
        TDumpCase{"PentiumIII", "intel-pentium-iii.txt", "empty", TCpuVendor::cvIntel, "", "", 6, 8, 6, 1, 1, 1, 1, 16, 16,
                  256, 0},
        // The same with /proc/cpuinfo: its model name stands in for the brand string.
        TDumpCase{"PentiumIIIWithCpuinfo", "intel-pentium-iii.txt", "oldpc", TCpuVendor::cvIntel,
                  "Pentium III (Coppermine)", "Pentium III (Coppermine)", 6, 8, 6, 1, 1, 1, 1, 16, 16, 256, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CPUIdentificationTest, IntelTopologyDetails) {
  const TRecordedCpuid dump = LoadDump("intel-core-i7-2600.txt");
  TValtri_CPU cpu(dump, SysFixture("desktop"), [](int) { return 0u; });
  cpu.RefreshData();
  EXPECT_EQ(cpu.LogicalPerPackage(), 8);
  EXPECT_EQ(cpu.LogicalPerCore(), 2);
  EXPECT_EQ(cpu.APICID(), 0);
  EXPECT_EQ(cpu.GenericName(), "Intel64 Family 6 Model 42 Stepping 7");
  EXPECT_EQ(cpu.Cache().Level3.Desc, "L3 Unified 8192 KB, 16-way set associative, 64-byte line size");
}

TEST(CPUIdentificationTest, ThisMachine) {
  const TNativeCpuid native;
  TValtri_CPU cpu(native, {}, [](int) { return 1000u; });
  cpu.RefreshData();
#if defined(__x86_64__)
  EXPECT_NE(cpu.Vendor(), TCpuVendor::cvNone);
  EXPECT_FALSE(cpu.MarketingName().empty());
#endif
  EXPECT_EQ(cpu.ThreadCount(), std::min<long>(sysconf(_SC_NPROCESSORS_ONLN), 255));
  EXPECT_GE(cpu.CoreCount(), 1);
}

struct TNameCase {
  const char* Name;
  const char* Brand;
  const char* Expected;
};

class CleanBrandNameTest : public ::testing::TestWithParam<TNameCase> {};

TEST_P(CleanBrandNameTest, Shortens) { EXPECT_EQ(CleanBrandName(GetParam().Brand), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Names, CleanBrandNameTest,
    ::testing::Values(TNameCase{"IntelWithClock", "(R) Core(TM) i7-2600 CPU @ 3.40GHz", "Core i7-2600"},
                      TNameCase{"AmdTrademarkLowerCase", " Phenom(tm) II X4 955 Processor", "Phenom II X4 955"},
                      TNameCase{"CpuWithoutClock", "(R) Pentium(R) 4 CPU 3.00GHz", "Pentium 4"},
                      TNameCase{"GenuineAndTechnology", "Genuine (R) CPU T2300 @ 1.66GHz", "T2300"},
                      TNameCase{"Blanks", "  Ryzen 7   5800X 8-Core Processor  ", "Ryzen 7 5800X 8-Core"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TFrequencyCase {
  const char* Name;
  double Measured;  // MHz
  std::uint32_t Expected;
};

class FrequencyTest : public ::testing::TestWithParam<TFrequencyCase> {};

TEST_P(FrequencyTest, MeasuresAndSnaps) {
  const double mhz = GetParam().Measured;
  EXPECT_EQ(MeasureFrequency([mhz] { return TFrequencyTrial{mhz * 1000, 1000}; }), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Clocks, FrequencyTest,
                         ::testing::Values(TFrequencyCase{"SnapsDownTo90", 3392.3, 3390},
                                           TFrequencyCase{"RoundsUpToWhole", 3399.7, 3400},
                                           TFrequencyCase{"SnapsUpTo66", 2664.0, 2666},
                                           TFrequencyCase{"StaysAt60", 2660.4, 2660},
                                           TFrequencyCase{"StaysAt33", 1833.0, 1833},
                                           TFrequencyCase{"TieMovesUp", 1810.0, 1820},
                                           TFrequencyCase{"NextHundred", 2596.1, 2600}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FrequencyTest, TrialsUntilThreeAgree) {
  int calls = 0;
  // 2000, 3000, then steady 3000: the last three agree after the fifth trial.
  const std::uint32_t mhz = MeasureFrequency([&] {
    ++calls;
    return TFrequencyTrial{calls == 1 ? 2000.0 * 1000 : calls == 2 ? 2500.0 * 1000 : 3000.0 * 1000, 1000};
  });
  EXPECT_EQ(calls, 5);
  EXPECT_EQ(mhz, 2700u);  // every trial counts: 13 500 000 cycles over 5000 us
}

TEST(FrequencyTest, GivesUpAfterTwentyTrials) {
  int calls = 0;
  MeasureFrequency([&] {
    ++calls;
    return TFrequencyTrial{(calls % 2 ? 1000.0 : 2000.0) * 1000, 1000};
  });
  EXPECT_EQ(calls, 20);
}

TEST(FrequencyTest, NoCounterMeasuresNothing) {
  EXPECT_EQ(MeasureFrequency([] { return TFrequencyTrial{}; }), 0u);
}

struct TDescriptorCase {
  const char* Name;
  std::vector<std::uint8_t> Descriptors;
  TIntelBrands Brands;
  int L1Code, L1Data, L2, L3, Trace;
};

class DescriptorTest : public ::testing::TestWithParam<TDescriptorCase> {};

TEST_P(DescriptorTest, FillsSlots) {
  TCPUCache cache;
  FillCacheFromDescriptors(GetParam().Descriptors, GetParam().Brands, cache);
  EXPECT_EQ(cache.Level1Code.Size, GetParam().L1Code);
  EXPECT_EQ(cache.Level1Data.Size, GetParam().L1Data);
  EXPECT_EQ(cache.Level2.Size, GetParam().L2);
  EXPECT_EQ(cache.Level3.Size, GetParam().L3);
  EXPECT_EQ(cache.Trace.Size, GetParam().Trace);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, DescriptorTest,
    ::testing::Values(TDescriptorCase{"LaterTableEntryWins", {0x43, 0x7D}, 0, 0, 0, 2048, 0, 0},
                      TDescriptorCase{"TlbsFillNothing", {0x01, 0x02, 0x03, 0x5B, 0xB0}, 0, 0, 0, 0, 0, 0},
                      TDescriptorCase{"Pentium4", {0x66, 0x70, 0x7B, 0x22}, 0, 0, 8, 512, 512, 12},
                      TDescriptorCase{"Desc49OnDuoCoreIsLevel2", {0x49}, ibDuoCore, 0, 0, 4096, 0, 0},
                      TDescriptorCase{"Desc49OnP4IsLevel3", {0x49}, ibP4, 0, 0, 0, 4096, 0},
                      TDescriptorCase{"Desc49OtherwiseNothing", {0x49}, 0, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CpuidDumpTest, RejectsBadDumps) {
  const char* const bad[] = {"",
                             "# only a comment\n",
                             "processors 0\n0 0 1 2 3 4\n",
                             "processors x\n",
                             "0 0 1 2 3\n",
                             "0 0 1 2 3 4 5\n",
                             "zz 0 1 2 3 4\n",
                             "0 0 123456789 2 3 4\n",
                             "@x 1 0 1 2 3 4\n",
                             "@99999 1 0 1 2 3 4\n"};
  for (const char* text : bad) EXPECT_THROW(TRecordedCpuid::Parse(text), ECpuidDump) << text;
}

TEST(CpuidDumpTest, ProcessorRecordsOverrideCommonOnes) {
  const TRecordedCpuid dump = TRecordedCpuid::Parse("processors 2\n1 0 a b c d # common\n@1 1 0 1 2 3 4\n");
  EXPECT_EQ(dump.ProcessorCount(), 2u);
  EXPECT_EQ(dump.Execute(0, 1, 0), (TCPUIDResult{10, 11, 12, 13}));
  EXPECT_EQ(dump.Execute(1, 1, 0), (TCPUIDResult{1, 2, 3, 4}));
  EXPECT_EQ(dump.Execute(-1, 1, 0), (TCPUIDResult{10, 11, 12, 13}));
  EXPECT_EQ(dump.Execute(0, 7, 0), TCPUIDResult{});
}

TEST(CpuidDumpTest, RecordedDumpReplaysThisMachine) {
  const TNativeCpuid native;
  const TRecordedCpuid replay = TRecordedCpuid::Parse(FormatCpuidDump(native));
  EXPECT_EQ(replay.ProcessorCount(), native.ProcessorCount());
  TValtri_CPU live(native, {}, [](int) { return 1u; });
  TValtri_CPU replayed(replay, {}, [](int) { return 1u; });
  live.RefreshData();
  replayed.RefreshData();
  EXPECT_EQ(replayed.MarketingName(), live.MarketingName());
  EXPECT_EQ(replayed.CoreCount(), live.CoreCount());
  EXPECT_EQ(replayed.Cache().Level2.Size, live.Cache().Level2.Size);
}

}  // namespace
}  // namespace zentrix
