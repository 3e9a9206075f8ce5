#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

// Cumulative idle time per processor, in 100 ns units.
using TUsages = std::vector<std::int64_t>;
// Load per processor, percent.
using TCPUUsages = std::vector<std::int32_t>;

class TValtri_CPUUsage;
using TOnIntervalEvent = std::function<void(TValtri_CPUUsage& sender, const TCPUUsages& values, std::int32_t avgValue)>;

// Monotonic nanoseconds; a seam so that tests decide how much time passed between readings.
using TMonotonicClock = std::function<std::int64_t()>;
std::int64_t MonotonicNanoseconds();

// One processor's line of /proc/stat.
struct TProcessorIdle {
  int Id = 0;                // N of "cpuN"
  std::int64_t Idle = 0;     // idle + iowait, 100 ns units
};

// The per-processor idle times of /proc/stat text (the "cpuN" lines; the summary "cpu" line is
// skipped). Idle counts the idle and iowait columns, converted from clock ticks
// (ticksPerSecond, the kernel's USER_HZ) to 100 ns. Lines that do not parse are left out.
std::vector<TProcessorIdle> ParseProcStat(std::string_view text, long ticksPerSecond);
// The same into a caller's vector, so that a once-a-second reading allocates nothing.
void ParseProcStat(std::string_view text, long ticksPerSecond, std::vector<TProcessorIdle>& out);

// Rounds half to even (25.5 -> 26, 0.5 -> 0, 1.5 -> 2), as every measured value is rounded.
std::int32_t RoundHalfEven(double value);

// The load of one processor from the idle time that passed and the time that really passed,
// both in 100 ns units, rounded to a whole percent and kept within 0..100. Without elapsed
// time there is no load to report: 0.
std::int32_t LoadPercent(std::int64_t idleDelta, std::int64_t elapsed);

// The rounded average of the loads; 0 for none.
std::int32_t AverageLoad(const TCPUUsages& loads);

// Samples every processor's idle time from /proc/stat under `root` and reports the loads. The
// owner drives the timer: while Active, it calls TimerTick every Interval milliseconds.
class TValtri_CPUUsage {
public:
  explicit TValtri_CPUUsage(std::string root = {}, TMonotonicClock clock = MonotonicNanoseconds);

  bool Active() const { return FActive; }
  // true takes a priming reading at once (no event); false stops the ticks.
  void SetActive(bool active);
  std::uint32_t Interval() const { return FInterval; }
  void SetInterval(std::uint32_t milliseconds) { FInterval = milliseconds; }
  void SetOnInterval(TOnIntervalEvent handler) { FOnInterval = std::move(handler); }

  std::size_t CPUCount() const { return FIds.size(); }
  const TCPUUsages& Usages() const { return FUsages; }

  // One tick of the owner's timer: a reading, then OnInterval with the loads and their average.
  // Silent while inactive or with Interval 0.
  void TimerTick();
  // Takes a reading and recomputes the loads against the previous one.
  void UpdateUsage();

private:
  bool ReadIdleTimes();

  std::string FStatPath;
  TMonotonicClock FClock;
  long FTicksPerSecond;
  bool FActive = false;
  std::uint32_t FInterval = 1000;
  TOnIntervalEvent FOnInterval;
  std::vector<int> FIds;          // processor numbers, fixed at construction
  TUsages FValues;
  TUsages FLastValues;
  std::vector<bool> FSeen;        // whether the latest reading had the processor
  std::vector<bool> FLastSeen;
  TCPUUsages FUsages;
  std::int64_t FTime = 0;         // monotonic time of the latest reading, 100 ns units
  std::int64_t FLastTime = 0;
  bool FHaveReading = false;
  std::string FBuffer;
  std::vector<TProcessorIdle> FParsed;
};

}  // namespace zentrix
