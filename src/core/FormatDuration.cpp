#include "core/FormatDuration.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace zentrix {

std::string FormatDuration(double seconds) {
  constexpr double kCentury = 3157920000.0;
  constexpr double kYear = 31579200.0;
  constexpr double kMonth = 2592000.0;
  constexpr double kWeek = 604800.0;
  constexpr double kDay = 86400.0;

  double rest = (std::isfinite(seconds) && seconds > 0) ? seconds : 0.0;
  rest = std::fmod(rest, kCentury);
  auto take = [&rest](double unit) {
    const double count = std::trunc(rest / unit);
    rest -= count * unit;
    return static_cast<std::int64_t>(count);
  };
  const auto years = take(kYear);
  const auto months = take(kMonth);
  const auto weeks = take(kWeek);
  const auto days = take(kDay) + 7 * weeks;
  const auto hours = take(3600.0);
  const auto minutes = take(60.0);
  const auto secs = static_cast<std::int64_t>(std::trunc(rest));

  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%2.2lld.%2.2lld.%2.2lld %2.2lld:%2.2lld:%2.2lld",
                static_cast<long long>(years), static_cast<long long>(months), static_cast<long long>(days),
                static_cast<long long>(hours), static_cast<long long>(minutes), static_cast<long long>(secs));
  return buffer;
}

}  // namespace zentrix
