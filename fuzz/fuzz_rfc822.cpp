#include <cstddef>
#include <cstdint>
#include <string>

#include "feeds/Valtri_RSS.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const zentrix::TDateTime t = zentrix::RFC822ToDateTime(std::string(reinterpret_cast<const char*>(data), size));
    // Whatever is accepted must be a date the rest of the program can show.
    (void)zentrix::FormatDateTimeText(t);
  } catch (const zentrix::EConvertError&) {
  }
  return 0;
}
