#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "feeds/Valtri_RSS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = zentrix::HtmlToText(std::string_view(reinterpret_cast<const char*>(data), size));
  // Every step removes or shrinks, except a line break replacing a <br> of 4 or more characters.
  if (text.size() > size) std::abort();
  return 0;
}
