// The number-system converter on arbitrary bases and digits. The first two bytes choose the
// bases (a few out of range), the rest is the value. A successful conversion must agree with
// an independent 128-bit reading of the digits and convert back to the same number.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engines/NumConv.h"

namespace {

int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// The digits' value, or -1 when they are no number of that base or exceed 63 bits.
__int128 Reference(const std::string& digits, int base) {
  if (digits.empty()) return -1;
  __int128 value = 0;
  for (char c : digits) {
    if (Digit(c) >= base) return -1;
    value = value * base + Digit(c);
    if (value > INT64_MAX) return -1;
  }
  return value;
}

__int128 Value(const std::string& digits, int base) {
  __int128 value = 0;
  for (char c : digits) value = value * base + Digit(c);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int from = static_cast<int>(data[0] % 40) - 1;
  const int to = static_cast<int>(data[1] % 40) - 1;
  const std::string value(reinterpret_cast<const char*>(data) + 2, size - 2);

  zentrix::TNumConv conv;
  conv.SetConvertFrom(from);
  conv.SetConvertTo(to);
  conv.SetValue(value);
  const bool ok = conv.Conversion();
  const std::string result = conv.Result();
  const std::string message = conv.ErrorMessage();
  if (message.empty()) std::abort();

  const bool basesValid = from >= 2 && from <= 36 && to >= 2 && to <= 36;
  const __int128 expected =
      basesValid && value.size() <= zentrix::TNumConv::kMaxValueLength ? Reference(value, from) : -1;
  if (ok != (expected >= 0)) std::abort();
  if (!ok) return 0;
  if (result.empty() || Value(result, to) != expected) std::abort();
  if (result.size() > 1 && result[0] == '0') std::abort();
  for (char c : result)
    if (Digit(c) >= to || (c >= 'a' && c <= 'z')) std::abort();

  // And back again, when the digits fit the converter's input.
  if (result.size() > zentrix::TNumConv::kMaxValueLength) return 0;
  conv.SetConvertFrom(to);
  conv.SetConvertTo(from);
  conv.SetValue(result);
  if (!conv.Conversion() || Value(conv.Result(), from) != expected) std::abort();
  return 0;
}
