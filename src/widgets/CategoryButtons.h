#pragma once

#include <QAbstractButton>
#include <QButtonGroup>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

namespace zentrix {

// One full-width button of a category list: a gradient fill and a bold caption; the chosen
// button is drawn warmer.
class TCategoryButton : public QAbstractButton {
  Q_OBJECT
public:
  explicit TCategoryButton(const QString& caption, QWidget* parent = nullptr);
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  bool FHover = false;
};

// A vertical list of buttons under one category title; exactly one button is chosen. The title
// is the "title" property, so the window's language file can name it.
class TCategoryButtons : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString title READ Title WRITE SetTitle)
public:
  explicit TCategoryButtons(const QString& title, QWidget* parent = nullptr);

  QString Title() const { return FTitle; }
  void SetTitle(const QString& title);

  int AddButton(const QString& caption);
  int Count() const;
  TCategoryButton* Button(int index) const;
  int Current() const;
  // Chooses the button without emitting ButtonClicked.
  void SetCurrent(int index);

signals:
  // The user clicked the button with this index.
  void ButtonClicked(int index);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QString FTitle;
  QVBoxLayout* FLayout;
  QButtonGroup* FGroup;
};

}  // namespace zentrix
