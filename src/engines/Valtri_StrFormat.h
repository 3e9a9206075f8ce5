#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Exceptions.h"

namespace zentrix {

class EStringFormat : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// Format ids of the encodings.
inline constexpr int kFormatCopy = 1;
inline constexpr int kFormatHex = 4118;
inline constexpr int kFormatHexLower = 4119;
inline constexpr int kFormatMime64 = 4196;
inline constexpr int kFormatUU = 21845;
inline constexpr int kFormatXX = 22616;
inline constexpr int kFormatDefault = -1;  // stands for MIME64

// Turns bytes into text in one encoding. The formats carry no data; each is registered once.
// Decoding is never needed by the program and is not offered.
class TStringFormat {
public:
  virtual ~TStringFormat() = default;
  bool IsFormat(int id) const { return id == Format(); }
  // Encodes; the base class copies the bytes unchanged. Never fails.
  virtual std::string StrTo(const std::uint8_t* data, std::size_t length) const;
  virtual int Format() const { return kFormatCopy; }
  // The characters the encoder writes.
  virtual std::string_view CharTable() const { return {}; }
};

// Two characters per byte, high nibble first: 1F A0 -> "1FA0".
class TStringFormat_HEX : public TStringFormat {
public:
  std::string StrTo(const std::uint8_t* data, std::size_t length) const override;
  int Format() const override { return kFormatHex; }
  std::string_view CharTable() const override { return "0123456789ABCDEF"; }
};

class TStringFormat_HEXL : public TStringFormat_HEX {
public:
  int Format() const override { return kFormatHexLower; }
  std::string_view CharTable() const override { return "0123456789abcdef"; }
};

// Base64 of RFC 4648 without line breaks, padded with "=".
class TStringFormat_MIME64 : public TStringFormat_HEX {
public:
  std::string StrTo(const std::uint8_t* data, std::size_t length) const override;
  int Format() const override { return kFormatMime64; }
  std::string_view CharTable() const override {
    return "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
  }
};

// Lines of at most 45 bytes, each its length character and then four characters per three
// bytes; no header, trailer or line separator.
class TStringFormat_UU : public TStringFormat {
public:
  std::string StrTo(const std::uint8_t* data, std::size_t length) const override;
  int Format() const override { return kFormatUU; }
  std::string_view CharTable() const override {
    return "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
  }
};

class TStringFormat_XX : public TStringFormat_UU {
public:
  int Format() const override { return kFormatXX; }
  std::string_view CharTable() const override {
    return "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  }
};

// The process-wide format list. Registering an id that is present replaces the earlier format.
void RegisterStringFormat(std::shared_ptr<const TStringFormat> format);
// The format with that id (-1 means MIME64), or null.
std::shared_ptr<const TStringFormat> FindStringFormat(int id);

// Encodes `length` bytes in format `id`. No data or id 0 gives an empty text, a negative
// length means the data ends at its first zero byte, and id 1 copies the bytes. An unknown
// id raises EStringFormat.
std::string EncodeBytes(const void* data, std::ptrdiff_t length, int id);
inline std::string EncodeBytes(std::string_view bytes, int id) {
  return EncodeBytes(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size()), id);
}

}  // namespace zentrix
