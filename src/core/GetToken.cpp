#include "core/GetToken.h"

namespace zentrix {

std::string GetToken(std::string_view text, std::size_t index, std::string_view delimiters) {
  std::size_t start = 0;
  for (std::size_t field = 0;; ++field) {
    const std::size_t end = text.find_first_of(delimiters, start);
    if (field == index) return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
    if (end == std::string_view::npos) return {};
    start = end + 1;
  }
}

}  // namespace zentrix
