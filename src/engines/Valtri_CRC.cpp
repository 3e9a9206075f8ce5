#include "engines/Valtri_CRC.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "engines/Valtri_StrFormat.h"

namespace zentrix {
namespace {

// One running digest; unusable (and then silent) when libcrypto refuses the algorithm.
class TDigest {
public:
  explicit TDigest(const EVP_MD* md) : FContext(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    FOk = FContext && md && EVP_DigestInit_ex(FContext.get(), md, nullptr) == 1;
  }
  void Update(const void* data, std::size_t length) {
    if (FOk && length > 0) FOk = EVP_DigestUpdate(FContext.get(), data, length) == 1;
  }
  std::optional<std::vector<std::uint8_t>> Final() {
    if (!FOk) return std::nullopt;
    std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(FContext.get(), digest.data(), &size) != 1) return std::nullopt;
    digest.resize(size);
    return digest;
  }

private:
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> FContext;
  bool FOk = false;
};

// CRC-32 and both digests over the same stream of bytes.
class THashes {
public:
  void Update(const void* data, std::size_t length) {
    FCrc = crc32_z(FCrc, static_cast<const Bytef*>(data), length);
    FMd5.Update(data, length);
    FSha1.Update(data, length);
  }
  // The digests only: the text's terminator is hashed by MD5 and SHA-1 but not by the CRC.
  void UpdateDigests(const void* data, std::size_t length) {
    FMd5.Update(data, length);
    FSha1.Update(data, length);
  }
  THashTexts Encode(int formatId) {
    const std::uint8_t crc[4] = {static_cast<std::uint8_t>(FCrc >> 24), static_cast<std::uint8_t>(FCrc >> 16),
                                 static_cast<std::uint8_t>(FCrc >> 8), static_cast<std::uint8_t>(FCrc)};
    THashTexts texts;
    texts.Crc32 = EncodeBytes(crc, 4, formatId);
    if (const auto md5 = FMd5.Final()) texts.Md5 = EncodeBytes(md5->data(), static_cast<std::ptrdiff_t>(md5->size()), formatId);
    if (const auto sha1 = FSha1.Final())
      texts.Sha1 = EncodeBytes(sha1->data(), static_cast<std::ptrdiff_t>(sha1->size()), formatId);
    return texts;
  }

private:
  uLong FCrc = crc32_z(0, Z_NULL, 0);
  TDigest FMd5{EVP_md5()};
  TDigest FSha1{EVP_sha1()};
};

void AppendUnit(std::string& out, std::uint32_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// Length of the valid UTF-8 sequence at s[i], or 0.
std::size_t SequenceLength(std::string_view s, std::size_t i, std::uint32_t& code) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char lead = b(0);
  std::size_t length = 0;
  std::uint32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((b(k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t length) {
  return static_cast<std::uint32_t>(crc32_z(crc32_z(0, Z_NULL, 0), static_cast<const Bytef*>(data), length));
}

std::optional<std::vector<std::uint8_t>> Md5Digest(const void* data, std::size_t length) {
  TDigest digest(EVP_md5());
  digest.Update(data, length);
  return digest.Final();
}

std::optional<std::vector<std::uint8_t>> Sha1Digest(const void* data, std::size_t length) {
  TDigest digest(EVP_sha1());
  digest.Update(data, length);
  return digest.Final();
}

std::string Utf16LeBytes(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t i = 0; i < utf8.size();) {
    std::uint32_t code = 0;
    const std::size_t length = SequenceLength(utf8, i, code);
    if (length == 0) {
      AppendUnit(out, 0xFFFD);
      ++i;
      continue;
    }
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      AppendUnit(out, 0xD800 + (code >> 10));
      AppendUnit(out, 0xDC00 + (code & 0x3FF));
    } else {
      AppendUnit(out, code);
    }
  }
  return out;
}

THashTexts HashText(std::string_view utf8, int formatId) {
  const std::string bytes = Utf16LeBytes(utf8);
  THashes hashes;
  hashes.Update(bytes.data(), bytes.size());
  const char terminator[2] = {0, 0};
  hashes.UpdateDigests(terminator, 2);
  return hashes.Encode(formatId);
}

THashTexts HashFile(const std::filesystem::path& path, int formatId) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw EFileError("Cannot open file \"" + path.string() + "\". " + std::strerror(errno));
  // Streamed, so that a large file needs no more memory than a small one.
  THashes hashes;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (got > 0) hashes.Update(buffer.data(), got);
    if (got < buffer.size()) {
      if (std::ferror(file.get())) throw EFileError("Cannot read file \"" + path.string() + "\". " + std::strerror(errno));
      break;
    }
  }
  return hashes.Encode(formatId);
}

}  // namespace zentrix
