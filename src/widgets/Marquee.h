#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace zentrix {

// A one-row scrolling text: the lines, joined, run from the right edge to the left one step
// every Interval ms. Plain text only. On X11 the rendered line is kept in server-side pixmaps
// and each step is a copy into the widget's own window, so a step costs no drawing at all.
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
  int Offset() const { return FOffset; }
  int TextWidth() const { return FTextWidth; }
  bool Scrolling() const { return FTimerId != 0; }
  bool DrawsThroughX11() const { return FX11; }
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
  QString Text() const;
  void Rebuild();      // renders the text again (content, font, colour or height changed)
  void UpdateTimer();
  void Present(bool full);

  // X11 side.
  bool X11Ready();
  void X11Upload();
  void X11Release();
  void X11Present(bool full);

  QStringList FLines;
  bool FActive = false;
  int FInterval = 10;
  QColor FColour = QColor(166, 202, 240);
  int FUpdateCount = 0;
  bool FDirty = false;
  int FOffset = 0;
  int FTextWidth = 0;
  int FTimerId = 0;
  QImage FImage;  // the rendered text, full height

  bool FX11 = false;
  void* FConnection = nullptr;  // xcb_connection_t*, Qt's own
  std::uint32_t FWindow = 0;
  std::uint32_t FGc = 0;
  std::uint8_t FDepth = 0;
  bool FUploaded = false;
  struct TTile {
    std::uint32_t Pixmap;
    int Left;
    int Width;
  };
  std::vector<TTile> FTiles;
};

}  // namespace zentrix
