#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <string>

#include "engines/Valtri_StrFormat.h"

namespace zentrix {
namespace {

struct TEncodeCase {
  const char* Name;
  int Id;
  std::string Bytes;
  std::string Text;
};

std::string Range(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>(i);
  return bytes;
}

class EncodeBytesTest : public ::testing::TestWithParam<TEncodeCase> {};

TEST_P(EncodeBytesTest, Encodes) { EXPECT_EQ(EncodeBytes(GetParam().Bytes, GetParam().Id), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    Formats, EncodeBytesTest,
    ::testing::Values(
        TEncodeCase{"HexUpper", kFormatHex, "\xCB\xF4\x39\x26", "CBF43926"},
        TEncodeCase{"HexNibbles", kFormatHex, std::string("\x1F\xA0\x00\xFF", 4), "1FA000FF"},
        TEncodeCase{"HexLower", kFormatHexLower, "\x1F\xA0", "1fa0"},
        TEncodeCase{"Mime64Man", kFormatMime64, "Man", "TWFu"},
        TEncodeCase{"Mime64OnePad", kFormatMime64, "Ma", "TWE="},
        TEncodeCase{"Mime64TwoPads", kFormatMime64, "M", "TQ=="},
        TEncodeCase{"Mime64HighBits", kFormatMime64, "\xFB\xFF\xBF", "+/+/"},
        TEncodeCase{"DefaultIsMime64", kFormatDefault, "Man", "TWFu"},
        TEncodeCase{"UUZeroByte", kFormatUU, std::string(1, '\0'), "!````"},
        TEncodeCase{"UUMan", kFormatUU, "Man", "#36%N"},
        TEncodeCase{"UUSixteenBytes", kFormatUU, Range(16), "0``$\"`P0%!@<(\"0H+#`T.#P``"},
        // 46 bytes: a full line of 45 ("M") and a line of one.
        TEncodeCase{"UUTwoLines", kFormatUU, Range(46),
                    "M``$\"`P0%!@<(\"0H+#`T.#Q`1$A,4%187&!D:&QP='A\\@(2(C)\"4F)R@I*BLL!+0``"},
        TEncodeCase{"XXMan", kFormatXX, "Man", "1HK3i"},
        TEncodeCase{"XXTwoLines", kFormatXX, Range(46),
                    "h++20+kE3-UQ60Ec91+oC1l+F2VAI3FML4-YO4lkR5VwU6G6X70Ia7mUd8Wgg-9E++"},
        TEncodeCase{"CopyId", kFormatCopy, std::string("a\0b", 3), std::string("a\0b", 3)},
        TEncodeCase{"IdZero", 0, "abc", ""},
        TEncodeCase{"EmptyData", kFormatHex, "", ""},
        TEncodeCase{"EmptyDataUnknownId", 12345, "", ""}),
    [](const auto& info) { return info.param.Name; });

TEST(EncodeBytesTest, NegativeLengthEndsAtTheFirstZeroByte) {
  const char data[] = {'M', 'a', 'n', 0, 'x', 'y'};
  EXPECT_EQ(EncodeBytes(data, -1, kFormatMime64), "TWFu");
  EXPECT_EQ(EncodeBytes(data, -1, kFormatCopy), "Man");
  EXPECT_EQ(EncodeBytes(data + 3, -1, kFormatHex), "");
  EXPECT_EQ(EncodeBytes(nullptr, 5, kFormatHex), "");
}

TEST(EncodeBytesTest, UnknownIdRaises) {
  try {
    EncodeBytes("abc", 4117);
    FAIL();
  } catch (const EStringFormat& e) {
    EXPECT_STREQ(e.what(), "AnsiString Format Exists: 4117");
  }
}

// Base64 against libcrypto on every length around the group and padding boundaries.
TEST(EncodeBytesTest, Mime64MatchesLibcrypto) {
  std::mt19937 random(11);
  for (int length = 1; length <= 200; ++length) {
    std::string bytes(static_cast<std::size_t>(length), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    std::string expected((length + 2) / 3 * 4 + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(expected.data()),
                                        reinterpret_cast<const unsigned char*>(bytes.data()), length);
    expected.resize(static_cast<std::size_t>(written));
    ASSERT_EQ(EncodeBytes(bytes, kFormatMime64), expected) << length;
  }
}

// UU and XX: one length character per line of at most 45 bytes and four per three bytes.
TEST(EncodeBytesTest, UULineStructure) {
  for (int length : {1, 2, 3, 44, 45, 46, 90, 91, 1000}) {
    const std::string text = EncodeBytes(std::string(static_cast<std::size_t>(length), 'x'), kFormatUU);
    const int lines = (length + 44) / 45;
    const int lastBytes = length - (lines - 1) * 45;
    EXPECT_EQ(static_cast<int>(text.size()), (lines - 1) * 61 + 1 + (lastBytes + 2) / 3 * 4) << length;
    EXPECT_EQ(text[0], length >= 45 ? 'M' : static_cast<char>(' ' + length)) << length;
  }
}

class TReversedHex : public TStringFormat_HEX {
public:
  explicit TReversedHex(int id) : FId(id) {}
  std::string StrTo(const std::uint8_t* data, std::size_t length) const override {
    std::string text = TStringFormat_HEX::StrTo(data, length);
    return std::string(text.rbegin(), text.rend());
  }
  int Format() const override { return FId; }

private:
  int FId;
};

TEST(StringFormatRegistryTest, RegisteringAnIdAgainReplacesTheFormat) {
  RegisterStringFormat(std::make_shared<TReversedHex>(777));
  EXPECT_EQ(EncodeBytes("\x12\x34", 777), "4321");
  RegisterStringFormat(std::make_shared<TStringFormat_HEX>());  // 4118 again: still one entry
  EXPECT_EQ(EncodeBytes("\x12\x34", kFormatHex), "1234");
  ASSERT_NE(FindStringFormat(kFormatXX), nullptr);
  EXPECT_EQ(FindStringFormat(kFormatXX)->CharTable().size(), 64u);
  EXPECT_EQ(FindStringFormat(-1)->Format(), kFormatMime64);
  EXPECT_EQ(FindStringFormat(4117), nullptr);
}

}  // namespace
}  // namespace zentrix
