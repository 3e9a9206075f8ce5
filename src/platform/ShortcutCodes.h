#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zentrix {

// Shortcut codes: a virtual-key code in the low byte plus modifier bits.
inline constexpr std::uint16_t kShortcutShift = 0x2000;
inline constexpr std::uint16_t kShortcutCtrl = 0x4000;
inline constexpr std::uint16_t kShortcutAlt = 0x8000;
inline constexpr std::uint16_t kShortcutModifiers = kShortcutShift | kShortcutCtrl | kShortcutAlt;

// One key of the table: its virtual-key code, its X11 key symbol and the name the menu shows.
struct TShortcutKey {
  std::uint8_t VirtualKey;
  std::uint32_t KeySym;
  const char* Name;
};

// The key of a virtual-key code; nothing for a code the table does not know.
std::optional<TShortcutKey> ShortcutKeyOfVirtualKey(std::uint8_t virtualKey);
// The key whose X11 symbol is keySym (letters in either case); nothing when unknown.
std::optional<TShortcutKey> ShortcutKeyOfKeySym(std::uint32_t keySym);
// Every key of the table, in table order, for callers that build their own mapping on it.
const TShortcutKey* ShortcutKeys(std::size_t& count);

// A code split for X11: key symbol and core modifier mask (ShiftMask, ControlMask, Mod1Mask).
struct TX11Shortcut {
  std::uint32_t KeySym = 0;
  std::uint16_t Modifiers = 0;
};

// Nothing for the empty code, a code without a known key, or one with bits outside key and
// modifiers.
std::optional<TX11Shortcut> ShortcutToX11(std::uint16_t code);
// 0 when the key symbol is not in the table. Modifier bits other than Shift, Control and Mod1
// (NumLock, CapsLock, others) are ignored.
std::uint16_t ShortcutFromX11(std::uint32_t keySym, std::uint16_t modifiers);

// The menu's text of a code, "Ctrl+Alt+L"; empty for the empty or an unknown code.
std::string ShortcutToText(std::uint16_t code);
// The code of a text as ShortcutToText writes it (modifier names in any order and case);
// 0 for an empty text or one that names no known key.
std::uint16_t ShortcutFromText(const std::string& text);

}  // namespace zentrix
