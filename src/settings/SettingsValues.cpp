#include "settings/SettingsValues.h"

#include <charconv>

#include "core/Extended.h"

namespace zentrix {
namespace {

bool SameAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

[[noreturn]] void Bad(std::string_view text, const char* kind, std::string_view what) {
  std::string shown(text.substr(0, 64));
  throw ESettingsError("\"" + shown + "\" is not a valid " + kind + " value for " + std::string(what));
}

bool TryInteger(std::string_view text, int& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.size() > 1 && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  long long magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size() || magnitude < 0) return false;
  const long long signedValue = negative ? -magnitude : magnitude;
  // Hexadecimal may spell a negative number through its 32-bit pattern ("$FFFFFFFF").
  if (base == 16 && !negative && signedValue > 0x7FFFFFFFLL && signedValue <= 0xFFFFFFFFLL) {
    value = static_cast<int>(static_cast<unsigned>(signedValue));
    return true;
  }
  if (signedValue < -2147483648LL || signedValue > 2147483647LL) return false;
  value = static_cast<int>(signedValue);
  return true;
}

}  // namespace

std::string EncodeBoolean(bool value) { return value ? "真的" : "错误的"; }

bool DecodeBoolean(std::string_view text, std::string_view what) {
  for (const char* word : {"真的", "是的", "Y"})
    if (SameAsciiCase(text, word)) return true;
  for (const char* word : {"错误的", "不", "N"})
    if (SameAsciiCase(text, word)) return false;
  int number = 0;
  if (!TryInteger(text, number)) Bad(text, "Boolean", what);
  return number != 0;
}

std::string EncodeInteger(int value) { return std::to_string(value); }

int DecodeInteger(std::string_view text, std::string_view what) {
  int value = 0;
  if (!TryInteger(text, value)) Bad(text, "integer", what);
  return value;
}

std::string EncodeReal(double value) { return ExtendedToHex(DoubleToExtended(value)); }

double DecodeReal(std::string_view text, std::string_view what) {
  TExtendedBytes bytes;
  if (!TryHexToExtended(text, bytes)) Bad(text, "real", what);
  return ExtendedToDouble(bytes);
}

}  // namespace zentrix
