// Compiled zone files and the POSIX rules at their end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sysinfo/TZif.h"

namespace {

void TryRule(std::string_view text) {
  using namespace zentrix;
  try {
    const TPosixTZ tz = ParsePosixTZ(text);
    if (tz.HasRules)
      for (const int year : {1, 2013, 2024, 9999}) {
        try {
          PosixTransition(tz.Start, year);
          PosixTransition(tz.End, year);
        } catch (const EConvertError&) {
        }
      }
  } catch (const ETimeZone&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zentrix;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const TTZif zone = ParseTZif(bytes);
    TryRule(zone.Footer);
  } catch (const ETimeZone&) {
  }
  TryRule(bytes);
  return 0;
}
