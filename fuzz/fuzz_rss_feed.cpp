#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feeds/Valtri_RSS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zentrix::TRSSData feed;
  zentrix::ParseRSSFeed(std::string_view(reinterpret_cast<const char*>(data), size), feed);
  return 0;
}
