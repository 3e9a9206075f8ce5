#include "core/Extended.h"

#include <bit>

namespace zentrix {
namespace {

constexpr int kDoubleBias = 1023;
constexpr int kExtendedBias = 16383;
constexpr std::uint64_t kTopBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;

// m >> shift rounded to nearest, ties to even; shift 1..64, anything larger gives 0.
std::uint64_t RoundShift(std::uint64_t m, int shift) {
  if (shift > 64) return 0;
  const std::uint64_t q = shift == 64 ? 0 : m >> shift;
  const std::uint64_t rest = shift == 64 ? m : m & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  return (rest > half || (rest == half && (q & 1))) ? q + 1 : q;
}

}  // namespace

TExtendedBytes DoubleToExtended(double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const unsigned sign = static_cast<unsigned>(bits >> 63);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & kFractionMask;

  std::uint64_t significand = 0;
  unsigned biased = 0;
  if (exponent == 0x7FF) {
    biased = 0x7FFF;
    significand = fraction == 0 ? kTopBit : (kTopBit | (std::uint64_t{1} << 62) | (fraction << 11));
  } else if (exponent == 0) {
    if (fraction != 0) {
      // Subnormal double: normalise, the extended range holds it as a normal number.
      const int top = 63 - std::countl_zero(fraction);
      significand = fraction << (63 - top);
      biased = static_cast<unsigned>(top - 1074 + kExtendedBias);
    }
  } else {
    significand = kTopBit | (fraction << 11);
    biased = static_cast<unsigned>(exponent - kDoubleBias + kExtendedBias);
  }

  TExtendedBytes bytes{};
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  const unsigned head = (sign << 15) | biased;
  bytes[8] = static_cast<std::uint8_t>(head & 0xFF);
  bytes[9] = static_cast<std::uint8_t>(head >> 8);
  return bytes;
}

double ExtendedToDouble(const TExtendedBytes& bytes) {
  std::uint64_t m = 0;
  for (int i = 7; i >= 0; --i) m = (m << 8) | bytes[i];
  const unsigned head = static_cast<unsigned>(bytes[8]) | (static_cast<unsigned>(bytes[9]) << 8);
  const std::uint64_t sign = static_cast<std::uint64_t>(head >> 15) << 63;
  const int biased = static_cast<int>(head & 0x7FFF);

  if (biased == 0x7FFF) {
    const bool isNaN = (m << 1) != 0;
    return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) | (isNaN ? std::uint64_t{1} << 51 : 0));
  }
  if (m == 0) return std::bit_cast<double>(sign);

  // value = m * 2^(e - 63) with m normalised to its top bit; biased 0 is a denormal of exponent 1.
  int e = (biased == 0 ? 1 : biased) - kExtendedBias;
  const int lead = std::countl_zero(m);
  m <<= lead;
  e -= lead;

  if (e > kDoubleBias) return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
  if (e >= 1 - kDoubleBias) {
    std::uint64_t q = RoundShift(m, 11);  // 53 bits with the leading one
    if (q == (std::uint64_t{1} << 53)) {
      q >>= 1;
      ++e;
      if (e > kDoubleBias) return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
    }
    return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(e + kDoubleBias) << 52) | (q & kFractionMask));
  }
  // Subnormal result: fewer significant bits; a carry into bit 52 makes it the smallest normal.
  const std::uint64_t q = RoundShift(m, 11 + (1 - kDoubleBias - e));
  return std::bit_cast<double>(sign | q);
}

std::string ExtendedToHex(const TExtendedBytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(20);
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

bool TryHexToExtended(std::string_view text, TExtendedBytes& bytes) {
  if (text.size() != 20) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  TExtendedBytes result{};
  for (std::size_t i = 0; i < 10; ++i) {
    const int hi = digit(text[2 * i]);
    const int lo = digit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    result[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  bytes = result;
  return true;
}

}  // namespace zentrix
