#pragma once

#include <QColor>
#include <QComboBox>
#include <QString>

namespace zentrix {

// A colour drop-down: the standard colours and, last, a custom entry that opens the colour
// dialog. Values are colour references 0x00BBGGRR; a value that is no standard colour is shown
// as the custom entry.
class TColourComboBox : public QComboBox {
  Q_OBJECT
public:
  explicit TColourComboBox(QWidget* parent = nullptr);

  int ColourRef() const;
  void SetColourRef(int colourRef);
  bool IsCustom() const { return currentIndex() == CustomIndex(); }
  int CustomIndex() const { return count() - 1; }
  void SetCustomCaption(const QString& caption);

private:
  void SetCustom(int colourRef);
  void ChooseCustom();

  int FCustomRef = 0;
  int FLastIndex = 0;
  QString FCustomCaption = QStringLiteral("Custom...");
};

}  // namespace zentrix
