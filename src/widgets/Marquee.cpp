#include "widgets/Marquee.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>

#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif
#if defined(ZENTRIX_MARQUEE_XCB) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define ZENTRIX_HAVE_XCB 1
#endif

namespace zentrix {

namespace {
// Server pixmaps are at most 32767 wide; tiles also keep each upload request small.
constexpr int kTileWidth = 2048;
constexpr int kUploadColumns = 512;
}  // namespace

TMarquee::TMarquee(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
#ifdef ZENTRIX_HAVE_XCB
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
      FConnection = x11->connection();
      FX11 = FConnection != nullptr;
    }
  }
  if (FX11) {
    // Our own window, painted by the X server from our pixmaps; Qt's backing store stays out.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
  }
#endif
}

TMarquee::~TMarquee() { X11Release(); }

QPaintEngine* TMarquee::paintEngine() const { return FX11 ? nullptr : QWidget::paintEngine(); }

QString TMarquee::Text() const { return FLines.join(QStringLiteral("   ")); }

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
  FOffset = 0;
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
  UpdateTimer();
}

void TMarquee::SetTextColour(const QColor& colour) {
  if (colour == FColour) return;
  FColour = colour;
  Rebuild();
}

void TMarquee::Reset() {
  FOffset = 0;
  Present(true);
}

void TMarquee::BeginUpdate() { ++FUpdateCount; }

void TMarquee::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  if (FDirty) Rebuild();
  else UpdateTimer();
}

void TMarquee::UpdateTimer() {
  const bool run = FActive && FTextWidth > 0 && isVisible() && FUpdateCount == 0;
  if (run && FTimerId == 0) {
    FTimerId = startTimer(FInterval, Qt::PreciseTimer);
  } else if (!run && FTimerId != 0) {
    killTimer(FTimerId);
    FTimerId = 0;
  }
}

void TMarquee::Rebuild() {
  if (FUpdateCount > 0) {
    FDirty = true;
    UpdateTimer();
    return;
  }
  FDirty = false;
  const QString text = Text();
  const QFontMetrics metrics(font());
  FTextWidth = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
  const int h = std::max(1, height());
  if (FTextWidth > 0) {
    FImage = QImage(FTextWidth, h, QImage::Format_RGB32);
    FImage.fill(Qt::black);
    QPainter painter(&FImage);
    painter.setFont(font());
    painter.setPen(FColour);
    // Plain text on one baseline, centred in the row.
    const int baseline = (h - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(0, baseline, text);
  } else {
    FImage = QImage();
  }
  FOffset = std::min(FOffset, FTextWidth + width());
  FUploaded = false;
  UpdateTimer();
  Present(true);
}

void TMarquee::Step() {
  if (FTextWidth <= 0) return;
  FOffset += StepWidth;
  if (FOffset >= FTextWidth + width()) {
    FOffset = 0;
    Present(true);
    emit Wrapped();
    return;
  }
  Present(false);
}

void TMarquee::Present(bool full) {
  if (FUpdateCount > 0 || !isVisible()) return;
  if (FX11) X11Present(full);
  else update();
}

void TMarquee::paintEvent(QPaintEvent*) {
  if (FX11) {
    X11Present(true);
    return;
  }
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (FUpdateCount == 0 && !FImage.isNull()) painter.drawImage(width() - FOffset, 0, FImage);
}

void TMarquee::resizeEvent(QResizeEvent*) {
  if (FImage.isNull() || FImage.height() != std::max(1, height())) Rebuild();
  else Present(true);
}

void TMarquee::showEvent(QShowEvent*) { UpdateTimer(); }

void TMarquee::hideEvent(QHideEvent*) { UpdateTimer(); }

void TMarquee::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) Rebuild();
  QWidget::changeEvent(event);
}

void TMarquee::timerEvent(QTimerEvent* event) {
  if (event->timerId() == FTimerId) Step();
  else QWidget::timerEvent(event);
}

#ifdef ZENTRIX_HAVE_XCB

bool TMarquee::X11Ready() {
  auto* c = static_cast<xcb_connection_t*>(FConnection);
  if (FWindow == 0) {
    FWindow = static_cast<std::uint32_t>(winId());
    if (FWindow == 0) return false;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, FWindow), nullptr);
    if (geometry == nullptr) return false;
    FDepth = geometry->depth;
    free(geometry);
    // Our images are 32 bits per pixel, least significant byte first.
    const xcb_setup_t* setup = xcb_get_setup(c);
    bool usable = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it))
      if (it.data->depth == FDepth && it.data->bits_per_pixel == 32) usable = true;
    if (!usable || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || (FDepth != 24 && FDepth != 32)) {
      FX11 = false;
      setAttribute(Qt::WA_PaintOnScreen, false);
      update();
      return false;
    }
    FGc = xcb_generate_id(c);
    const std::uint32_t values[] = {0x000000u, 0u};
    xcb_create_gc(c, FGc, FWindow, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
  }
  if (!FUploaded) X11Upload();
  return true;
}

void TMarquee::X11Upload() {
  auto* c = static_cast<xcb_connection_t*>(FConnection);
  for (const TTile& tile : FTiles) xcb_free_pixmap(c, tile.Pixmap);
  FTiles.clear();
  FUploaded = true;
  if (FImage.isNull()) return;
  const int h = FImage.height();
  std::vector<std::uint32_t> buffer;
  for (int left = 0; left < FImage.width(); left += kTileWidth) {
    TTile tile{xcb_generate_id(c), left, std::min(kTileWidth, FImage.width() - left)};
    xcb_create_pixmap(c, FDepth, tile.Pixmap, FWindow, static_cast<std::uint16_t>(tile.Width),
                      static_cast<std::uint16_t>(h));
    for (int x = 0; x < tile.Width; x += kUploadColumns) {
      const int w = std::min(kUploadColumns, tile.Width - x);
      buffer.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
      for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(FImage.constScanLine(y)) + left + x;
        std::copy(row, row + w, buffer.begin() + static_cast<std::ptrdiff_t>(y) * w);
      }
      xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, tile.Pixmap, FGc, static_cast<std::uint16_t>(w),
                    static_cast<std::uint16_t>(h), static_cast<std::int16_t>(x), 0, 0, FDepth,
                    static_cast<std::uint32_t>(buffer.size() * sizeof(std::uint32_t)),
                    reinterpret_cast<const std::uint8_t*>(buffer.data()));
    }
    FTiles.push_back(tile);
  }
}

void TMarquee::X11Release() {
  if (FConnection == nullptr || FWindow == 0) return;
  auto* c = static_cast<xcb_connection_t*>(FConnection);
  for (const TTile& tile : FTiles) xcb_free_pixmap(c, tile.Pixmap);
  FTiles.clear();
  if (FGc != 0) xcb_free_gc(c, FGc);
  FGc = 0;
  xcb_flush(c);
}

void TMarquee::X11Present(bool full) {
  if (!FX11 || !X11Ready()) return;
  auto* c = static_cast<xcb_connection_t*>(FConnection);
  const int w = width();
  const int h = height();
  const int textLeft = w - FOffset;  // where the text's first column is
  const int textRight = textLeft + FTextWidth;
  std::vector<xcb_rectangle_t> blank;
  if (full) {
    if (textLeft > 0) blank.push_back({0, 0, static_cast<std::uint16_t>(std::min(textLeft, w)), static_cast<std::uint16_t>(h)});
  }
  // Right of the text: on a full paint all of it, else only the columns the last step uncovered.
  if (textRight < w) {
    const int from = full ? std::max(0, textRight) : std::max(0, textRight);
    const int to = full ? w : std::min(w, textRight + StepWidth);
    if (to > from)
      blank.push_back({static_cast<std::int16_t>(from), 0, static_cast<std::uint16_t>(to - from), static_cast<std::uint16_t>(h)});
  }
  if (!blank.empty())
    xcb_poly_fill_rectangle(c, FWindow, FGc, static_cast<std::uint32_t>(blank.size()), blank.data());
  for (const TTile& tile : FTiles) {
    const int destLeft = std::max({0, textLeft + tile.Left});
    const int destRight = std::min(w, textLeft + tile.Left + tile.Width);
    if (destRight <= destLeft) continue;
    xcb_copy_area(c, tile.Pixmap, FWindow, FGc, static_cast<std::int16_t>(destLeft - textLeft - tile.Left), 0,
                  static_cast<std::int16_t>(destLeft), 0, static_cast<std::uint16_t>(destRight - destLeft),
                  static_cast<std::uint16_t>(std::min(h, FImage.height())));
  }
  xcb_flush(c);
}

#else

bool TMarquee::X11Ready() { return false; }
void TMarquee::X11Upload() {}
void TMarquee::X11Release() {}
void TMarquee::X11Present(bool) {}

#endif

}  // namespace zentrix
