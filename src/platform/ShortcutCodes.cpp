#include "platform/ShortcutCodes.h"

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/keysymdef.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace zentrix {
namespace {

// X core modifier bits (ShiftMask, ControlMask, Mod1Mask); written out so the table stays
// free of Xlib headers.
constexpr std::uint16_t kX11Shift = 1u << 0;
constexpr std::uint16_t kX11Control = 1u << 2;
constexpr std::uint16_t kX11Mod1 = 1u << 3;

constexpr TShortcutKey kKeys[] = {
    {0x08, XK_BackSpace, "BkSp"},
    {0x09, XK_Tab, "Tab"},
    {0x0D, XK_Return, "Enter"},
    {0x13, XK_Pause, "Pause"},
    {0x1B, XK_Escape, "Esc"},
    {0x20, XK_space, "Space"},
    {0x21, XK_Prior, "PgUp"},
    {0x22, XK_Next, "PgDn"},
    {0x23, XK_End, "End"},
    {0x24, XK_Home, "Home"},
    {0x25, XK_Left, "Left"},
    {0x26, XK_Up, "Up"},
    {0x27, XK_Right, "Right"},
    {0x28, XK_Down, "Down"},
    {0x2C, XK_Print, "PrtSc"},
    {0x2D, XK_Insert, "Ins"},
    {0x2E, XK_Delete, "Del"},
    {0x30, XK_0, "0"}, {0x31, XK_1, "1"}, {0x32, XK_2, "2"}, {0x33, XK_3, "3"}, {0x34, XK_4, "4"},
    {0x35, XK_5, "5"}, {0x36, XK_6, "6"}, {0x37, XK_7, "7"}, {0x38, XK_8, "8"}, {0x39, XK_9, "9"},
    {0x41, XK_a, "A"}, {0x42, XK_b, "B"}, {0x43, XK_c, "C"}, {0x44, XK_d, "D"}, {0x45, XK_e, "E"},
    {0x46, XK_f, "F"}, {0x47, XK_g, "G"}, {0x48, XK_h, "H"}, {0x49, XK_i, "I"}, {0x4A, XK_j, "J"},
    {0x4B, XK_k, "K"}, {0x4C, XK_l, "L"}, {0x4D, XK_m, "M"}, {0x4E, XK_n, "N"}, {0x4F, XK_o, "O"},
    {0x50, XK_p, "P"}, {0x51, XK_q, "Q"}, {0x52, XK_r, "R"}, {0x53, XK_s, "S"}, {0x54, XK_t, "T"},
    {0x55, XK_u, "U"}, {0x56, XK_v, "V"}, {0x57, XK_w, "W"}, {0x58, XK_x, "X"}, {0x59, XK_y, "Y"},
    {0x5A, XK_z, "Z"},
    {0x60, XK_KP_0, "Num 0"}, {0x61, XK_KP_1, "Num 1"}, {0x62, XK_KP_2, "Num 2"}, {0x63, XK_KP_3, "Num 3"},
    {0x64, XK_KP_4, "Num 4"}, {0x65, XK_KP_5, "Num 5"}, {0x66, XK_KP_6, "Num 6"}, {0x67, XK_KP_7, "Num 7"},
    {0x68, XK_KP_8, "Num 8"}, {0x69, XK_KP_9, "Num 9"},
    {0x6A, XK_KP_Multiply, "Num *"},
    {0x6B, XK_KP_Add, "Num +"},
    {0x6D, XK_KP_Subtract, "Num -"},
    {0x6E, XK_KP_Decimal, "Num Del"},
    {0x6F, XK_KP_Divide, "Num /"},
    {0x70, XK_F1, "F1"}, {0x71, XK_F2, "F2"}, {0x72, XK_F3, "F3"}, {0x73, XK_F4, "F4"},
    {0x74, XK_F5, "F5"}, {0x75, XK_F6, "F6"}, {0x76, XK_F7, "F7"}, {0x77, XK_F8, "F8"},
    {0x78, XK_F9, "F9"}, {0x79, XK_F10, "F10"}, {0x7A, XK_F11, "F11"}, {0x7B, XK_F12, "F12"},
    {0x7C, XK_F13, "F13"}, {0x7D, XK_F14, "F14"}, {0x7E, XK_F15, "F15"}, {0x7F, XK_F16, "F16"},
    {0x80, XK_F17, "F17"}, {0x81, XK_F18, "F18"}, {0x82, XK_F19, "F19"}, {0x83, XK_F20, "F20"},
    {0x84, XK_F21, "F21"}, {0x85, XK_F22, "F22"}, {0x86, XK_F23, "F23"}, {0x87, XK_F24, "F24"},
    {0xBA, XK_semicolon, ";"},
    {0xBB, XK_equal, "="},
    {0xBC, XK_comma, ","},
    {0xBD, XK_minus, "-"},
    {0xBE, XK_period, "."},
    {0xBF, XK_slash, "/"},
    {0xC0, XK_grave, "`"},
    {0xDB, XK_bracketleft, "["},
    {0xDC, XK_backslash, "\\"},
    {0xDD, XK_bracketright, "]"},
    {0xDE, XK_apostrophe, "'"},
};

struct TModifierName {
  std::uint16_t Bit;
  std::string_view Name;
};
// Menu order: Shift, Ctrl, Alt.
constexpr std::array<TModifierName, 3> kModifierNames{{
    {kShortcutShift, "Shift+"},
    {kShortcutCtrl, "Ctrl+"},
    {kShortcutAlt, "Alt+"},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

const TShortcutKey* ShortcutKeys(std::size_t& count) {
  count = std::size(kKeys);
  return kKeys;
}

std::optional<TShortcutKey> ShortcutKeyOfVirtualKey(std::uint8_t virtualKey) {
  for (const TShortcutKey& key : kKeys)
    if (key.VirtualKey == virtualKey) return key;
  return std::nullopt;
}

std::optional<TShortcutKey> ShortcutKeyOfKeySym(std::uint32_t keySym) {
  // Shifted letters arrive as the upper-case symbols.
  if (keySym >= XK_A && keySym <= XK_Z) keySym += XK_a - XK_A;
  for (const TShortcutKey& key : kKeys)
    if (key.KeySym == keySym) return key;
  return std::nullopt;
}

std::optional<TX11Shortcut> ShortcutToX11(std::uint16_t code) {
  if ((code & 0x1F00) != 0) return std::nullopt;
  const auto key = ShortcutKeyOfVirtualKey(static_cast<std::uint8_t>(code & 0xFF));
  if (!key) return std::nullopt;
  TX11Shortcut result;
  result.KeySym = key->KeySym;
  if (code & kShortcutShift) result.Modifiers |= kX11Shift;
  if (code & kShortcutCtrl) result.Modifiers |= kX11Control;
  if (code & kShortcutAlt) result.Modifiers |= kX11Mod1;
  return result;
}

std::uint16_t ShortcutFromX11(std::uint32_t keySym, std::uint16_t modifiers) {
  const auto key = ShortcutKeyOfKeySym(keySym);
  if (!key) return 0;
  std::uint16_t code = key->VirtualKey;
  if (modifiers & kX11Shift) code |= kShortcutShift;
  if (modifiers & kX11Control) code |= kShortcutCtrl;
  if (modifiers & kX11Mod1) code |= kShortcutAlt;
  return code;
}

std::string ShortcutToText(std::uint16_t code) {
  if ((code & 0x1F00) != 0) return {};
  const auto key = ShortcutKeyOfVirtualKey(static_cast<std::uint8_t>(code & 0xFF));
  if (!key) return {};
  std::string text;
  for (const TModifierName& modifier : kModifierNames)
    if (code & modifier.Bit) text += modifier.Name;
  return text + key->Name;
}

std::uint16_t ShortcutFromText(const std::string& text) {
  std::string_view rest = text;
  std::uint16_t modifiers = 0;
  // Key names may themselves hold "+" ("Num +"), so modifiers are taken off the front only.
  for (bool found = true; found;) {
    found = false;
    for (const TModifierName& modifier : kModifierNames) {
      if (rest.size() > modifier.Name.size() && EqualNoCase(rest.substr(0, modifier.Name.size()), modifier.Name)) {
        modifiers |= modifier.Bit;
        rest.remove_prefix(modifier.Name.size());
        found = true;
      }
    }
  }
  for (const TShortcutKey& key : kKeys)
    if (EqualNoCase(rest, key.Name)) return static_cast<std::uint16_t>(modifiers | key.VirtualKey);
  return 0;
}

}  // namespace zentrix
