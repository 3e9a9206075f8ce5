#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"

namespace zentrix {

// A file that cannot be opened or read.
class EFileError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

// The CRC-32 of IEEE 802.3 and zlib.
std::uint32_t Crc32(const void* data, std::size_t length);

// Digests from libcrypto; nothing when the hashing service is unavailable or fails.
std::optional<std::vector<std::uint8_t>> Md5Digest(const void* data, std::size_t length);
std::optional<std::vector<std::uint8_t>> Sha1Digest(const void* data, std::size_t length);

// UTF-8 to UTF-16LE, two bytes per code unit. A byte that starts no valid sequence becomes
// U+FFFD, as it does when the text reaches a text field.
std::string Utf16LeBytes(std::string_view utf8);

// The three results of the code tools window, encoded with EncodeBytes in format `formatId`.
// A digest that could not be computed is an empty text.
struct THashTexts {
  std::string Crc32;
  std::string Md5;
  std::string Sha1;
};

// CRC-32 over the text's UTF-16LE bytes; MD5 and SHA-1 over those bytes and the two zero bytes
// of the string terminator. The CRC is laid out most significant byte first.
THashTexts HashText(std::string_view utf8, int formatId);
// All three over the file's bytes. Raises EFileError when the file cannot be read.
THashTexts HashFile(const std::filesystem::path& path, int formatId);

}  // namespace zentrix
