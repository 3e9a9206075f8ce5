#include "widgets/ColourComboBox.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include "widgets/ColourRef.h"

namespace zentrix {

namespace {

// The sixteen standard colours and four more of the classic palette (money green, sky blue,
// cream, medium grey), as colour references.
constexpr int kStandardColours[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0xC0C0C0, 0x0000FF,
    0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0,
};

QIcon Swatch(int ref) {
  QPixmap pixmap(16, 12);
  pixmap.fill(ColourFromRef(ref));
  QPainter painter(&pixmap);
  painter.setPen(Qt::black);
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return QIcon(pixmap);
}

QString HexText(int ref) { return ColourFromRef(ref).name(QColor::HexRgb).toUpper(); }

}  // namespace

TColourComboBox::TColourComboBox(QWidget* parent) : QComboBox(parent) {
  // Names of colours are left out: the swatch and its #RRGGBB read the same in every language.
  for (const int ref : kStandardColours) addItem(Swatch(ref), HexText(ref), ref);
  addItem(FCustomCaption, -1);
  SetCustom(0);
  setCurrentIndex(0);
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (index == CustomIndex())
      ChooseCustom();
    else
      FLastIndex = index;
  });
}

int TColourComboBox::ColourRef() const { return IsCustom() ? FCustomRef : currentData().toInt(); }

void TColourComboBox::SetColourRef(int colourRef) {
  for (int i = 0; i < CustomIndex(); ++i)
    if (itemData(i).toInt() == colourRef) {
      setCurrentIndex(i);
      FLastIndex = i;
      return;
    }
  SetCustom(colourRef);
  setCurrentIndex(CustomIndex());
  FLastIndex = CustomIndex();
}

void TColourComboBox::SetCustomCaption(const QString& caption) {
  FCustomCaption = caption;
  SetCustom(FCustomRef);
}

void TColourComboBox::SetCustom(int colourRef) {
  // Values outside 0x00BBGGRR would not survive the way through QColor; keep the stored value.
  FCustomRef = colourRef;
  setItemIcon(CustomIndex(), Swatch(colourRef));
  setItemText(CustomIndex(), FCustomCaption + QStringLiteral(" ") + HexText(colourRef));
}

void TColourComboBox::ChooseCustom() {
  const QColor chosen = QColorDialog::getColor(ColourFromRef(FCustomRef), this);
  if (!chosen.isValid()) {
    setCurrentIndex(FLastIndex);
    return;
  }
  SetColourRef(RefFromColour(chosen));
}

}  // namespace zentrix
