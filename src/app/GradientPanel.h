#pragma once

#include <QColor>
#include <QWidget>

namespace zentrix {

// A status panel of the bar: a black-to-grey vertical gradient with one label. The widget is one
// pixel wider and three taller than the painted panel, which keeps a pixel free to its right, one
// above and two below.
class TGradientPanel : public QWidget {
  Q_OBJECT
public:
  static constexpr int kPanelHeight = 16;

  explicit TGradientPanel(const QString& objectName, QWidget* parent = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  void SetLabelColour(const QColor& colour);
  void SetBold(bool bold);
  // Left-aligned labels start this many pixels from the panel's left edge.
  void SetLeftAligned(int indent);
  // The painted panel's width (0: the panel takes what the row leaves over).
  void SetPanelWidth(int width);

signals:
  void Clicked();
  void DoubleClicked();
  void MouseMoved();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  QString FCaption = QStringLiteral("?");
  QColor FColour = Qt::white;
  bool FLeftAligned = false;
  int FIndent = 0;
};

}  // namespace zentrix
