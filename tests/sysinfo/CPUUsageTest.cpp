#include <gtest/gtest.h>

#include <filesystem>

#include "Fixtures.h"
#include "support/TempDir.h"
#include "sysinfo/QDX_CPUUsage.h"

namespace zentrix {
namespace {

using test::SysFixture;
using test::TTempDir;

struct TAverageCase {
  const char* Name;
  TCPUUsages Loads;
  std::int32_t Expected;
};

class AverageLoadTest : public ::testing::TestWithParam<TAverageCase> {};

TEST_P(AverageLoadTest, RoundsHalvesToEven) { EXPECT_EQ(AverageLoad(GetParam().Loads), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Averages, AverageLoadTest,
                         ::testing::Values(TAverageCase{"SingleProcessor", {57}, 57},
                                           TAverageCase{"QuarterRoundsDown", {10, 20, 30, 41}, 25},
                                           TAverageCase{"HalfToEvenZero", {0, 1}, 0},
                                           TAverageCase{"HalfToEvenTwo", {1, 2}, 2},
                                           TAverageCase{"AllBusy", {100, 100}, 100},
                                           TAverageCase{"NoProcessors", {}, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct TLoadCase {
  const char* Name;
  std::int64_t IdleDelta;  // 100 ns units
  std::int64_t Elapsed;
  std::int32_t Expected;
};

class LoadPercentTest : public ::testing::TestWithParam<TLoadCase> {};

TEST_P(LoadPercentTest, IdleShareOfTheRealGap) {
  EXPECT_EQ(LoadPercent(GetParam().IdleDelta, GetParam().Elapsed), GetParam().Expected);
}

constexpr std::int64_t kSecond = 10'000'000;

INSTANTIATE_TEST_SUITE_P(
    Loads, LoadPercentTest,
    ::testing::Values(TLoadCase{"BusyWholeInterval", 0, kSecond, 100}, TLoadCase{"IdleWholeInterval", kSecond, kSecond, 0},
                      TLoadCase{"TenPercent", 9 * kSecond / 10, kSecond, 10},
                      // A tick 1 s late on a half-busy machine: over the real 2 s it is 50 %, where
                      // dividing by the nominal interval gave a negative load and so 0.
                      TLoadCase{"LateTickHalfBusy", kSecond, 2 * kSecond, 50},
                      TLoadCase{"LateTickIdle", 2 * kSecond, 2 * kSecond, 0},
                      TLoadCase{"HalfPercentToEven", 9'950'000, kSecond, 0},
                      TLoadCase{"OneAndHalfToEven", 9'850'000, kSecond, 2},
                      TLoadCase{"NoElapsedTime", kSecond, 0, 0},
                      TLoadCase{"IowaitSteppedBack", -kSecond / 10, kSecond, 100},
                      TLoadCase{"MoreIdleThanTime", 3 * kSecond, kSecond, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStatCase {
  const char* Name;
  const char* Text;
  long Hz;
  std::vector<std::pair<int, std::int64_t>> Expected;  // processor, idle in 100 ns
};

class ParseProcStatTest : public ::testing::TestWithParam<TStatCase> {};

TEST_P(ParseProcStatTest, ReadsIdleAndIowait) {
  const auto parsed = ParseProcStat(GetParam().Text, GetParam().Hz);
  std::vector<std::pair<int, std::int64_t>> got;
  for (const TProcessorIdle& p : parsed) got.emplace_back(p.Id, p.Idle);
  EXPECT_EQ(got, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseProcStatTest,
    ::testing::Values(
        TStatCase{"SummaryLineSkipped", "cpu  1 2 3 400 5\ncpu0 1 2 3 400 5 6 7\n", 100, {{0, 405 * 100000}}},
        TStatCase{"NoIowaitColumn", "cpu3 1 2 3 250\n", 100, {{3, 250 * 100000}}},
        TStatCase{"OtherTickRate", "cpu0 0 0 0 1000 0\n", 1000, {{0, 1000 * 10000}}},
        TStatCase{"GapsInNumbering", "cpu0 0 0 0 1 1\ncpu2 0 0 0 2 2\n", 100, {{0, 200000}, {2, 400000}}},
        TStatCase{"MalformedLinesLeftOut",
                  "cpux 1 2 3 4\ncpu 1\ncpu0\ncpu1 1 2 3\ncpu2 1 -2 3 4\ncpu07x 1 2 3 4\nintr 5\ncpu4 1 2 3 4",
                  100, {{4, 400000}}},
        TStatCase{"OverflowingCounterLeftOut", "cpu0 0 0 0 18446744073709551615 5\ncpu1 0 0 0 99999999999999999999 0\n",
                  100, {}},
        TStatCase{"NoTickRate", "cpu0 0 0 0 1 1\n", 0, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

// Drives the sampler over the fixture pair of /proc/stat readings with a clock we move by hand.
class CPUUsageSamplerTest : public ::testing::Test {
protected:
  void Install(const char* name) {
    std::filesystem::create_directories(FRoot.Path() / "proc");
    std::filesystem::copy_file(SysFixture(std::string("stat/") + name), FRoot.Path() / "proc/stat",
                               std::filesystem::copy_options::overwrite_existing);
  }
  TTempDir FRoot;
  std::int64_t FNow = 1'000'000'000;
  TMonotonicClock FClock = [this] { return FNow; };
};

TEST_F(CPUUsageSamplerTest, ReportsTheLoadsOfOneSecond) {
  Install("first");
  TValtri_CPUUsage usage(FRoot.Path().string(), FClock);
  ASSERT_EQ(usage.CPUCount(), 4u);
  int events = 0;
  TCPUUsages reported;
  std::int32_t average = -1;
  usage.SetOnInterval([&](TValtri_CPUUsage&, const TCPUUsages& values, std::int32_t avg) {
    ++events;
    reported = values;
    average = avg;
  });
  usage.SetActive(true);
  usage.SetActive(true);  // two priming readings, no event
  EXPECT_EQ(events, 0);
  EXPECT_EQ(usage.Usages(), (TCPUUsages{0, 0, 0, 0}));

  Install("second");
  FNow += 1'000'000'000;
  usage.TimerTick();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(reported, (TCPUUsages{10, 20, 30, 41}));
  EXPECT_EQ(average, 25);
}

TEST_F(CPUUsageSamplerTest, LateTickMeasuresTheWholeGap) {
  Install("first");
  TValtri_CPUUsage usage(FRoot.Path().string(), FClock);
  std::int32_t average = -1;
  usage.SetOnInterval([&](TValtri_CPUUsage&, const TCPUUsages&, std::int32_t avg) { average = avg; });
  usage.SetActive(true);
  Install("second");
  FNow += 2'000'000'000;  // the tick came a second late
  usage.TimerTick();
  // Idle 90, 80, 70 and 59 ticks of 200: loads 55, 60, 65 and 70.5 (to even: 70).
  EXPECT_EQ(usage.Usages(), (TCPUUsages{55, 60, 65, 70}));
  EXPECT_EQ(average, 62);
}

TEST_F(CPUUsageSamplerTest, SilentWhileInactiveOrWithoutInterval) {
  Install("first");
  TValtri_CPUUsage usage(FRoot.Path().string(), FClock);
  int events = 0;
  usage.SetOnInterval([&](TValtri_CPUUsage&, const TCPUUsages&, std::int32_t) { ++events; });
  usage.TimerTick();
  EXPECT_EQ(events, 0);
  usage.SetInterval(0);
  usage.SetActive(true);
  usage.TimerTick();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(usage.Usages(), (TCPUUsages{0, 0, 0, 0}));
}

TEST_F(CPUUsageSamplerTest, UnreadableStatisticsGiveNoLoad) {
  Install("first");
  TValtri_CPUUsage usage(FRoot.Path().string(), FClock);
  usage.SetActive(true);
  std::filesystem::remove(FRoot.Path() / "proc/stat");
  FNow += 1'000'000'000;
  usage.SetActive(true);
  usage.TimerTick();
  EXPECT_EQ(usage.Usages(), (TCPUUsages{0, 0, 0, 0}));
  // The next good reading is a fresh baseline, not a comparison across the gap.
  Install("second");
  FNow += 1'000'000'000;
  usage.TimerTick();
  EXPECT_EQ(usage.Usages(), (TCPUUsages{0, 0, 0, 0}));
}

TEST(CPUUsageMachineTest, MissingStatisticsCountAsOneProcessor) {
  TValtri_CPUUsage usage("/nonexistent-root");
  EXPECT_EQ(usage.CPUCount(), 1u);
}

}  // namespace
}  // namespace zentrix
