#include "widgets/HotKeyEdit.h"

#include <QKeyEvent>

#include "app/ShortcutKeys.h"

namespace zentrix {

namespace {

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
         key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_Hyper_L ||
         key == Qt::Key_Hyper_R;
}

}  // namespace

THotKeyEdit::THotKeyEdit(QWidget* parent) : QLineEdit(parent) {
  // The text is only ever what the recorded code reads as; no caret, no typing, no menu.
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void THotKeyEdit::SetCode(std::uint16_t code) {
  // Only codes the key table knows are kept, so the field never holds what it cannot show.
  if (code != 0 && ShortcutFromQt(ShortcutToQt(code)) != code) code = 0;
  setText(ShortcutText(code));
  if (code == FCode) return;
  FCode = code;
  emit CodeChanged(FCode);
}

bool THotKeyEdit::event(QEvent* event) {
  // Combinations such as Ctrl+A are the field's to record, not the window's shortcuts.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool passedOn = mods == Qt::NoModifier && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Escape);
    if (!passedOn) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  Qt::KeyboardModifiers mods = event->modifiers();
  const Qt::KeyboardModifiers plain = mods & ~Qt::KeypadModifier;
  if (plain == Qt::NoModifier && (key == Qt::Key_Tab || key == Qt::Key_Escape)) {
    event->ignore();
    return;
  }
  event->accept();
  if (plain == Qt::NoModifier && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
    SetCode(0);
    return;
  }
  if (IsModifierKey(key) || key == Qt::Key_unknown || key == Qt::Key_Backtab) return;
  if (!(plain & (Qt::ControlModifier | Qt::AltModifier))) mods |= Qt::AltModifier;
  const std::uint16_t code = ShortcutFromQt(QKeyCombination(mods, static_cast<Qt::Key>(key)));
  if (code != 0) SetCode(code);
}

}  // namespace zentrix
