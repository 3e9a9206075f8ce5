#include "widgets/BarImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace zentrix {

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled to the size asked for.
QPixmap Draw(int size, const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
  return pixmap;
}

QPen Outline(const QColor& colour, qreal width = 1.0) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawProgram(QPainter& p) {
  QLinearGradient fill(0, 0, 0, 16);
  fill.setColorAt(0, QColor(0x3a, 0x8d, 0xde));
  fill.setColorAt(1, QColor(0x12, 0x3f, 0x8c));
  p.setPen(Outline(QColor(0x0b, 0x2a, 0x5e)));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  // A bold Z.
  QPainterPath z;
  z.moveTo(4, 4);
  z.lineTo(12, 4);
  z.lineTo(12, 5.8);
  z.lineTo(6.6, 10.2);
  z.lineTo(12, 10.2);
  z.lineTo(12, 12);
  z.lineTo(4, 12);
  z.lineTo(4, 10.2);
  z.lineTo(9.4, 5.8);
  z.lineTo(4, 5.8);
  z.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(z);
}

void DrawRss(QPainter& p) {
  QLinearGradient fill(0, 0, 16, 16);
  fill.setColorAt(0, QColor(0xf9, 0xa0, 0x3c));
  fill.setColorAt(1, QColor(0xe0, 0x5a, 0x10));
  p.setPen(Outline(QColor(0xb0, 0x44, 0x08)));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(4.5, 11.5), 1.6, 1.6);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 1.9, Qt::SolidLine, Qt::FlatCap));
  // Two quarter circles around the dot's corner.
  p.drawArc(QRectF(3 - 5.5, 13 - 5.5, 11, 11), 0, 90 * 16);
  p.drawArc(QRectF(3 - 9.5, 13 - 9.5, 19, 19), 0, 90 * 16);
}

void DrawPause(QPainter& p) {
  p.setPen(Outline(QColor(0x6a, 0x6a, 0x6a)));
  p.setBrush(QColor(0x30, 0x30, 0x30));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xe8, 0xe8));
  p.drawRect(QRectF(5, 4.5, 2.2, 7));
  p.drawRect(QRectF(8.8, 4.5, 2.2, 7));
}

void DrawPlay(QPainter& p) {
  p.setPen(Outline(QColor(0x6a, 0x6a, 0x6a)));
  p.setBrush(QColor(0x30, 0x30, 0x30));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QPainterPath triangle;
  triangle.moveTo(6, 4.5);
  triangle.lineTo(11.5, 8);
  triangle.lineTo(6, 11.5);
  triangle.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x7c, 0xd6, 0x4c));
  p.drawPath(triangle);
}

void DrawDate(QPainter& p) {
  // A desk calendar page: red binding, white sheet, two rings, a few day cells.
  p.setPen(Outline(QColor(0x60, 0x60, 0x60)));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1.5, 2.5, 13, 12), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd8, 0x30, 0x30));
  p.drawRect(QRectF(2, 3, 12, 3.5));
  p.setPen(Outline(QColor(0x50, 0x50, 0x50), 1.2));
  p.drawLine(QPointF(5, 1), QPointF(5, 4.5));
  p.drawLine(QPointF(11, 1), QPointF(11, 4.5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x70, 0x70, 0x70));
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col)
      p.drawRect(QRectF(3.2 + col * 2.6, 8 + row * 2.1, 1.6, 1.3));
}

void DrawTime(QPainter& p) {
  p.setPen(Outline(QColor(0x2a, 0x4a, 0x80), 1.2));
  QRadialGradient face(8, 8, 8);
  face.setColorAt(0, Qt::white);
  face.setColorAt(1, QColor(0xd6, 0xe4, 0xf6));
  p.setBrush(face);
  p.drawEllipse(QRectF(1, 1, 14, 14));
  p.setPen(Outline(QColor(0x2a, 0x4a, 0x80), 0.8));
  for (int i = 0; i < 12; i += 3) {
    const double a = i * M_PI / 6;
    p.drawLine(QPointF(8 + 5.2 * std::sin(a), 8 - 5.2 * std::cos(a)), QPointF(8 + 6 * std::sin(a), 8 - 6 * std::cos(a)));
  }
  p.setPen(Outline(Qt::black, 1.3));
  p.drawLine(QPointF(8, 8), QPointF(8, 3.6));
  p.drawLine(QPointF(8, 8), QPointF(11, 9.8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xc0, 0x20, 0x20));
  p.drawEllipse(QPointF(8, 8), 1, 1);
}

void DrawCpu(QPainter& p) {
  // A square chip with pins on every side and a lighter die.
  p.setPen(QPen(QColor(0xc8, 0xa0, 0x40), 1.2, Qt::SolidLine, Qt::FlatCap));
  for (int i = 0; i < 4; ++i) {
    const double c = 4.5 + i * 2.3;
    p.drawLine(QPointF(c, 0.5), QPointF(c, 3));
    p.drawLine(QPointF(c, 13), QPointF(c, 15.5));
    p.drawLine(QPointF(0.5, c), QPointF(3, c));
    p.drawLine(QPointF(13, c), QPointF(15.5, c));
  }
  p.setPen(Outline(QColor(0x10, 0x10, 0x10)));
  p.setBrush(QColor(0x3c, 0x3c, 0x44));
  p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 1.2, 1.2);
  p.setPen(Qt::NoPen);
  QLinearGradient die(5, 5, 11, 11);
  die.setColorAt(0, QColor(0xe8, 0xc4, 0x5c));
  die.setColorAt(1, QColor(0xb0, 0x84, 0x20));
  p.setBrush(die);
  p.drawRect(QRectF(5, 5, 6, 6));
}

void DrawSystem(QPainter& p) {
  // A monitor on a stand.
  p.setPen(Outline(QColor(0x40, 0x40, 0x40)));
  p.setBrush(QColor(0xb8, 0xb8, 0xb8));
  p.drawRoundedRect(QRectF(0.5, 1.5, 15, 10.5), 1, 1);
  QLinearGradient screen(0, 3, 0, 10);
  screen.setColorAt(0, QColor(0x5c, 0xa8, 0xf0));
  screen.setColorAt(1, QColor(0x1c, 0x5c, 0xb0));
  p.setPen(Qt::NoPen);
  p.setBrush(screen);
  p.drawRect(QRectF(2, 3, 12, 7.5));
  p.setBrush(QColor(0x70, 0x70, 0x70));
  p.drawRect(QRectF(6.5, 12, 3, 1.8));
  p.setPen(Outline(QColor(0x40, 0x40, 0x40)));
  p.setBrush(QColor(0xa0, 0xa0, 0xa0));
  p.drawRoundedRect(QRectF(3.5, 13.5, 9, 2), 0.8, 0.8);
}

void DrawMemory(QPainter& p) {
  // A green module with black chips and gold contacts along its lower edge.
  p.setPen(Outline(QColor(0x0c, 0x4c, 0x1c)));
  p.setBrush(QColor(0x24, 0x94, 0x40));
  p.drawRect(QRectF(0.5, 4.5, 15, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x18, 0x18, 0x18));
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(1.8 + i * 3.3, 5.8, 2.6, 3.6));
  p.setBrush(QColor(0xe0, 0xb4, 0x30));
  for (int i = 0; i < 7; ++i) p.drawRect(QRectF(1.5 + i * 1.95, 10.6, 1.2, 1.9));
  p.setBrush(Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.drawRect(QRectF(7.4, 11, 1.2, 2));
}

void DrawPower(QPainter& p) {
  // A battery lying down, two thirds charged, with a lightning bolt.
  p.setPen(Outline(QColor(0x30, 0x30, 0x30)));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(0.5, 4, 13.5, 8.5), 1.2, 1.2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x30));
  p.drawRect(QRectF(14, 6.3, 1.7, 3.9));
  p.setBrush(QColor(0x3c, 0xc0, 0x3c));
  p.drawRect(QRectF(2, 5.5, 8, 5.5));
  QPainterPath bolt;
  bolt.moveTo(8.2, 4.6);
  bolt.lineTo(5.2, 8.6);
  bolt.lineTo(7.4, 8.6);
  bolt.lineTo(6.4, 11.9);
  bolt.lineTo(9.6, 7.6);
  bolt.lineTo(7.4, 7.6);
  bolt.closeSubpath();
  p.setPen(Outline(QColor(0x60, 0x48, 0x00), 0.5));
  p.setBrush(QColor(0xff, 0xd8, 0x20));
  p.drawPath(bolt);
}

void DrawWeather(QPainter& p) {
  // A sun behind a cloud.
  p.setPen(Outline(QColor(0xe8, 0x90, 0x10), 1.1));
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    p.drawLine(QPointF(6 + 4.2 * std::cos(a), 6 + 4.2 * std::sin(a)), QPointF(6 + 5.6 * std::cos(a), 6 + 5.6 * std::sin(a)));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0xc8, 0x20));
  p.drawEllipse(QPointF(6, 6), 3.2, 3.2);
  QPainterPath cloud;
  cloud.addEllipse(QPointF(7.5, 11.5), 3, 3);
  cloud.addEllipse(QPointF(11, 10), 3.6, 3.6);
  cloud.addRoundedRect(QRectF(4.5, 11, 11, 4), 2, 2);
  cloud.setFillRule(Qt::WindingFill);
  p.setPen(Outline(QColor(0x70, 0x80, 0x98), 0.9));
  p.setBrush(QColor(0xf2, 0xf4, 0xf8));
  p.drawPath(cloud.simplified());
}

void DrawCountdown(QPainter& p) {
  // A stopwatch: crown and button on top, face with a hand at a quarter.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x50, 0x50, 0x50));
  p.drawRect(QRectF(6.5, 0.5, 3, 1.5));
  p.drawRect(QRectF(7.3, 1.8, 1.4, 1.6));
  p.save();
  p.translate(13, 4);
  p.rotate(45);
  p.drawRect(QRectF(-0.8, -1.2, 1.6, 2.2));
  p.restore();
  p.setPen(Outline(QColor(0x30, 0x30, 0x30), 1.3));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 9.5), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf0, 0x60, 0x40, 0xb0));
  p.drawPie(QRectF(3.4, 4.9, 9.2, 9.2), 90 * 16, -90 * 16);
  p.setPen(Outline(Qt::black, 1.1));
  p.drawLine(QPointF(8, 9.5), QPointF(8, 5));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(8, 9.5), 0.9, 0.9);
}

}  // namespace

QPixmap ProgramIcon(int size) { return Draw(size, DrawProgram); }
QPixmap RssIcon() { return Draw(16, DrawRss); }
QPixmap PauseIcon() { return Draw(16, DrawPause); }
QPixmap PlayIcon() { return Draw(16, DrawPlay); }

QPixmap BalloonIcon(TBalloonIcon icon) {
  switch (icon) {
    case biDate: return Draw(16, DrawDate);
    case biTime: return Draw(16, DrawTime);
    case biCpu: return Draw(16, DrawCpu);
    case biSystem: return Draw(16, DrawSystem);
    case biMemory: return Draw(16, DrawMemory);
    case biPower: return Draw(16, DrawPower);
    case biWeather: return Draw(16, DrawWeather);
    case biCountdown: return Draw(16, DrawCountdown);
    case biProgram: break;
  }
  return ProgramIcon(16);
}

}  // namespace zentrix
