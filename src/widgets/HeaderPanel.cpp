#include "widgets/HeaderPanel.h"

#include <QLinearGradient>
#include <QPainter>

namespace zentrix {

namespace {
constexpr int kIndent = 8;
}

THeaderPanel::THeaderPanel(QWidget* parent) : QWidget(parent) {
  QFont f = font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.2);
  setFont(f);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void THeaderPanel::SetText(const QString& text) {
  if (text == FText) return;
  FText = text;
  update();
}

QSize THeaderPanel::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(FText.trimmed()) + 2 * kIndent, metrics.height() + 10};
}

void THeaderPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(0, 0, width(), 0);
  gradient.setColorAt(0, Qt::black);
  gradient.setColorAt(1, QColor(0xA0, 0xA0, 0xA0));
  painter.fillRect(rect(), gradient);
  painter.setPen(Qt::white);
  painter.drawText(rect().adjusted(kIndent, 0, -kIndent, 0), Qt::AlignLeft | Qt::AlignVCenter, FText.trimmed());
}

}  // namespace zentrix
