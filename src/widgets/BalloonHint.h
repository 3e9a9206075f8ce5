#pragma once

#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace zentrix {

// A balloon with a header, a picture and a message, pointing at a control; it closes by itself
// after its visible time or on a click. Showing again replaces what is on screen.
class TBalloonHint : public QWidget {
  Q_OBJECT
public:
  explicit TBalloonHint(QWidget* owner);

  // text: lines separated by "\r\n" (or "\n").
  void ShowAt(QWidget* anchor, const QString& header, const QString& text, const QPixmap& icon,
              int timeoutMs = 5000);

  QString Header() const { return FHeader; }
  QString Text() const { return FText; }
  int TimeoutMs() const { return FTimeoutMs; }
  // Where the tail points, in global coordinates.
  QPoint TailTip() const { return FTailTip; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  void Layout(QWidget* anchor);
  QRectF BodyRect() const;
  QPainterPath Outline() const;

  QString FHeader;
  QString FText;
  QPixmap FIcon;
  int FTimeoutMs = 5000;
  bool FTailUp = true;   // balloon below the anchor, tail pointing up
  int FTailX = 0;        // tail position inside the balloon
  QPoint FTailTip;
  QTimer FCloseTimer;
};

}  // namespace zentrix
