#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ShortcutCodes.h"

namespace zentrix {
namespace {

constexpr std::uint16_t kShift = 1, kControl = 4, kMod1 = 8;  // X core masks

struct TCodeCase {
  const char* Name;
  std::uint16_t Code;
  std::uint32_t KeySym;
  std::uint16_t X11Modifiers;
  const char* Text;
};

class ShortcutCodeTable : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(ShortcutCodeTable, CodeKeySymAndTextAgree) {
  const TCodeCase& c = GetParam();
  const auto x11 = ShortcutToX11(c.Code);
  ASSERT_TRUE(x11.has_value());
  EXPECT_EQ(x11->KeySym, c.KeySym);
  EXPECT_EQ(x11->Modifiers, c.X11Modifiers);
  EXPECT_EQ(ShortcutFromX11(c.KeySym, c.X11Modifiers), c.Code);
  EXPECT_EQ(ShortcutToText(c.Code), c.Text);
  EXPECT_EQ(ShortcutFromText(c.Text), c.Code);
}

// The ten defaults of the bar's actions and keys of every kind of the table.
INSTANTIATE_TEST_SUITE_P(
    Codes, ShortcutCodeTable,
    ::testing::Values(TCodeCase{"CtrlAltL", 49228, XK_l, kControl | kMod1, "Ctrl+Alt+L"},
                      TCodeCase{"CtrlAltO", 0xC04F, XK_o, kControl | kMod1, "Ctrl+Alt+O"},
                      TCodeCase{"CtrlAltK", 0xC04B, XK_k, kControl | kMod1, "Ctrl+Alt+K"},
                      TCodeCase{"CtrlAltR", 0xC052, XK_r, kControl | kMod1, "Ctrl+Alt+R"},
                      TCodeCase{"CtrlAltG", 0xC047, XK_g, kControl | kMod1, "Ctrl+Alt+G"},
                      TCodeCase{"CtrlAltA", 0xC041, XK_a, kControl | kMod1, "Ctrl+Alt+A"},
                      TCodeCase{"CtrlAltN", 0xC04E, XK_n, kControl | kMod1, "Ctrl+Alt+N"},
                      TCodeCase{"CtrlAltW", 0xC057, XK_w, kControl | kMod1, "Ctrl+Alt+W"},
                      TCodeCase{"CtrlAltF", 0xC046, XK_f, kControl | kMod1, "Ctrl+Alt+F"},
                      TCodeCase{"CtrlAltS", 0xC053, XK_s, kControl | kMod1, "Ctrl+Alt+S"},
                      TCodeCase{"AllModifiersInMenuOrder", 0xE031, XK_1, kShift | kControl | kMod1, "Shift+Ctrl+Alt+1"},
                      TCodeCase{"PlainFunctionKey", 0x0070, XK_F1, 0, "F1"},
                      TCodeCase{"ShiftF24", 0x2087, XK_F24, kShift, "Shift+F24"},
                      TCodeCase{"KeypadPlusHoldsAPlus", 0x406B, XK_KP_Add, kControl, "Ctrl+Num +"},
                      TCodeCase{"PageDown", 0x8022, XK_Next, kMod1, "Alt+PgDn"},
                      TCodeCase{"Punctuation", 0x40BC, XK_comma, kControl, "Ctrl+,"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TNoCodeCase {
  const char* Name;
  std::uint16_t Code;
};

class ShortcutWithoutKey : public ::testing::TestWithParam<TNoCodeCase> {};

TEST_P(ShortcutWithoutKey, HasNoX11FormAndNoText) {
  EXPECT_FALSE(ShortcutToX11(GetParam().Code).has_value());
  EXPECT_EQ(ShortcutToText(GetParam().Code), "");
}

INSTANTIATE_TEST_SUITE_P(Codes, ShortcutWithoutKey,
                         ::testing::Values(TNoCodeCase{"Empty", 0}, TNoCodeCase{"ModifiersOnly", 0xC000},
                                           TNoCodeCase{"UnknownVirtualKey", 0xC0FF},
                                           TNoCodeCase{"StrayBitsBesideTheModifiers", 0x414C}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ShortcutCodes, EveryTableKeyRoundTripsThroughX11AndText) {
  std::size_t count = 0;
  const TShortcutKey* keys = ShortcutKeys(count);
  ASSERT_GT(count, 0u);
  for (std::size_t i = 0; i < count; ++i) {
    for (std::uint16_t modifiers : {0, 0x2000, 0x4000, 0x8000, 0xE000}) {
      const auto code = static_cast<std::uint16_t>(keys[i].VirtualKey | modifiers);
      const auto x11 = ShortcutToX11(code);
      ASSERT_TRUE(x11) << keys[i].Name;
      EXPECT_EQ(ShortcutFromX11(x11->KeySym, x11->Modifiers), code) << keys[i].Name;
      EXPECT_EQ(ShortcutFromText(ShortcutToText(code)), code) << keys[i].Name;
    }
  }
}

struct TFromX11Case {
  const char* Name;
  std::uint32_t KeySym;
  std::uint16_t Modifiers;
  std::uint16_t Code;
};

class ShortcutFromX11Event : public ::testing::TestWithParam<TFromX11Case> {};

TEST_P(ShortcutFromX11Event, GivesTheCode) {
  EXPECT_EQ(ShortcutFromX11(GetParam().KeySym, GetParam().Modifiers), GetParam().Code);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ShortcutFromX11Event,
    ::testing::Values(TFromX11Case{"UpperCaseLetterIsTheSameKey", XK_L, kShift | kControl, 0x604C},
                      TFromX11Case{"NumLockAndCapsLockIgnored", XK_k, kControl | kMod1 | 0x10 | 0x02, 0xC04B},
                      TFromX11Case{"UnknownKeySym", XK_Shift_L, kControl, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TTextCase {
  const char* Name;
  const char* Text;
  std::uint16_t Code;
};

class ShortcutFromMenuText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(ShortcutFromMenuText, GivesTheCode) { EXPECT_EQ(ShortcutFromText(GetParam().Text), GetParam().Code); }

INSTANTIATE_TEST_SUITE_P(Codes, ShortcutFromMenuText,
                         ::testing::Values(TTextCase{"Empty", "", 0}, TTextCase{"ModifierAlone", "Ctrl+", 0},
                                           TTextCase{"AnyOrderAnyCase", "alt+CTRL+l", 49228},
                                           TTextCase{"UnknownKey", "Ctrl+Alt+Banana", 0},
                                           TTextCase{"TrailingGarbage", "Ctrl+Alt+L+", 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zentrix
