#include "widgets/Marquee.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

#if defined(ZENTRIX_MARQUEE_XCB)
#include <xcb/xcb.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>
#define ZENTRIX_HAVE_XCB 1
#endif

namespace zentrix {

#ifdef ZENTRIX_HAVE_XCB

namespace {
// Server pixmaps are at most 32767 wide; tiles also keep each upload request small.
constexpr int kTileWidth = 2048;
constexpr int kUploadColumns = 512;
}  // namespace

// The X11 side: its own connection and thread. Everything below is guarded by M; the thread
// sleeps on Cv between steps, so a step wakes nothing but this thread.
struct TMarquee::TX11 {
  struct TTile {
    std::uint32_t Pixmap;
    int Left;
    int Width;
  };

  TMarquee* Owner = nullptr;
  xcb_connection_t* C = nullptr;
  std::thread Thread;
  std::mutex M;
  std::condition_variable Cv;

  // Set by the UI thread.
  bool Quit = false;
  bool Run = false;
  bool Repaint = false;
  bool NewImage = false;
  int IntervalMs = 10;
  QImage Image;
  std::uint32_t Window = 0;
  int Width = 0;
  int Height = 0;
  int TextWidth = 0;
  int Offset = 0;

  // The thread's resources.
  std::uint32_t GcWindow = 0;
  std::uint32_t Gc = 0;
  std::uint8_t Depth = 0;
  std::vector<TTile> Tiles;
  unsigned Steps = 0;

  static std::unique_ptr<TX11> Open(TMarquee* owner) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c) != 0) {
      xcb_disconnect(c);
      return nullptr;
    }
    auto x11 = std::make_unique<TX11>();
    x11->Owner = owner;
    x11->C = c;
    x11->Thread = std::thread([p = x11.get()] { p->Loop(); });
    return x11;
  }

  ~TX11() {
    {
      std::lock_guard lock(M);
      Quit = true;
    }
    Cv.notify_all();
    Thread.join();
    xcb_disconnect(C);  // frees our pixmaps and GC with the connection
  }

  void Loop() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(M);
    auto next = Clock::now();
    while (!Quit) {
      if (Window != 0 && (NewImage || Repaint || Window != GcWindow)) {
        if (!Prepare()) continue;
        Present(true);
        Repaint = false;
        xcb_flush(C);
      }
      if (!Run || Gc == 0 || TextWidth <= 0) {
        Cv.wait(lock);
        next = Clock::now();
        continue;
      }
      const auto interval = std::chrono::milliseconds(IntervalMs);
      next += interval;
      if (Cv.wait_until(lock, next, [this] { return Quit || NewImage || Repaint || !Run; })) continue;
      if (StepLocked()) {
        QMetaObject::invokeMethod(Owner, [o = Owner] { emit o->Wrapped(); }, Qt::QueuedConnection);
      }
      xcb_flush(C);
      // Errors (a window gone under us) arrive as events nobody else reads.
      if ((++Steps & 255u) == 0)
        while (xcb_generic_event_t* event = xcb_poll_for_event(C)) free(event);
      const auto now = Clock::now();
      if (now - next > 5 * interval) next = now;  // after a stall, no burst of steps
    }
  }

  // The GC for the current window and the text in pixmaps; false when the window cannot be used.
  bool Prepare() {
    if (Window != GcWindow) {
      if (Gc != 0) xcb_free_gc(C, Gc);
      Gc = 0;
      GcWindow = Window;
      xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(C, xcb_get_geometry(C, Window), nullptr);
      if (geometry == nullptr) {  // destroyed already; wait for the next window
        Window = 0;
        return false;
      }
      Depth = geometry->depth;
      free(geometry);
      // Our pixels are 32 bits each, least significant byte first.
      const xcb_setup_t* setup = xcb_get_setup(C);
      bool usable = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST && (Depth == 24 || Depth == 32);
      bool format = false;
      for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it))
        if (it.data->depth == Depth && it.data->bits_per_pixel == 32) format = true;
      if (!usable || !format) {
        Run = false;
        Window = 0;
        QMetaObject::invokeMethod(Owner, [o = Owner] { o->DropX11(); }, Qt::QueuedConnection);
        return false;
      }
      Gc = xcb_generate_id(C);
      const std::uint32_t values[] = {0x000000u, 0u};  // black; no exposure events for copies
      xcb_create_gc(C, Gc, Window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
      NewImage = true;
    }
    if (NewImage) Upload();
    NewImage = false;
    return true;
  }

  void Upload() {
    for (const TTile& tile : Tiles) xcb_free_pixmap(C, tile.Pixmap);
    Tiles.clear();
    if (Image.isNull()) return;
    const int h = Image.height();
    std::vector<std::uint32_t> buffer;
    for (int left = 0; left < Image.width(); left += kTileWidth) {
      TTile tile{xcb_generate_id(C), left, std::min(kTileWidth, Image.width() - left)};
      xcb_create_pixmap(C, Depth, tile.Pixmap, Window, static_cast<std::uint16_t>(tile.Width),
                        static_cast<std::uint16_t>(h));
      for (int x = 0; x < tile.Width; x += kUploadColumns) {
        const int w = std::min(kUploadColumns, tile.Width - x);
        buffer.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) {
          const auto* row = reinterpret_cast<const std::uint32_t*>(Image.constScanLine(y)) + left + x;
          std::copy(row, row + w, buffer.begin() + static_cast<std::ptrdiff_t>(y) * w);
        }
        xcb_put_image(C, XCB_IMAGE_FORMAT_Z_PIXMAP, tile.Pixmap, Gc, static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(h), static_cast<std::int16_t>(x), 0, 0, Depth,
                      static_cast<std::uint32_t>(buffer.size() * sizeof(std::uint32_t)),
                      reinterpret_cast<const std::uint8_t*>(buffer.data()));
      }
      Tiles.push_back(tile);
    }
  }

  bool StepLocked() {
    Offset += StepWidth;
    if (Offset >= TextWidth + Width) {
      Offset = 0;
      Present(true);
      return true;
    }
    Present(false);
    return false;
  }

  // Copies the visible slice of the text into the window and blanks around it: all of the
  // window on a full paint, else only the columns the last step uncovered behind the text.
  void Present(bool full) {
    if (Gc == 0 || Width <= 0 || Height <= 0) return;
    const int textLeft = Width - Offset;
    const int textRight = textLeft + TextWidth;
    xcb_rectangle_t blank[2];
    std::uint32_t blanks = 0;
    if (full && textLeft > 0)
      blank[blanks++] = {0, 0, static_cast<std::uint16_t>(std::min(textLeft, Width)),
                         static_cast<std::uint16_t>(Height)};
    if (textRight < Width) {
      const int from = std::max(0, textRight);
      const int to = full ? Width : std::min(Width, textRight + StepWidth);
      if (to > from)
        blank[blanks++] = {static_cast<std::int16_t>(from), 0, static_cast<std::uint16_t>(to - from),
                           static_cast<std::uint16_t>(Height)};
    }
    if (blanks > 0) xcb_poly_fill_rectangle(C, Window, Gc, blanks, blank);
    const int h = std::min(Height, Image.height());
    for (const TTile& tile : Tiles) {
      const int destLeft = std::max(0, textLeft + tile.Left);
      const int destRight = std::min(Width, textLeft + tile.Left + tile.Width);
      if (destRight <= destLeft) continue;
      xcb_copy_area(C, tile.Pixmap, Window, Gc, static_cast<std::int16_t>(destLeft - textLeft - tile.Left), 0,
                    static_cast<std::int16_t>(destLeft), 0, static_cast<std::uint16_t>(destRight - destLeft),
                    static_cast<std::uint16_t>(h));
    }
  }

  int GetOffset() {
    std::lock_guard lock(M);
    return Offset;
  }
  void SetRun(bool run, int intervalMs) {
    {
      std::lock_guard lock(M);
      Run = run;
      IntervalMs = intervalMs;
    }
    Cv.notify_all();
  }
  void SetOffset(int offset) {
    {
      std::lock_guard lock(M);
      Offset = offset;
      Repaint = true;
    }
    Cv.notify_all();
  }
  bool Step() {
    bool wrapped = false;
    {
      std::lock_guard lock(M);
      if (TextWidth <= 0) return false;
      Offset += StepWidth;
      if (Offset >= TextWidth + Width) {
        Offset = 0;
        wrapped = true;
      }
      Repaint = true;
    }
    Cv.notify_all();
    return wrapped;
  }
};

#else

struct TMarquee::TX11 {
  static std::unique_ptr<TX11> Open(TMarquee*) { return nullptr; }
  int GetOffset() { return 0; }
  void SetRun(bool, int) {}
  void SetOffset(int) {}
  bool Step() { return false; }
};

#endif

TMarquee::TMarquee(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  FX11 = TX11::Open(this);
  if (FX11) {
    // Our own window, painted by the X server from our pixmaps; Qt's backing store stays out.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
  }
}

TMarquee::~TMarquee() = default;

QPaintEngine* TMarquee::paintEngine() const { return FX11 ? nullptr : QWidget::paintEngine(); }

void TMarquee::DropX11() {
  FX11.reset();
  setAttribute(Qt::WA_PaintOnScreen, false);
  FScrolling = false;
  UpdateTimer();
  update();
}

QString TMarquee::Text() const { return FLines.join(QStringLiteral("   ")); }

int TMarquee::Offset() const { return FX11 ? FX11->GetOffset() : FOffset; }

void TMarquee::SetLines(const QStringList& lines) {
  FLines = lines;
  Rebuild();
}

void TMarquee::AddLine(const QString& line) {
  FLines.append(line);
  Rebuild();
}

void TMarquee::ClearLines() {
  FLines.clear();
  Reset();
  Rebuild();
}

void TMarquee::SetActive(bool active) {
  FActive = active;
  UpdateTimer();
}

void TMarquee::SetInterval(int ms) {
  FInterval = std::max(1, ms);
  if (FTimerId != 0) {
    killTimer(FTimerId);
    FTimerId = 0;
  }
  FScrolling = false;
  UpdateTimer();
}

void TMarquee::SetTextColour(const QColor& colour) {
  if (colour == FColour) return;
  FColour = colour;
  Rebuild();
}

void TMarquee::Reset() {
  FOffset = 0;
  if (FX11) FX11->SetOffset(0);
  else update();
}

void TMarquee::BeginUpdate() {
  ++FUpdateCount;
  UpdateTimer();
}

void TMarquee::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  if (FDirty) Rebuild();
  else UpdateTimer();
}

void TMarquee::UpdateTimer() {
  const bool run = FActive && FTextWidth > 0 && isVisible() && FUpdateCount == 0;
  if (run == FScrolling) return;
  FScrolling = run;
  if (FX11) {
    FX11->SetRun(run, FInterval);
  } else if (run) {
    FTimerId = startTimer(FInterval, Qt::PreciseTimer);
  } else if (FTimerId != 0) {
    killTimer(FTimerId);
    FTimerId = 0;
  }
}

void TMarquee::Rebuild() {
  if (FUpdateCount > 0) {
    FDirty = true;
    return;
  }
  FDirty = false;
  const QString text = Text();
  // Measuring loads the font database: the empty line of the bar's start, before the first feed,
  // leaves that until after the bar is on screen.
  std::optional<QFontMetrics> metrics;
  if (!text.isEmpty()) metrics.emplace(font());
  FTextWidth = metrics ? metrics->horizontalAdvance(text) : 0;
  const int h = std::max(1, height());
  if (metrics && FTextWidth > 0) {
    FImage = QImage(FTextWidth, h, QImage::Format_RGB32);
    FImage.fill(Qt::black);
    QPainter painter(&FImage);
    painter.setFont(font());
    painter.setPen(FColour);
    // Plain text on one baseline, centred in the row.
    const int baseline = (h - metrics->height()) / 2 + metrics->ascent();
    painter.drawText(0, baseline, text);
  } else {
    FImage = QImage();
  }
  FOffset = std::min(FOffset, FTextWidth + width());
  if (FX11) X11Sync(true);
  else update();
  UpdateTimer();
}

void TMarquee::Step() {
  if (FX11) {
    if (FX11->Step()) emit Wrapped();
    return;
  }
  if (FTextWidth <= 0) return;
  FOffset += StepWidth;
  if (FOffset >= FTextWidth + width()) {
    FOffset = 0;
    update();
    emit Wrapped();
    return;
  }
  update();
}

void TMarquee::X11Sync(bool image) {
#ifdef ZENTRIX_HAVE_XCB
  if (!FX11 || !isVisible()) return;
  const auto window = static_cast<std::uint32_t>(winId());
  {
    std::lock_guard lock(FX11->M);
    FX11->Window = window;
    FX11->Width = width();
    FX11->Height = height();
    FX11->IntervalMs = FInterval;
    if (image) {
      FX11->Image = FImage;
      FX11->TextWidth = FTextWidth;
      FX11->NewImage = true;
      FX11->Offset = std::min(FX11->Offset, FTextWidth + width());
    }
    FX11->Repaint = true;
  }
  FX11->Cv.notify_all();
#else
  (void)image;
#endif
}

void TMarquee::paintEvent(QPaintEvent*) {
  if (FX11) {
    X11Sync(false);
    return;
  }
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (FUpdateCount == 0 && !FImage.isNull()) painter.drawImage(width() - FOffset, 0, FImage);
}

void TMarquee::resizeEvent(QResizeEvent*) {
  if (FImage.isNull() || FImage.height() != std::max(1, height())) Rebuild();
  else if (FX11) X11Sync(false);
  else update();
}

void TMarquee::showEvent(QShowEvent*) {
  X11Sync(true);
  UpdateTimer();
}

void TMarquee::hideEvent(QHideEvent*) { UpdateTimer(); }

void TMarquee::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) Rebuild();
  QWidget::changeEvent(event);
}

void TMarquee::timerEvent(QTimerEvent* event) {
  if (event->timerId() == FTimerId) Step();
  else QWidget::timerEvent(event);
}

}  // namespace zentrix
