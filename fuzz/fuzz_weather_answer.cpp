#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Exceptions.h"
#include "feeds/Valtri_WeatherForecast.h"

// Both answers of the weather service: the first byte picks the parser.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string error;
  if (data[0] & 1) {
    zentrix::TWeatherLocations locations;
    try {
      zentrix::ParseLocationsAnswer(bytes, true, locations, error);
    } catch (const zentrix::EConvertError&) {
    }
  } else {
    zentrix::TCurrentWeather current;
    zentrix::TWeatherForecast forecast;
    zentrix::ParseWeatherAnswer(bytes, true, "/tmp/icons/", 41353.0, current, forecast, error);
  }
  return 0;
}
