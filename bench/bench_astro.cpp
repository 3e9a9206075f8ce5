#include <benchmark/benchmark.h>

#include <vector>

#include "astro/MoonComp.h"
#include "astro/Reckonings.h"
#include "core/TimeZoneRule.h"

namespace {

using namespace zentrix;

void BM_SunPosition(benchmark::State& state) {
  TDateTime day = EncodeDate(2013, 3, 20);
  for (auto _ : state) {
    benchmark::DoNotOptimize(SunPosition(day));
    day += 0.001;
  }
}
BENCHMARK(BM_SunPosition);

void BM_MoonPosition(benchmark::State& state) {
  TDateTime day = EncodeDate(2013, 3, 20);
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonPosition(day));
    day += 0.001;
  }
}
BENCHMARK(BM_MoonPosition);

void BM_SeasonStart(benchmark::State& state) {
  int season = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SeasonStart(2013, season));
    season = (season + 1) % 4;
  }
}
BENCHMARK(BM_SeasonStart);

void BM_ChineseNewYearDate(benchmark::State& state) {
  int year = 2000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ChineseNewYearDate(year));
    year = year == 2030 ? 2000 : year + 1;
  }
}
BENCHMARK(BM_ChineseNewYearDate);

// The calendar window's event list: each yearly event for this year, or for the next one when it
// has passed. Late December is the worst case: nearly every event is computed twice.
void CalendarEvents(TDateTime today, std::vector<TDateTime>& events) {
  const int year = DecodeDateTime(today).Year;
  const TTimeZoneRule daylight{0, 3, 5, 0, 2, 0, 0, 0};
  const TTimeZoneRule standard{0, 10, 5, 0, 3, 0, 0, 0};
  auto yearly = [&](auto compute) {
    const TDateTime t = compute(year);
    events.push_back(today > t ? compute(year + 1) : t);
  };
  events.clear();
  events.push_back(PhaseAtOrAfter(static_cast<int>(TMoonPhase::Fullmoon), today));
  yearly([&](int y) { return TransitionDate(daylight, y); });
  yearly([&](int y) { return TransitionDate(standard, y); });
  yearly([](int y) { return EasterSunday(y) + 1; });
  for (int s = 0; s < 4; ++s) yearly([s](int y) { return SeasonStart(y, s); });
  yearly([](int y) { return ChineseNewYearDate(y); });
}

void BM_CalendarEventList(benchmark::State& state) {
  const TDateTime today = state.range(0) == 0 ? EncodeDate(2013, 6, 15) : EncodeDate(2013, 12, 30);
  std::vector<TDateTime> events;
  for (auto _ : state) {
    CalendarEvents(today, events);
    benchmark::DoNotOptimize(events.data());
  }
  state.SetLabel(state.range(0) == 0 ? "mid-June" : "late December (worst case)");
}
BENCHMARK(BM_CalendarEventList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
