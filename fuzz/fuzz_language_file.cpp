// The language-file reader on arbitrary bytes: a clean error or a table, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const auto texts = zentrix::ParseLanguageFile(text);
    for (const auto& [key, value] : texts)
      if (key.empty() || !zentrix::IsValidUtf8(value)) std::abort();
  } catch (const zentrix::ELanguageFileError&) {
  }
  return 0;
}
