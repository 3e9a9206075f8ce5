#include "app/GradientPanel.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace zentrix {

TGradientPanel::TGradientPanel(const QString& objectName, QWidget* parent) : QWidget(parent) {
  setObjectName(objectName);
  setFixedHeight(kPanelHeight + 3);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setMouseTracking(true);
}

void TGradientPanel::SetCaption(const QString& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  update();
}

void TGradientPanel::SetLabelColour(const QColor& colour) {
  FColour = colour;
  update();
}

void TGradientPanel::SetBold(bool bold) {
  QFont f = font();
  f.setBold(bold);
  setFont(f);
  update();
}

void TGradientPanel::SetLeftAligned(int indent) {
  FLeftAligned = true;
  FIndent = indent;
  update();
}

void TGradientPanel::SetPanelWidth(int width) {
  if (width > 0) {
    setFixedWidth(width + 1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  } else {
    setMinimumWidth(0);
    setMaximumWidth(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
}

void TGradientPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect panel(0, 1, width() - 1, kPanelHeight);
  QLinearGradient gradient(panel.topLeft(), panel.bottomLeft());
  gradient.setColorAt(0, Qt::black);
  gradient.setColorAt(1, QColor(0x80, 0x80, 0x80));
  painter.fillRect(panel, gradient);
  painter.setPen(FColour);
  painter.setFont(font());
  // The label sits one pixel below the panel's top.
  const QRect label = panel.adjusted(FLeftAligned ? FIndent : 0, 1, 0, 0);
  painter.drawText(label, (FLeftAligned ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop, FCaption);
}

void TGradientPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
}

void TGradientPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

void TGradientPanel::mouseMoveEvent(QMouseEvent*) {
  emit MouseMoved();
}

}  // namespace zentrix
