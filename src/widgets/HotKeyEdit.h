#pragma once

#include <QLineEdit>
#include <cstdint>

namespace zentrix {

// A field that records one key combination as a 16-bit shortcut code (virtual key in the low
// byte). Like the system's hot-key field, a key pressed with no modifier or with Shift alone is
// taken with Alt, so a global shortcut never swallows plain typing. Backspace or Delete alone
// clears the field; Tab and Escape alone keep their usual meaning in the dialog.
class THotKeyEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit THotKeyEdit(QWidget* parent = nullptr);

  std::uint16_t Code() const { return FCode; }
  void SetCode(std::uint16_t code);

signals:
  void CodeChanged(std::uint16_t code);

protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::uint16_t FCode = 0;
};

}  // namespace zentrix
