// Arbitrary doubles and years into the date conversions and reckonings: every call must end
// (each iteration is bounded) with a result or one of the engine's own errors.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "astro/MoonComp.h"
#include "astro/Reckonings.h"
#include "core/Exceptions.h"

namespace {

using namespace zentrix;

class TInput {
public:
  TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

  double Real() {
    double value = 0;
    Take(&value, sizeof value);
    return value;
  }
  // Mostly plausible day numbers, sometimes any bit pattern.
  double Day() {
    const std::uint8_t kind = Byte();
    if (kind % 4 == 0) return Real();
    return -700000.0 + std::fmod(std::fabs(Real()), 3700000.0);
  }
  int Year() {
    std::int32_t value = 0;
    Take(&value, sizeof value);
    return Byte() % 2 == 0 ? value : 1 + static_cast<int>(static_cast<std::uint32_t>(value) % 10200u);
  }
  std::uint8_t Byte() {
    std::uint8_t value = 0;
    Take(&value, 1);
    return value;
  }

private:
  void Take(void* out, std::size_t n) {
    const std::size_t k = n < FSize ? n : FSize;
    std::memcpy(out, FData, k);
    FData += k;
    FSize -= k;
  }
  const std::uint8_t* FData;
  std::size_t FSize;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

template <typename F>
void Guarded(F f) {
  try {
    f();
  } catch (const EZentrixError&) {
    // An engine error with its message is the expected answer to bad input.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TInput in(data, size);
  const std::uint8_t op = in.Byte();
  switch (op % 14) {
    case 0:
      Guarded([&] {
        const int y = in.Year(), m = in.Byte() % 14, d = in.Byte() % 33;
        const double jd = CalendarToJD(y, m, d);
        const TCalendarDate back = JDToCalendar(jd);
        Check(back.Year == y && back.Month == m && back.Day == d);
      });
      break;
    case 1:
      Guarded([&] {
        const TCalendarDate d = JDToCalendar(in.Real());
        Check(d.Month >= 1 && d.Month <= 12 && d.Day >= 1 && d.Day <= 31);
      });
      break;
    case 2:
      Guarded([&] {
        const int phase = in.Byte() % 10;
        const double day = in.Day();
        const TDateTime t = in.Byte() % 2 ? PhaseAtOrAfter(phase, day) : PhaseAtOrBefore(phase, day);
        Check(std::isfinite(t));
      });
      break;
    case 3:
      Guarded([&] { PhaseInstant(in.Byte() % 10, in.Day()); });
      break;
    case 4:
      Guarded([&] {
        const double lon = in.Real(), lat = in.Real(), day = in.Day();
        const TDateTime t = in.Byte() % 2 ? SunriseTime(lon, lat, day) : SunsetTime(lon, lat, day);
        Check(std::isfinite(t));
      });
      break;
    case 5:
      Guarded([&] {
        const TDateTime t = SolarLongitudeTime(in.Year(), static_cast<std::int8_t>(in.Byte()) % 26);
        Check(std::isfinite(t));
      });
      break;
    case 6:
      Guarded([&] { SeasonStart(in.Year(), in.Byte() % 5); });
      break;
    case 7:
      Guarded([&] {
        const double day = in.Day();
        const TDateTime t = in.Byte() % 2 ? MajorTermAfter(day) : MajorTermBefore(day);
        Check(std::isfinite(t));
      });
      break;
    case 8:
      Guarded([&] {
        const double day = in.Day();
        const double f = IlluminatedFraction(day);
        if (std::isfinite(day) && std::fabs(day) < 1e7) Check(f >= 0 && f <= 1);
        MoonAge(day);
        SiderealTime(day);
      });
      break;
    case 9:
      Guarded([&] { PassoverDate(in.Year()); });
      Guarded([&] { HebrewYearType(in.Year()); });
      break;
    case 10:
      Guarded([&] {
        const THebrewDate h = HebrewDate(in.Day());
        Check(h.Month >= 1 && h.Month <= 13 && h.Day >= 1 && h.Day <= 30);
        HebrewDateText(in.Day(), EnglishTexts());
      });
      break;
    case 11:
      Guarded([&] { ChineseNewYearDate(in.Year()); });
      break;
    case 12:
      Guarded([&] { EasterSunday(in.Year()); });
      break;
    default:
      Guarded([&] {
        const double t = in.Real();
        FromBeijingTime(ToBeijingTime(t));
      });
      break;
  }
  return 0;
}
