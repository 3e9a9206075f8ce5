#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentrix {

// The ten bytes of an 80-bit extended-precision number (x87 layout), lowest address first:
// 64-bit significand with an explicit integer bit, then sign and 15-bit exponent. Built and
// read with integer arithmetic so the result is the same on every compiler and processor.
using TExtendedBytes = std::array<std::uint8_t, 10>;

// Exact: every double is representable.
TExtendedBytes DoubleToExtended(double value);
// Rounded to the nearest double (ties to even); too large gives infinity, too small zero.
double ExtendedToDouble(const TExtendedBytes& bytes);

// 20 upper-case hexadecimal digits of the bytes in address order.
std::string ExtendedToHex(const TExtendedBytes& bytes);
// False unless text is exactly 20 hexadecimal digits (either case).
bool TryHexToExtended(std::string_view text, TExtendedBytes& bytes);

}  // namespace zentrix
