#include "widgets/LineNumberEdit.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>

namespace zentrix {

class TLineNumberGutter : public QWidget {
 public:
  explicit TLineNumberGutter(TLineNumberEdit* editor) : QWidget(editor), FEditor(editor) {}
  QSize sizeHint() const override { return {FEditor->GutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { FEditor->PaintGutter(event); }

 private:
  TLineNumberEdit* FEditor;
};

TLineNumberEdit::TLineNumberEdit(QWidget* parent) : QPlainTextEdit(parent), FGutter(new TLineNumberGutter(this)) {
  // Courier New where it is installed; fontconfig's monospaced fallback elsewhere.
  QFont f(QStringLiteral("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  setFont(f);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateGutterWidth(); });
  connect(this, &QPlainTextEdit::updateRequest, this, &TLineNumberEdit::UpdateGutter);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TLineNumberEdit::HighlightCurrentLine);
  UpdateGutterWidth();
  HighlightCurrentLine();
}

int TLineNumberEdit::GutterWidth() const {
  int digits = 1;
  for (int n = qMax(1, blockCount()); n >= 10; n /= 10) ++digits;
  digits = qMax(digits, 3);
  return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TLineNumberEdit::UpdateGutterWidth() { setViewportMargins(GutterWidth(), 0, 0, 0); }

void TLineNumberEdit::UpdateGutter(const QRect& rect, int dy) {
  if (dy != 0)
    FGutter->scroll(0, dy);
  else
    FGutter->update(0, rect.y(), FGutter->width(), rect.height());
  if (rect.contains(viewport()->rect())) UpdateGutterWidth();
}

void TLineNumberEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect r = contentsRect();
  FGutter->setGeometry(QRect(r.left(), r.top(), GutterWidth(), r.height()));
}

void TLineNumberEdit::HighlightCurrentLine() {
  QTextEdit::ExtraSelection line;
  line.format.setBackground(QColor(Qt::yellow));
  line.format.setProperty(QTextFormat::FullWidthSelection, true);
  line.cursor = textCursor();
  line.cursor.clearSelection();
  setExtraSelections({line});
}

void TLineNumberEdit::PaintGutter(QPaintEvent* event) {
  QPainter painter(FGutter);
  painter.fillRect(event->rect(), QColor(0xF0, 0xF0, 0xF0));
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.setFont(font());
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  const int lineHeight = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    const int bottom = top + qRound(blockBoundingRect(block).height());
    if (block.isVisible() && bottom >= event->rect().top())
      painter.drawText(0, top, FGutter->width() - 4, lineHeight, Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    block = block.next();
    top = bottom;
  }
}

}  // namespace zentrix
