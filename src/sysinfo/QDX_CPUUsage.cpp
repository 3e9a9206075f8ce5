#include "sysinfo/QDX_CPUUsage.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;  // 100 ns units in one second

}  // namespace

std::int64_t MonotonicNanoseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void ParseProcStat(std::string_view text, long ticksPerSecond, std::vector<TProcessorIdle>& out) {
  out.clear();
  if (ticksPerSecond <= 0) return;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    // "cpuN" only: the summary line "cpu  ..." must not pass for a processor.
    if (line.size() < 4 || line.substr(0, 3) != "cpu" || line[3] < '0' || line[3] > '9') continue;
    std::string_view rest;
    const auto id = systext::ParseUnsigned(line.substr(3), &rest);
    if (!id || *id > 1'000'000 || rest.empty() || (rest.front() != ' ' && rest.front() != '\t')) continue;
    // user nice system idle [iowait ...]
    std::uint64_t columns[5] = {0, 0, 0, 0, 0};
    int count = 0;
    for (; count < 5; ++count) {
      const auto value = systext::ParseUnsigned(rest, &rest);
      if (!value) break;
      columns[count] = *value;
    }
    if (count < 4) continue;
    const std::uint64_t ticks = columns[3] + columns[4];
    if (ticks < columns[3]) continue;
    // ticks * 10^7 / hz; exact while the product fits, as it does for any real uptime.
    std::int64_t units;
    if (ticks <= static_cast<std::uint64_t>(INT64_MAX / kUnitsPerSecond)) {
      units = static_cast<std::int64_t>(ticks) * kUnitsPerSecond / ticksPerSecond;
    } else {
      const long double scaled = static_cast<long double>(ticks) * kUnitsPerSecond / ticksPerSecond;
      if (scaled >= 9.2e18L) continue;
      units = static_cast<std::int64_t>(scaled);
    }
    out.push_back({static_cast<int>(*id), units});
  }
}

std::vector<TProcessorIdle> ParseProcStat(std::string_view text, long ticksPerSecond) {
  std::vector<TProcessorIdle> out;
  ParseProcStat(text, ticksPerSecond, out);
  return out;
}

std::int32_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
  if (rounded >= 2147483647.0) return INT32_MAX;
  if (rounded <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(rounded);
}

std::int32_t LoadPercent(std::int64_t idleDelta, std::int64_t elapsed) {
  if (elapsed <= 0) return 0;
  // Busy time first, in whole units, so that exact halves stay exact. Idle counters of different
  // processors are sampled a moment apart, and iowait may even step back, so the share can leave
  // 0..1 by a little: keep the result a percentage.
  const double busy = static_cast<double>(elapsed) - static_cast<double>(idleDelta);
  return std::clamp(RoundHalfEven(busy * 100.0 / static_cast<double>(elapsed)), 0, 100);
}

std::int32_t AverageLoad(const TCPUUsages& loads) {
  if (loads.empty()) return 0;
  double sum = 0;
  for (const std::int32_t load : loads) sum += load;
  return RoundHalfEven(sum / static_cast<double>(loads.size()));
}

TValtri_CPUUsage::TValtri_CPUUsage(std::string root, TMonotonicClock clock)
    : FStatPath(std::move(root) + "/proc/stat"), FClock(std::move(clock)), FTicksPerSecond(sysconf(_SC_CLK_TCK)) {
  if (FTicksPerSecond <= 0) FTicksPerSecond = 100;
  // The processors are those of the first reading; a machine we cannot read counts as one.
  if (systext::ReadFileInto(FStatPath, FBuffer)) ParseProcStat(FBuffer, FTicksPerSecond, FParsed);
  for (const TProcessorIdle& p : FParsed) FIds.push_back(p.Id);
  std::sort(FIds.begin(), FIds.end());
  FIds.erase(std::unique(FIds.begin(), FIds.end()), FIds.end());
  if (FIds.empty()) FIds.push_back(0);
  FValues.assign(FIds.size(), 0);
  FLastValues.assign(FIds.size(), 0);
  FSeen.assign(FIds.size(), false);
  FLastSeen.assign(FIds.size(), false);
  FUsages.assign(FIds.size(), 0);
}

void TValtri_CPUUsage::SetActive(bool active) {
  if (active) UpdateUsage();
  FActive = active;
}

bool TValtri_CPUUsage::ReadIdleTimes() {
  std::fill(FSeen.begin(), FSeen.end(), false);
  if (!systext::ReadFileInto(FStatPath, FBuffer)) return false;
  ParseProcStat(FBuffer, FTicksPerSecond, FParsed);
  // A processor that went offline is simply absent from the reading.
  for (const TProcessorIdle& p : FParsed) {
    const auto it = std::lower_bound(FIds.begin(), FIds.end(), p.Id);
    if (it == FIds.end() || *it != p.Id) continue;
    const auto slot = static_cast<std::size_t>(it - FIds.begin());
    FValues[slot] = p.Idle;
    FSeen[slot] = true;
  }
  return !FParsed.empty();
}

void TValtri_CPUUsage::UpdateUsage() {
  FLastValues = FValues;
  FLastSeen = FSeen;
  const bool hadReading = FHaveReading;
  FLastTime = FTime;
  FTime = FClock() / 100;
  FHaveReading = ReadIdleTimes();
  // The load is the idle share of the time that really passed since the previous reading, so
  // a late tick still measures the whole gap instead of one nominal interval.
  const std::int64_t elapsed = hadReading && FHaveReading ? FTime - FLastTime : 0;
  for (std::size_t i = 0; i < FUsages.size(); ++i)
    FUsages[i] = FSeen[i] && FLastSeen[i] ? LoadPercent(FValues[i] - FLastValues[i], elapsed) : 0;
}

void TValtri_CPUUsage::TimerTick() {
  if (!FActive || FInterval == 0) return;
  UpdateUsage();
  const std::int32_t average = AverageLoad(FUsages);
  if (FOnInterval) FOnInterval(*this, FUsages, average);
}

}  // namespace zentrix
