// The cost of the bar's once-a-second reading on this machine: CPU sampler tick, memory refresh,
// power status and uptime. Goal: well under 100 microseconds together.
#include <benchmark/benchmark.h>

#include "core/FormatDuration.h"
#include "core/InterfaceTexts.h"
#include "sysinfo/PowerStatus.h"
#include "sysinfo/QDX_CPUUsage.h"
#include "sysinfo/QDX_Memory.h"
#include "sysinfo/QDX_OS.h"

namespace zentrix {
namespace {

void BM_CPUUsageTick(benchmark::State& state) {
  TValtri_CPUUsage usage;
  std::int32_t last = 0;
  usage.SetOnInterval([&](TValtri_CPUUsage&, const TCPUUsages&, std::int32_t avg) { last = avg; });
  usage.SetActive(true);
  for (auto _ : state) {
    usage.TimerTick();
    benchmark::DoNotOptimize(last);
  }
}
BENCHMARK(BM_CPUUsageTick);

void BM_MemoryRefresh(benchmark::State& state) {
  TValtri_Memory memory;
  for (auto _ : state) {
    memory.RefreshData();
    benchmark::DoNotOptimize(memory.MemoryLoad());
  }
}
BENCHMARK(BM_MemoryRefresh);

void BM_PowerStatus(benchmark::State& state) {
  for (auto _ : state) {
    const TPowerStatus status = ReadPowerStatus();
    benchmark::DoNotOptimize(PowerCaption(status, EnglishTexts()));
  }
}
BENCHMARK(BM_PowerStatus);

void BM_Uptime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FormatDuration(TickSeconds()));
}
BENCHMARK(BM_Uptime);

// Everything the tick reads, as the bar does it once a second.
void BM_OnceASecondReading(benchmark::State& state) {
  TValtri_CPUUsage usage;
  TValtri_Memory memory;
  std::int32_t cpu = 0;
  usage.SetOnInterval([&](TValtri_CPUUsage&, const TCPUUsages&, std::int32_t avg) { cpu = avg; });
  usage.SetActive(true);
  for (auto _ : state) {
    usage.TimerTick();
    memory.RefreshData();
    const TPowerStatus power = ReadPowerStatus();
    benchmark::DoNotOptimize(cpu);
    benchmark::DoNotOptimize(memory.MemoryLoad());
    benchmark::DoNotOptimize(PowerCaption(power, EnglishTexts()));
    benchmark::DoNotOptimize(FormatDuration(TickSeconds()));
  }
}
BENCHMARK(BM_OnceASecondReading);

}  // namespace
}  // namespace zentrix
