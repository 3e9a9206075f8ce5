#include <cstddef>
#include <cstdint>
#include <string_view>

#include "feeds/WebUpdate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const zentrix::TUpdatePage page =
      zentrix::ParseUpdatePage(std::string_view(reinterpret_cast<const char*>(data), size));
  (void)zentrix::IsNewerVersion(page.Version, "1.8.0.0");
  return 0;
}
