#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace zentrix {

// A one-row scrolling text: the lines, joined, run from the right edge to the left one step
// every Interval ms. Plain text only.
//
// On X11 the rendered line lives in server-side pixmaps and a small thread with its own X
// connection copies one slice of it into the widget's native window per step: a step costs no
// drawing, no Qt event and no wake-up of the UI thread. Elsewhere a timer repaints the widget.
class TMarquee : public QWidget {
  Q_OBJECT
public:
  explicit TMarquee(QWidget* parent = nullptr);
  ~TMarquee() override;

  QStringList Lines() const { return FLines; }
  void SetLines(const QStringList& lines);
  void AddLine(const QString& line);
  void ClearLines();

  bool Active() const { return FActive; }
  void SetActive(bool active);
  int Interval() const { return FInterval; }
  void SetInterval(int ms);
  static constexpr int StepWidth = 1;

  void SetTextColour(const QColor& colour);
  QColor TextColour() const { return FColour; }

  // Starts again with the text entering at the right edge.
  void Reset();
  // Painting waits until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // How far the text has moved in, in pixels; the text's left edge is at width() - Offset().
  int Offset() const;
  int TextWidth() const { return FTextWidth; }
  bool Scrolling() const { return FScrolling; }
  bool DrawsThroughX11() const { return FX11 != nullptr; }
  // One scrolling step (what the timer does).
  void Step();

  QPaintEngine* paintEngine() const override;

signals:
  // The text has scrolled out completely; the marquee has started over.
  void Wrapped();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

private:
  struct TX11;
  QString Text() const;
  void Rebuild();  // renders the text again (content, font, colour or height changed)
  void UpdateTimer();
  void X11Sync(bool image);  // hands the current state to the X11 side and asks for a full paint
  void DropX11();            // the X server cannot take our pixels: paint with Qt instead

  QStringList FLines;
  bool FActive = false;
  int FInterval = 10;
  QColor FColour = QColor(166, 202, 240);
  int FUpdateCount = 0;
  bool FDirty = false;
  int FOffset = 0;  // the painter path's; the X11 side keeps its own
  int FTextWidth = 0;
  int FTimerId = 0;
  bool FScrolling = false;
  QImage FImage;  // the rendered text, full height
  std::unique_ptr<TX11> FX11;
};

}  // namespace zentrix
