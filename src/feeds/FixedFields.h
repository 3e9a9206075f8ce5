#pragma once

#include <cstddef>
#include <string_view>

namespace zentrix {

// Readers of fixed-position fields, as the dates of feeds and weather answers are laid out.

// Characters first..first+count-1 (counted from 1), cut at the end of the text.
inline std::string_view Part(std::string_view s, std::size_t first, std::size_t count) {
  if (first < 1 || first > s.size()) return {};
  return s.substr(first - 1, count);
}

// Leading blanks allowed, then digits to the end; nothing else. Fields are a few digits wide;
// longer runs are refused rather than overflowing.
inline bool ReadInt(std::string_view s, int& value) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  if (i == s.size() || s.size() - i > 9) return false;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  value = v;
  return true;
}

}  // namespace zentrix
