#pragma once

#include <QPlainTextEdit>

namespace zentrix {

// A plain-text editor with the line numbers in a gutter at its left and the line holding the
// cursor highlighted in yellow.
class TLineNumberEdit : public QPlainTextEdit {
  Q_OBJECT
public:
  explicit TLineNumberEdit(QWidget* parent = nullptr);

  int GutterWidth() const;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  friend class TLineNumberGutter;
  void PaintGutter(QPaintEvent* event);
  void UpdateGutterWidth();
  void UpdateGutter(const QRect& rect, int dy);
  void HighlightCurrentLine();

  QWidget* FGutter;
};

}  // namespace zentrix
