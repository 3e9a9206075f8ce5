#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engines/Valtri_CRC.h"
#include "engines/Valtri_StrFormat.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

using namespace std::string_literals;

struct TTextHashCase {
  const char* Name;
  std::string Text;
  int Format;
  THashTexts Expected;
};

class HashTextTest : public ::testing::TestWithParam<TTextHashCase> {};

TEST_P(HashTextTest, HashesUtf16WithTerminator) {
  const THashTexts h = HashText(GetParam().Text, GetParam().Format);
  EXPECT_EQ(h.Crc32, GetParam().Expected.Crc32);
  EXPECT_EQ(h.Md5, GetParam().Expected.Md5);
  EXPECT_EQ(h.Sha1, GetParam().Expected.Sha1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HashTextTest,
    ::testing::Values(
        // Six UTF-16LE bytes; MD5 of the letters alone would be 900150983CD24FB0D6963F7D28E17F72.
        TTextHashCase{"Abc", "abc", kFormatHex,
                      {"AD957AB0", "0325B2BC5BC6ECFBAC751818498ECE3F", "710A9AB5E5CDA543FA5F3DE349A1A1466E0104AD"}},
        // Empty: the CRC of no bytes, the digests of the two terminator bytes.
        TTextHashCase{"Empty", "", kFormatHex,
                      {"00000000", "C4103F122D27677C9DB144CAE1394A66", "1489F923C4DCA729178B3E3233458550D8DDDF29"}},
        TTextHashCase{"NonAsciiAndSurrogates", "Zentrix \xE2\x82\xAC\xF0\x9F\x98\x80", kFormatHex,
                      {"4001F15E", "A4A7B8B96287341424DA4F681DB1928C", "D83C516E645FCCF2F6631F4E4AEE55FBD4B97A10"}},
        TTextHashCase{"Mime64", "abc", kFormatMime64,
                      {"rZV6sA==", "AyWyvFvG7PusdRgYSY7OPw==", "cQqateXNpUP6Xz3jSaGhRm4BBK0="}}),
    [](const auto& info) { return info.param.Name; });

TEST(HashTextTest, UUAndXXEncodeTheSameDigests) {
  const THashTexts uu = HashText("abc", kFormatUU);
  const THashTexts xx = HashText("abc", kFormatXX);
  EXPECT_EQ(uu.Crc32, "$K95ZL```");
  EXPECT_EQ(uu.Md5.size(), 1u + 24u);
  EXPECT_EQ(uu.Sha1.size(), 1u + 28u);
  EXPECT_EQ(uu.Md5[0], '0');  // 16 bytes
  EXPECT_EQ(xx.Md5[0], 'E');
}

struct TUtf16Case {
  const char* Name;
  std::string Utf8;
  std::string Utf16;
};

class Utf16Test : public ::testing::TestWithParam<TUtf16Case> {};

TEST_P(Utf16Test, Converts) { EXPECT_EQ(Utf16LeBytes(GetParam().Utf8), GetParam().Utf16); }

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf16Test,
    ::testing::Values(TUtf16Case{"Ascii", "ab", std::string("a\0b\0", 4)},
                      TUtf16Case{"TwoBytes", "\xC3\xA9", "\xE9\x00"s},
                      TUtf16Case{"ThreeBytes", "\xE2\x82\xAC", "\xAC\x20"},
                      TUtf16Case{"SurrogatePair", "\xF0\x9F\x98\x80", "\x3D\xD8\x00\xDE"s},
                      TUtf16Case{"StrayContinuation", "\x80" "a", "\xFD\xFF" "a\0"s},
                      TUtf16Case{"TruncatedSequence", "\xE2\x82", "\xFD\xFF\xFD\xFF"},
                      TUtf16Case{"Overlong", "\xC0\xAF", "\xFD\xFF\xFD\xFF"},
                      TUtf16Case{"EncodedSurrogate", "\xED\xA0\x80", "\xFD\xFF\xFD\xFF\xFD\xFF"},
                      TUtf16Case{"BeyondUnicode", "\xF4\x90\x80\x80", "\xFD\xFF\xFD\xFF\xFD\xFF\xFD\xFF"}),
    [](const auto& info) { return info.param.Name; });

TEST(HashFileTest, HashesTheBytesWithoutTerminator) {
  test::TTempDir dir;
  std::string data;
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < 256; ++i) data += static_cast<char>(i);
  data += "tail";
  const THashTexts h = HashFile(dir.Write("data.bin", data), kFormatHex);
  EXPECT_EQ(h.Crc32, "35F6EDC8");
  EXPECT_EQ(h.Md5, "2C898087A82B8CB34B71F0ACEB08649B");
  EXPECT_EQ(h.Sha1, "2203A246C49632812BD51E50DBE6B27F9FEE8EA7");

  // Larger than one read buffer: the streamed digests equal the whole-buffer ones.
  const std::string big(200000, 'z');
  const THashTexts b = HashFile(dir.Write("big.bin", big), kFormatHex);
  const auto digest = Md5Digest(big.data(), big.size());
  ASSERT_TRUE(digest.has_value());
  EXPECT_EQ(b.Md5, EncodeBytes(digest->data(), static_cast<std::ptrdiff_t>(digest->size()), kFormatHex));
  const std::uint32_t crc = Crc32(big.data(), big.size());
  char crcHex[9];
  std::snprintf(crcHex, sizeof crcHex, "%08X", crc);
  EXPECT_EQ(b.Crc32, crcHex);

  const THashTexts empty = HashFile(dir.Write("empty", ""), kFormatHex);
  EXPECT_EQ(empty.Crc32, "00000000");
  EXPECT_EQ(empty.Md5, "D41D8CD98F00B204E9800998ECF8427E");
}

TEST(HashFileTest, UnreadableFilesRaise) {
  test::TTempDir dir;
  for (const auto& path : {dir.Path() / "missing", dir.Path()}) {
    try {
      HashFile(path, kFormatHex);
      ADD_FAILURE() << path;
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace zentrix
