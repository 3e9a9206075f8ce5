// The toolbar's stored record comes from a file anyone can edit: it must be refused or taken
// whole, never misread, and what is taken must write back byte for byte.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "appbar/AppBarSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto settings = zentrix::AppBarSettingsFromBytes(bytes);
  if (settings) {
    const zentrix::TAppBarSettingsBytes back = zentrix::AppBarSettingsToBytes(*settings);
    if (size != back.size() || std::memcmp(back.data(), data, size) != 0) std::abort();
  }
  return 0;
}
