#pragma once

#include <QString>
#include <QWidget>

namespace zentrix {

// A page header: bold white text on a gradient running from black at the left to grey.
class THeaderPanel : public QWidget {
  Q_OBJECT
public:
  explicit THeaderPanel(QWidget* parent = nullptr);

  QString Text() const { return FText; }
  void SetText(const QString& text);

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QString FText;
};

}  // namespace zentrix
