#include "widgets/CategoryButtons.h"

#include <QLinearGradient>
#include <QPainter>

namespace zentrix {

namespace {
constexpr int kTitleHeight = 20;
constexpr int kButtonPadding = 6;
}  // namespace

TCategoryButton::TCategoryButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
  setText(caption);
  setCheckable(true);
  setCursor(Qt::PointingHandCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  QFont f = font();
  f.setBold(true);
  setFont(f);
}

QSize TCategoryButton::sizeHint() const {
  const QFontMetrics metrics(font());
  return {metrics.horizontalAdvance(text().trimmed()) + 3 * kButtonPadding, metrics.height() + 2 * kButtonPadding};
}

void TCategoryButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect r = rect().adjusted(0, 0, -1, -1);
  QLinearGradient gradient(r.topLeft(), r.bottomLeft());
  if (isChecked()) {
    gradient.setColorAt(0, QColor(0xFF, 0xE8, 0xB0));
    gradient.setColorAt(1, QColor(0xF5, 0xB8, 0x50));
  } else if (FHover || isDown()) {
    gradient.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    gradient.setColorAt(1, QColor(0xC8, 0xDC, 0xF5));
  } else {
    gradient.setColorAt(0, QColor(0xFA, 0xFA, 0xFA));
    gradient.setColorAt(1, QColor(0xD8, 0xDE, 0xE8));
  }
  painter.fillRect(r, gradient);
  painter.setPen(QColor(0xA0, 0xA8, 0xB8));
  painter.drawRect(r);
  painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(Qt::gray));
  painter.drawText(r.adjusted(2 * kButtonPadding, 0, -kButtonPadding, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   text().trimmed());
  if (hasFocus()) {
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1, Qt::DotLine));
    painter.drawRect(r.adjusted(2, 2, -2, -2));
  }
}

void TCategoryButton::enterEvent(QEnterEvent*) {
  FHover = true;
  update();
}

void TCategoryButton::leaveEvent(QEvent*) {
  FHover = false;
  update();
}

TCategoryButtons::TCategoryButtons(const QString& title, QWidget* parent)
    : QWidget(parent), FTitle(title), FLayout(new QVBoxLayout(this)), FGroup(new QButtonGroup(this)) {
  FLayout->setContentsMargins(2, kTitleHeight + 2, 2, 2);
  FLayout->setSpacing(2);
  FGroup->setExclusive(true);
  connect(FGroup, &QButtonGroup::idClicked, this, &TCategoryButtons::ButtonClicked);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TCategoryButtons::SetTitle(const QString& title) {
  FTitle = title;
  update();
}

int TCategoryButtons::AddButton(const QString& caption) {
  const int index = Count();
  auto* button = new TCategoryButton(caption, this);
  FGroup->addButton(button, index);
  FLayout->addWidget(button);
  return index;
}

int TCategoryButtons::Count() const { return static_cast<int>(FGroup->buttons().size()); }

TCategoryButton* TCategoryButtons::Button(int index) const {
  return static_cast<TCategoryButton*>(FGroup->button(index));
}

int TCategoryButtons::Current() const { return FGroup->checkedId(); }

void TCategoryButtons::SetCurrent(int index) {
  if (QAbstractButton* button = FGroup->button(index)) button->setChecked(true);
}

void TCategoryButtons::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect title(0, 0, width(), kTitleHeight);
  QLinearGradient gradient(title.topLeft(), title.bottomLeft());
  gradient.setColorAt(0, QColor(0xE8, 0xEC, 0xF2));
  gradient.setColorAt(1, QColor(0xB8, 0xC4, 0xD4));
  painter.fillRect(title, gradient);
  QFont f = font();
  f.setBold(true);
  painter.setFont(f);
  painter.setPen(QColor(0x20, 0x30, 0x50));
  painter.drawText(title.adjusted(6, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, FTitle);
}

}  // namespace zentrix
