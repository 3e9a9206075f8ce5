#pragma once

#include <QKeyCombination>
#include <QKeySequence>
#include <QString>

#include <cstdint>

namespace zentrix {

// Qt's keys and the bar's 16-bit shortcut codes, over the one key table of platform/ShortcutCodes.
// Keypad keys carry Qt::KeypadModifier; Meta has no place in a code.

// 0 when the key has no code (unknown key, Meta held, a modifier key alone).
std::uint16_t ShortcutFromQt(QKeyCombination combination);
// Qt::Key_unknown without modifiers for the empty or an unknown code.
QKeyCombination ShortcutToQt(std::uint16_t code);
// An empty sequence for the empty or an unknown code.
QKeySequence ShortcutToKeySequence(std::uint16_t code);
// The menu's text, "Ctrl+Alt+L"; empty for the empty code.
QString ShortcutText(std::uint16_t code);

}  // namespace zentrix
