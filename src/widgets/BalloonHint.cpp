#include "widgets/BalloonHint.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>

namespace zentrix {

namespace {
constexpr int kPad = 8;
constexpr int kTail = 10;      // height of the pointer
constexpr int kTailHalf = 8;   // half its width at the base
constexpr int kRadius = 6;
constexpr int kIconGap = 6;

QStringList MessageLines(const QString& text) {
  QString normal = text;
  normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normal.replace(QChar('\r'), QChar('\n'));
  return normal.split(QChar('\n'));
}

QFont HeaderFont(const QFont& base) {
  QFont f = base;
  f.setBold(true);
  return f;
}
}  // namespace

TBalloonHint::TBalloonHint(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  FCloseTimer.setSingleShot(true);
  connect(&FCloseTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TBalloonHint::ShowAt(QWidget* anchor, const QString& header, const QString& text, const QPixmap& icon,
                          int timeoutMs) {
  FHeader = header;
  FText = text;
  FIcon = icon;
  FTimeoutMs = timeoutMs;
  Layout(anchor);
  show();
  raise();
  update();
  if (timeoutMs > 0) FCloseTimer.start(timeoutMs);
  else FCloseTimer.stop();
}

void TBalloonHint::Layout(QWidget* anchor) {
  const QFontMetrics body(font());
  const QFontMetrics head(HeaderFont(font()));
  const QStringList lines = MessageLines(FText);
  int bodyWidth = 0;
  for (const QString& line : lines) bodyWidth = std::max(bodyWidth, body.horizontalAdvance(line));
  const QSizeF iconSize = FIcon.isNull() ? QSizeF() : FIcon.deviceIndependentSize();
  const int iconWidth = FIcon.isNull() ? 0 : int(iconSize.width()) + kIconGap;
  const int headerWidth = iconWidth + (FHeader.isEmpty() ? 0 : head.horizontalAdvance(FHeader));
  const int headerHeight = std::max(FHeader.isEmpty() ? 0 : head.height(), int(iconSize.height()));
  const int bodyHeight = FText.isEmpty() ? 0 : body.lineSpacing() * int(lines.size());
  const int w = kPad * 2 + std::max({headerWidth, bodyWidth, 3 * (kRadius + kTailHalf)});
  const int h = kPad * 2 + headerHeight + (bodyHeight > 0 ? 4 + bodyHeight : 0) + kTail;
  resize(w, h);

  QRect target = anchor != nullptr ? QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size())
                                   : QRect(QCursor::pos(), QSize(1, 1));
  QScreen* screen = anchor != nullptr && anchor->screen() != nullptr ? anchor->screen()
                                                                      : QGuiApplication::primaryScreen();
  const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1 << 15, 1 << 15);
  const QPoint tip(target.center().x(), 0);
  // Below the anchor when there is room (the bar sits at the top), else above it.
  FTailUp = target.bottom() + height() <= area.bottom();
  FTailTip = QPoint(tip.x(), FTailUp ? target.bottom() + 1 : target.top());
  int left = FTailTip.x() - width() / 4;
  left = std::clamp(left, area.left(), std::max(area.left(), area.right() + 1 - width()));
  const int top = FTailUp ? FTailTip.y() : FTailTip.y() - height();
  FTailX = std::clamp(FTailTip.x() - left, kRadius + kTailHalf, width() - kRadius - kTailHalf);
  move(left, top);
  // Shaped by a mask, so the corners are see-through without a compositor too.
  setMask(QRegion(Outline().toFillPolygon().toPolygon()));
}

QRectF TBalloonHint::BodyRect() const {
  return FTailUp ? QRectF(0.5, kTail + 0.5, width() - 1, height() - kTail - 1)
                 : QRectF(0.5, 0.5, width() - 1, height() - kTail - 1);
}

QPainterPath TBalloonHint::Outline() const {
  const QRectF body = BodyRect();
  QPainterPath path;
  path.addRoundedRect(body, kRadius, kRadius);
  QPainterPath tail;
  if (FTailUp) {
    tail.moveTo(FTailX - kTailHalf, body.top() + 1);
    tail.lineTo(FTailX, 0.5);
    tail.lineTo(FTailX + kTailHalf, body.top() + 1);
  } else {
    tail.moveTo(FTailX - kTailHalf, body.bottom() - 1);
    tail.lineTo(FTailX, height() - 0.5);
    tail.lineTo(FTailX + kTailHalf, body.bottom() - 1);
  }
  tail.closeSubpath();
  path = path.united(tail);
  return path;
}

void TBalloonHint::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body = BodyRect();
  const QPainterPath path = Outline();
  p.setPen(QPen(QColor(0x76, 0x76, 0x76), 1));
  p.setBrush(QColor(0xff, 0xff, 0xe1));
  p.drawPath(path);

  int x = int(body.left()) + kPad;
  int y = int(body.top()) + kPad;
  const QFontMetrics head(HeaderFont(font()));
  int headerHeight = FHeader.isEmpty() ? 0 : head.height();
  if (!FIcon.isNull()) {
    const QSizeF iconSize = FIcon.deviceIndependentSize();
    p.drawPixmap(x, y, FIcon);
    x += int(iconSize.width()) + kIconGap;
    headerHeight = std::max(headerHeight, int(iconSize.height()));
  }
  p.setPen(Qt::black);
  if (!FHeader.isEmpty()) {
    p.setFont(HeaderFont(font()));
    p.drawText(QRect(x, y, width() - x - kPad, headerHeight), Qt::AlignLeft | Qt::AlignVCenter, FHeader);
  }
  if (!FText.isEmpty()) {
    p.setFont(font());
    const QFontMetrics bodyMetrics(font());
    int lineTop = y + headerHeight + 4;
    for (const QString& line : MessageLines(FText)) {
      p.drawText(int(body.left()) + kPad, lineTop + bodyMetrics.ascent(), line);
      lineTop += bodyMetrics.lineSpacing();
    }
  }
}

void TBalloonHint::mousePressEvent(QMouseEvent*) {
  FCloseTimer.stop();
  hide();
}

}  // namespace zentrix
