#include "app/ShortcutKeys.h"

#include "platform/ShortcutCodes.h"

namespace zentrix {
namespace {

struct TQtKey {
  Qt::Key Key;
  bool Keypad;
};

// Qt's key for a virtual key of the shared table; letters, digits and F-keys follow a rule,
// the rest is named one by one.
TQtKey QtKeyOfVirtualKey(std::uint8_t vk) {
  if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A)) return {static_cast<Qt::Key>(vk), false};
  if (vk >= 0x60 && vk <= 0x69) return {static_cast<Qt::Key>(Qt::Key_0 + (vk - 0x60)), true};
  if (vk >= 0x70 && vk <= 0x87) return {static_cast<Qt::Key>(Qt::Key_F1 + (vk - 0x70)), false};
  switch (vk) {
    case 0x08: return {Qt::Key_Backspace, false};
    case 0x09: return {Qt::Key_Tab, false};
    case 0x0D: return {Qt::Key_Return, false};
    case 0x13: return {Qt::Key_Pause, false};
    case 0x1B: return {Qt::Key_Escape, false};
    case 0x20: return {Qt::Key_Space, false};
    case 0x21: return {Qt::Key_PageUp, false};
    case 0x22: return {Qt::Key_PageDown, false};
    case 0x23: return {Qt::Key_End, false};
    case 0x24: return {Qt::Key_Home, false};
    case 0x25: return {Qt::Key_Left, false};
    case 0x26: return {Qt::Key_Up, false};
    case 0x27: return {Qt::Key_Right, false};
    case 0x28: return {Qt::Key_Down, false};
    case 0x2C: return {Qt::Key_Print, false};
    case 0x2D: return {Qt::Key_Insert, false};
    case 0x2E: return {Qt::Key_Delete, false};
    case 0x6A: return {Qt::Key_Asterisk, true};
    case 0x6B: return {Qt::Key_Plus, true};
    case 0x6D: return {Qt::Key_Minus, true};
    case 0x6E: return {Qt::Key_Period, true};
    case 0x6F: return {Qt::Key_Slash, true};
    case 0xBA: return {Qt::Key_Semicolon, false};
    case 0xBB: return {Qt::Key_Equal, false};
    case 0xBC: return {Qt::Key_Comma, false};
    case 0xBD: return {Qt::Key_Minus, false};
    case 0xBE: return {Qt::Key_Period, false};
    case 0xBF: return {Qt::Key_Slash, false};
    case 0xC0: return {Qt::Key_QuoteLeft, false};
    case 0xDB: return {Qt::Key_BracketLeft, false};
    case 0xDC: return {Qt::Key_Backslash, false};
    case 0xDD: return {Qt::Key_BracketRight, false};
    case 0xDE: return {Qt::Key_Apostrophe, false};
    default: return {Qt::Key_unknown, false};
  }
}

}  // namespace

std::uint16_t ShortcutFromQt(QKeyCombination combination) {
  const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
  if (modifiers & Qt::MetaModifier) return 0;
  Qt::Key key = combination.key();
  // Letters arrive upper case; Enter on the keypad is the same key as Return.
  if (key == Qt::Key_Enter) key = Qt::Key_Return;
  const bool keypad = (modifiers & Qt::KeypadModifier) && key != Qt::Key_Return;
  std::size_t count = 0;
  const TShortcutKey* keys = ShortcutKeys(count);
  for (std::size_t i = 0; i < count; ++i) {
    const TQtKey qt = QtKeyOfVirtualKey(keys[i].VirtualKey);
    if (qt.Key != key || qt.Keypad != keypad) continue;
    std::uint16_t code = keys[i].VirtualKey;
    if (modifiers & Qt::ShiftModifier) code |= kShortcutShift;
    if (modifiers & Qt::ControlModifier) code |= kShortcutCtrl;
    if (modifiers & Qt::AltModifier) code |= kShortcutAlt;
    return code;
  }
  return 0;
}

QKeyCombination ShortcutToQt(std::uint16_t code) {
  if (ShortcutToText(code).empty()) return QKeyCombination(Qt::Key_unknown);
  const TQtKey qt = QtKeyOfVirtualKey(static_cast<std::uint8_t>(code & 0xFF));
  if (qt.Key == Qt::Key_unknown) return QKeyCombination(Qt::Key_unknown);
  Qt::KeyboardModifiers modifiers;
  if (code & kShortcutShift) modifiers |= Qt::ShiftModifier;
  if (code & kShortcutCtrl) modifiers |= Qt::ControlModifier;
  if (code & kShortcutAlt) modifiers |= Qt::AltModifier;
  if (qt.Keypad) modifiers |= Qt::KeypadModifier;
  return QKeyCombination(modifiers, qt.Key);
}

QKeySequence ShortcutToKeySequence(std::uint16_t code) {
  const QKeyCombination combination = ShortcutToQt(code);
  if (combination.key() == Qt::Key_unknown) return {};
  return QKeySequence(combination);
}

QString ShortcutText(std::uint16_t code) { return QString::fromStdString(ShortcutToText(code)); }

}  // namespace zentrix
