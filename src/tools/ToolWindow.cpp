#include "tools/ToolWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <optional>
#include <utility>

#include "core/Exceptions.h"
#include "platform/WindowStates.h"
#include "settings/WindowPlacement.h"
#include "tools/ToolWindowGeometry.h"

namespace zentrix {
namespace {

// How long the window must stay put before a move counts as finished and may snap.
constexpr int kMoveSettleMs = 200;
// Coordinates and sizes an X11 window can have; a stored placement beyond them is not restored.
constexpr int kMaxCoordinate = 32767;

TRect ToRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

TDisplayConnection X11Connection() {
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) return x11->connection();
  return nullptr;
}

bool Restorable(const TWindowPlacement& p) {
  const auto coordinate = [](int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
  const long width = static_cast<long>(p.Right) - p.Left;
  const long height = static_cast<long>(p.Bottom) - p.Top;
  return coordinate(p.Left) && coordinate(p.Top) && width > 0 && height > 0 && width <= kMaxCoordinate &&
         height <= kMaxCoordinate;
}

bool PlainEscape(const QKeyEvent& event) {
  return event.key() == Qt::Key_Escape &&
         (event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

}  // namespace

TToolWindow::TToolWindow(QWidget* owner, TSettingsStore& store, std::string storagePath, const QString& className,
                         const QString& caption, QSize clientSize)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FStore(store),
      FStoragePath(std::move(storagePath)) {
  setObjectName(className);
  setWindowTitle(caption);
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(clientSize);
  FMoveSettle.setSingleShot(true);
  FMoveSettle.setInterval(kMoveSettleMs);
  connect(&FMoveSettle, &QTimer::timeout, this, [this] { MoveSettled(); });
  qApp->installEventFilter(this);
}

TToolWindow::~TToolWindow() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

void TToolWindow::ShowWindow() {
  if (!FRestored) {
    FRestored = true;
    RestoreSettings();
  }
  if (!isVisible()) {
    // Before the first map the window manager's frame is not known yet; the check runs again
    // once the window has settled inside it.
    FFrameCheckPending = frameGeometry() == geometry();
    FormShow();
    show();
    FMoveSettle.start();
  } else if (isMinimized()) {
    // Without a taskbar entry this is the only way back.
    setWindowState(windowState() & ~Qt::WindowMinimized);
  }
  raise();
  activateWindow();
}

void TToolWindow::RestoreSettings() {
  std::optional<TWindowPlacement> placement;
  try {
    placement = RestorePlacement(FStore, FStoragePath);
  } catch (const EZentrixError&) {
    // An unreadable placement is as good as none.
  }
  if (placement && Restorable(*placement)) {
    const QRect r(placement->Left, placement->Top, placement->Right - placement->Left,
                  placement->Bottom - placement->Top);
    setGeometry(r);
    FPlacedAt = r.topLeft();
    FPlaced = true;
    if (placement->ShowCmd == 3) setWindowState(Qt::WindowMaximized);
  } else if (QScreen* primary = QGuiApplication::primaryScreen()) {
    const TRect r = CentredRect({width(), height()}, ToRect(primary->geometry()));
    setGeometry(r.Left, r.Top, r.Width(), r.Height());
    FPlacedAt = QPoint(r.Left, r.Top);
    FPlaced = true;
  }
  try {
    RestoreProperties(FStore, PlacementSection(FStoragePath));
  } catch (const EZentrixError&) {
    // The window keeps its own defaults for what it cannot read.
  }
}

void TToolWindow::SaveSettings() {
  if (!FRestored) return;
  TWindowPlacement p;
  // A minimised tool window has no taskbar entry to bring it back, so it is stored as normal.
  p.ShowCmd = isMaximized() ? 3 : 1;
  p.PixelsPerInch = logicalDpiY();
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  p.Left = normal.left();
  p.Top = normal.top();
  p.Right = normal.left() + normal.width();
  p.Bottom = normal.top() + normal.height();
  SavePlacement(FStore, FStoragePath, p);
  SaveProperties(FStore, PlacementSection(FStoragePath));
}

void TToolWindow::SaveAndWrite() {
  try {
    SaveSettings();
    FStore.Flush();
  } catch (const EZentrixError&) {
    // Kept in memory; the next save writes it.
  }
}

void TToolWindow::ScreenCheck() {
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return;
  const TRect frame = ToRect(frameGeometry());
  const TRect checked = ScreenCheckRect(frame, ToRect(primary->geometry()));
  if (checked != frame) MoveFrameTo(QPoint(checked.Left, checked.Top));
}

void TToolWindow::MoveFrameTo(QPoint topLeft) {
  FPlacedAt = topLeft + (geometry().topLeft() - frameGeometry().topLeft());
  FPlaced = true;
  move(topLeft);
}

void TToolWindow::MoveSettled() {
  if (!isVisible()) return;
  if (PointerButtonHeld(X11Connection())) {
    FMoveSettle.start();
    return;
  }
  if (FFrameCheckPending) {
    FFrameCheckPending = false;
    if (FScreenCheckOnShow) ScreenCheck();
  }
  if (FPlaced && geometry().topLeft() == FPlacedAt) return;
  // Moved by someone else than this code: the user dragging it, or the window manager.
  QScreen* where = screen();
  if (where == nullptr || isMaximized()) return;
  const TRect frame = ToRect(frameGeometry());
  const TRect snapped = SnapToEdges(frame, ToRect(where->availableGeometry()));
  if (snapped != frame) {
    MoveFrameTo(QPoint(snapped.Left, snapped.Top));
  } else {
    FPlacedAt = geometry().topLeft();
    FPlaced = true;
  }
}

void TToolWindow::setVisible(bool visible) {
  if (visible && !isVisible()) {
    if (TDisplayConnection display = X11Connection()) SkipTaskbarAndPager(display, static_cast<TNativeWindow>(winId()));
  }
  QWidget::setVisible(visible);
}

void TToolWindow::FormShow() {
  if (FScreenCheckOnShow) ScreenCheck();
}

void TToolWindow::EscapePressed() { close(); }

bool TToolWindow::FormKeyDown(QKeyEvent&) { return false; }

void TToolWindow::RestoreProperties(TSettingsStore&, std::string_view) {}

void TToolWindow::SaveProperties(TSettingsStore&, std::string_view) {}

bool TToolWindow::PreviewKey(QKeyEvent& event) {
  if (PlainEscape(event)) {
    EscapePressed();
    return true;
  }
  return FormKeyDown(event);
}

bool TToolWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate:
      SaveAndWrite();
      break;
    case QEvent::Move:
      if (isVisible()) FMoveSettle.start();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

bool TToolWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  if (target->window() != this) return false;
  // A key press first goes to the focused control (or to the window when none has the focus);
  // the same event passed on to the control's parents is not previewed again.
  QWidget* first = focusWidget() != nullptr ? focusWidget() : this;
  if (target != first) return false;
  return PreviewKey(*static_cast<QKeyEvent*>(event));
}

void TToolWindow::keyPressEvent(QKeyEvent* event) {
  // A key sent to a control other than the focused one and left unhandled there ends up here.
  if (PlainEscape(*event)) {
    EscapePressed();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TToolWindow::closeEvent(QCloseEvent* event) {
  SaveAndWrite();
  event->accept();  // hides; the window lives until the bar goes
}

}  // namespace zentrix
