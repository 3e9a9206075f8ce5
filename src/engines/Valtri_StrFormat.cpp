#include "engines/Valtri_StrFormat.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace zentrix {
namespace {

struct TRegistry {
  std::mutex Lock;
  std::vector<std::shared_ptr<const TStringFormat>> Formats;

  TRegistry() {
    Formats = {std::make_shared<TStringFormat_HEX>(), std::make_shared<TStringFormat_HEXL>(),
               std::make_shared<TStringFormat_MIME64>(), std::make_shared<TStringFormat_UU>(),
               std::make_shared<TStringFormat_XX>()};
  }
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

std::string TStringFormat::StrTo(const std::uint8_t* data, std::size_t length) const {
  return std::string(reinterpret_cast<const char*>(data), length);
}

std::string TStringFormat_HEX::StrTo(const std::uint8_t* data, std::size_t length) const {
  const std::string_view digits = CharTable();
  std::string text(length * 2, '\0');
  for (std::size_t i = 0; i < length; ++i) {
    text[2 * i] = digits[data[i] >> 4];
    text[2 * i + 1] = digits[data[i] & 15];
  }
  return text;
}

std::string TStringFormat_MIME64::StrTo(const std::uint8_t* data, std::size_t length) const {
  const char* alphabet = CharTable().data();
  std::string text((length + 2) / 3 * 4, '=');
  char* out = text.data();
  std::size_t i = 0;
  for (; i + 3 <= length; i += 3, out += 4) {
    const std::uint32_t bits = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
    out[0] = alphabet[bits >> 18];
    out[1] = alphabet[(bits >> 12) & 63];
    out[2] = alphabet[(bits >> 6) & 63];
    out[3] = alphabet[bits & 63];
  }
  if (i < length) {
    const bool two = i + 1 < length;
    const std::uint32_t bits = (std::uint32_t{data[i]} << 16) | (two ? std::uint32_t{data[i + 1]} << 8 : 0);
    out[0] = alphabet[bits >> 18];
    out[1] = alphabet[(bits >> 12) & 63];
    if (two) out[2] = alphabet[(bits >> 6) & 63];
  }
  return text;
}

std::string TStringFormat_UU::StrTo(const std::uint8_t* data, std::size_t length) const {
  constexpr std::size_t kLineBytes = 45;
  const std::string_view alphabet = CharTable();
  std::string text;
  text.reserve(length / kLineBytes * 61 + 61);
  for (std::size_t line = 0; line < length; line += kLineBytes) {
    const std::size_t count = std::min(kLineBytes, length - line);
    text += alphabet[count];
    for (std::size_t i = 0; i < count; i += 3) {
      std::uint32_t bits = 0;
      for (std::size_t k = 0; k < 3; ++k)
        bits = (bits << 8) | (i + k < count ? data[line + i + k] : 0);  // a short group is padded with zeros
      for (int shift = 18; shift >= 0; shift -= 6) text += alphabet[(bits >> shift) & 63];
    }
  }
  return text;
}

void RegisterStringFormat(std::shared_ptr<const TStringFormat> format) {
  if (!format) return;
  TRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.Lock);
  for (auto& present : registry.Formats)
    if (present->Format() == format->Format()) {
      present = std::move(format);
      return;
    }
  registry.Formats.push_back(std::move(format));
}

std::shared_ptr<const TStringFormat> FindStringFormat(int id) {
  if (id == kFormatDefault) id = kFormatMime64;
  TRegistry& registry = Registry();
  std::lock_guard<std::mutex> lock(registry.Lock);
  for (const auto& format : registry.Formats)
    if (format->IsFormat(id)) return format;
  return nullptr;
}

std::string EncodeBytes(const void* data, std::ptrdiff_t length, int id) {
  if (data == nullptr || length == 0 || id == 0) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  const std::size_t size = length < 0 ? std::strlen(static_cast<const char*>(data)) : static_cast<std::size_t>(length);
  if (size == 0) return {};
  if (id == kFormatCopy) return TStringFormat().StrTo(bytes, size);
  const auto format = FindStringFormat(id);
  if (!format) throw EStringFormat("AnsiString Format Exists: " + std::to_string(id));
  return format->StrTo(bytes, size);
}

}  // namespace zentrix
