#include <gtest/gtest.h>

#include <unistd.h>

#include "Fixtures.h"
#include "sysinfo/QDX_Memory.h"

namespace zentrix {
namespace {

using test::SysFixture;

constexpr std::int64_t kKiB = 1024;

TEST(MemoryTest, DesktopFiguresFromProc) {
  TValtri_Memory memory(SysFixture("desktop"));
  memory.RefreshData();
  EXPECT_TRUE(memory.DataAvailable());
  EXPECT_EQ(memory.PhysicalTotal(), 16384000 * kKiB);
  EXPECT_EQ(memory.PhysicalFree(), 8192000 * kKiB);  // MemAvailable, not MemFree
  EXPECT_EQ(memory.MemoryLoad(), 50);
  EXPECT_EQ(memory.PageFileTotal(), (16384000 + 2097152) * kKiB);
  EXPECT_EQ(memory.PageFileFree(), (8192000 + 1048576) * kKiB);
  EXPECT_EQ(memory.MinAppAddress(), 65536);
  const std::int64_t page = sysconf(_SC_PAGESIZE);
  EXPECT_EQ(memory.PageSize(), page);
  EXPECT_EQ(memory.VirtualTotal(), memory.MaxAppAddress() + 1 - 65536);
  EXPECT_EQ(memory.VirtualFree(), memory.VirtualTotal() - 262144 * page);
}

TEST(MemoryTest, OldKernelWithoutMemAvailable) {
  TValtri_Memory memory(SysFixture("laptop"));
  memory.RefreshData();
  // Free + buffers + cache = 3 200 000 kB of 8 000 000 kB.
  EXPECT_EQ(memory.PhysicalFree(), 3200000 * kKiB);
  EXPECT_EQ(memory.MemoryLoad(), 60);
  EXPECT_EQ(memory.PageFileFree(), (3200000 + 4000000) * kKiB);
}

struct TMemInfoCase {
  const char* Name;
  const char* Text;
  bool Ok;
  std::uint64_t Total, Available;
};

class ParseMemInfoTest : public ::testing::TestWithParam<TMemInfoCase> {};

TEST_P(ParseMemInfoTest, Parses) {
  TMemInfo info;
  EXPECT_EQ(ParseMemInfo(GetParam().Text, info), GetParam().Ok);
  EXPECT_EQ(info.MemTotal, GetParam().Total);
  EXPECT_EQ(info.MemAvailable.value_or(0), GetParam().Available);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseMemInfoTest,
    ::testing::Values(TMemInfoCase{"Ordinary", "MemTotal: 100 kB\nMemAvailable: 50 kB\n", true, 102400, 51200},
                      TMemInfoCase{"NoTotal", "MemFree: 100 kB\n", false, 0, 0},
                      TMemInfoCase{"Empty", "", false, 0, 0},
                      TMemInfoCase{"UnknownUnitSkipped", "MemTotal: 100 MB\n", false, 0, 0},
                      TMemInfoCase{"OverflowSkipped", "MemTotal: 18446744073709551615 kB\nMemTotal: 1 kB\n", true, 1024, 0},
                      TMemInfoCase{"GarbageAround", "junk\n:\nMemTotal:\nMemTotal: x kB\nMemTotal: 7 kB", true, 7168, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStatusCase {
  const char* Name;
  TMemInfo Info;
  TAddressSpace Space;
  std::int32_t Load;
  std::int64_t PhysicalFree, VirtualTotal, VirtualFree;
};

class BuildMemoryStatusTest : public ::testing::TestWithParam<TStatusCase> {};

TEST_P(BuildMemoryStatusTest, Derives) {
  const TMemoryStatus s = BuildMemoryStatus(GetParam().Info, GetParam().Space);
  EXPECT_EQ(s.MemoryLoad, GetParam().Load);
  EXPECT_EQ(s.PhysicalFree, GetParam().PhysicalFree);
  EXPECT_EQ(s.VirtualTotal, GetParam().VirtualTotal);
  EXPECT_EQ(s.VirtualFree, GetParam().VirtualFree);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, BuildMemoryStatusTest,
    ::testing::Values(
        TStatusCase{"NothingKnown", {}, {4096, 4095, UINT64_MAX, 0, 4096}, 0, 0, 0, 0},
        TStatusCase{"AvailableAboveTotalIsCapped", {1000, 0, 5000}, {0, 999, UINT64_MAX, 10, 4096}, 0, 1000, 1000, 990},
        TStatusCase{"AddressSpaceLimit", {1000, 0, 250}, {0, 999999, 5000, 6000, 4096}, 75, 250, 5000, 0},
        TStatusCase{"HalfPercentRoundsToEven", {1000, 0, 995}, {0, 0, UINT64_MAX, 0, 4096}, 0, 995, 1, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MemoryTest, StatmSize) {
  EXPECT_EQ(ParseStatmSize("10 2 3 4 5 6 7\n", 4096), 40960u);
  EXPECT_FALSE(ParseStatmSize("", 4096));
  EXPECT_FALSE(ParseStatmSize("18446744073709551615 1", 4096));
}

}  // namespace
}  // namespace zentrix
