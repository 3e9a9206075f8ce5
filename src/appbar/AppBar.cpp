#include "appbar/AppBar.h"

#include <cstdlib>

namespace zentrix {
namespace {

bool IsSizingAnswer(THitTest h) { return h >= THitTest::htLeft && h <= THitTest::htBottomRight; }

// A value moving from v0 to v1 at t of span ms; integer division as the step arithmetic has it.
std::int32_t SlideValue(std::int32_t v0, std::int32_t v1, std::int64_t t, std::int64_t span) {
  return static_cast<std::int32_t>(v0 - t * (std::int64_t{v0} - v1) / span);
}

}  // namespace

TAppBar::TAppBar(TAppBarShell& shell, TAppBarWindow& window, const TInterfaceTexts& texts, TAppBarMetrics metrics)
    : FShell(shell), FWindow(window), FTexts(texts), FMetrics(metrics) {
  const TRect screen = FShell.PrimaryScreen();
  FABS = DefaultAppBarSettings({screen.Width(), screen.Height()});
}

std::uintptr_t TAppBar::Send(TAppBarMessage message, std::uint32_t edge, TRect* rect, std::intptr_t lParam) {
  TAppBarData data;
  data.Window = FWindow.Handle();
  data.Callback = this;
  data.Edge = edge;
  if (rect) data.Rect = *rect;
  data.lParam = lParam;
  const std::uintptr_t result = FShell.SendAppBarMessage(message, data);
  if (rect) *rect = data.Rect;
  return result;
}

TAppBarEdge TAppBar::Edge() const { return FabEdgeProposedPrev != abeUnknown ? FabEdgeProposedPrev : FABS.abEdge; }

void TAppBar::SetSlideTime(std::int32_t ms) {
  FABS.nTimerInterval = ms;
  FWindow.SetTimer(TAppBarTimer::attCheck, ms, FCheckTimerEnabled);
}

void TAppBar::SetReactionTime(std::int32_t ms) {
  FReactionTime = ms;
  FWindow.SetTimer(TAppBarTimer::attReaction, ms, FReactionTimerEnabled);
}

void TAppBar::SetEdge(TAppBarEdge state) {
  for (std::uint32_t edge = abeLeft; edge <= abeBottom; ++edge) {
    if (Send(TAppBarMessage::abmGetAutoHideBar, edge) == FWindow.Handle()) {
      Send(TAppBarMessage::abmSetAutoHideBar, edge, nullptr, 0);
      break;
    }
  }

  FABS.abEdge = state;
  if (state == abeUnknown) {
    Send(TAppBarMessage::abmRemove, abeFloat);
  } else if (state == abeFloat) {
    TRect none;
    Send(TAppBarMessage::abmSetPos, abeFloat, &none);
    FWindow.SetBounds(FABS.rcFloat);
  } else {
    if (FABS.bAutohide && Send(TAppBarMessage::abmSetAutoHideBar, state, nullptr, 1) == 0) {
      FABS.bAutohide = false;
      ShowAutoHideRefused();
    }
    TRect rect;
    GetDockRect(state, rect);
    if (FABS.bAutohide) {
      TRect none;
      Send(TAppBarMessage::abmSetPos, abeLeft, &none);
    } else {
      Send(TAppBarMessage::abmSetPos, state, &rect);
    }
    AdjustForAutoHide(FbAutoHideIsVisible, rect);
    SlideTo(rect);
  }

  if (FABS.bAlwaysOnTop)
    FShell.SetZOrder(FWindow.Handle(), FbFullScreenAppOpen ? TAppBarZOrder::azBottom : TAppBarZOrder::azTopmost);
  else
    FShell.SetZOrder(FWindow.Handle(), TAppBarZOrder::azNoTopmost);

  Send(TAppBarMessage::abmActivate, abeFloat);
  StyleForState(false, state);

  switch (FABS.abTaskEntry) {
    case abtShow: FShell.ShowTaskbarButton(FWindow.Handle(), true); break;
    case abtHide: FShell.ShowTaskbarButton(FWindow.Handle(), false); break;
    case abtFloatDependent:
      if (state != abeUnknown) FShell.ShowTaskbarButton(FWindow.Handle(), state == abeFloat);
      break;
  }
}

void TAppBar::GetDockRect(TAppBarEdge state, TRect& rect) const {
  if (!IsDockedEdge(state)) return;
  rect = FShell.PrimaryScreen();
  if (!FABS.bAutohide) {
    // QueryPos only reports; asking it changes nothing, so a const bar may ask.
    TAppBarData data;
    data.Window = FWindow.Handle();
    data.Edge = state;
    data.Rect = rect;
    FShell.SendAppBarMessage(TAppBarMessage::abmQueryPos, data);
    rect = data.Rect;
  }
  switch (state) {
    case abeLeft: rect.Right = rect.Left + FABS.szDockSize.cx; break;
    case abeTop: rect.Bottom = rect.Top + FABS.szDockSize.cy; break;
    case abeRight: rect.Left = rect.Right - FABS.szDockSize.cx; break;
    case abeBottom: rect.Top = rect.Bottom - FABS.szDockSize.cy; break;
    default: break;
  }
}

bool TAppBar::AdjustForAutoHide(bool show, TRect& rect) const {
  if (!IsDockedEdge(FABS.abEdge) || !FABS.bAutohide) return false;
  const TRect screen = FShell.PrimaryScreen();
  const std::int32_t sliverX = 2 * FMetrics.BorderX, sliverY = 2 * FMetrics.BorderY;
  const std::int32_t w = rect.Width(), h = rect.Height();
  switch (FABS.abEdge) {
    case abeLeft: rect = rect.MovedTo(show ? 0 : sliverX - w, 0); break;
    case abeTop: rect = rect.MovedTo(0, show ? 0 : sliverY - h); break;
    case abeRight: rect = rect.MovedTo(show ? screen.Width() - w : screen.Width() - sliverX, 0); break;
    case abeBottom: rect = rect.MovedTo(0, show ? screen.Height() - h : screen.Height() - sliverY); break;
    default: break;
  }
  return true;
}

void TAppBar::SetAutoHideVisible(bool show) {
  TRect rect = FWindow.Bounds();
  FbAutoHideIsVisible = true;
  if (AdjustForAutoHide(show, rect)) {
    FbAutoHideIsVisible = show;
    SlideTo(rect);
  }
}

void TAppBar::SlideTo(const TRect& target) {
  const TRect from = FWindow.Bounds();
  const std::int64_t span = FABS.nTimerInterval;
  if (FABS.bSlideEffect && target != from && span > 0 && FWindow.IsShown()) {
    const std::int64_t start = FWindow.TickMs();
    for (std::int64_t t = 0; t < span; t = FWindow.TickMs() - start) {
      const std::int32_t left = SlideValue(from.Left, target.Left, t, span);
      const std::int32_t top = SlideValue(from.Top, target.Top, t, span);
      const std::int32_t width = SlideValue(from.Width(), target.Width(), t, span);
      const std::int32_t height = SlideValue(from.Height(), target.Height(), t, span);
      FWindow.SetBounds({left, top, left + width, top + height});
      FWindow.SlideFrameShown();
    }
  }
  FWindow.SetBounds(target);
}

void TAppBar::StyleForState(bool proposedOnly, TAppBarEdge state) {
  if (proposedOnly && !FWindow.DragFullWindows()) return;
  const bool framed = state == abeFloat;
  if (FWindow.Framed() != framed) FWindow.SetFramed(framed);
}

std::string TAppBar::AutoHideRefusedText(const TInterfaceTexts& texts) {
  return texts.Get("lc_AutoHideRefused",
                   "There is already an auto hidden window on this edge.\n\r"
                   "Only one auto hidden window is allowed on each edge.");
}

void TAppBar::ShowAutoHideRefused() { FWindow.ShowInformation(AutoHideRefusedText(FTexts)); }

void TAppBar::FullScreenAppNotify(bool open) {
  FbFullScreenAppOpen = open;
  UpdateBar();
}

void TAppBar::PositionChangedNotify() {
  if (FABS.abEdge != abeFloat && !FABS.bAutohide) UpdateBar();
}

void TAppBar::WindowArrangeNotify(bool /*beginning*/) {}

void TAppBar::UpdateBar() { SetEdge(Edge()); }

bool TAppBar::LoadSettings() {
  if (FSettingsFile.empty()) return false;
  const std::optional<TAppBarSettings> stored = ReadAppBarSettingsFile(FSettingsFile);
  if (!stored) return false;
  FABS = *stored;
  return true;
}

bool TAppBar::SaveSettings() {
  if (FSettingsFile.empty()) return false;
  return WriteAppBarSettingsFile(FSettingsFile, FABS);
}

void TAppBar::Create() {
  FCheckTimerEnabled = true;
  FWindow.SetTimer(TAppBarTimer::attCheck, FABS.nTimerInterval, true);
  FReactionTimerEnabled = false;
  FWindow.SetTimer(TAppBarTimer::attReaction, FReactionTime, false);
  // The floating rectangle keeps its size and starts where the window is.
  const TRect bounds = FWindow.Bounds();
  FABS.rcFloat = FABS.rcFloat.MovedTo(bounds.Left, bounds.Top);
  Send(TAppBarMessage::abmNew, abeFloat);
  UpdateBar();
  // Once the loop runs, an empty move records the sizes and docks again with them.
  FWindow.Post([this] {
    EnterSizeMove();
    ExitSizeMove();
  });
}

void TAppBar::Destroy() {
  FCheckTimerEnabled = false;
  FWindow.SetTimer(TAppBarTimer::attCheck, FABS.nTimerInterval, false);
  FReactionTimerEnabled = false;
  FWindow.SetTimer(TAppBarTimer::attReaction, FReactionTime, false);
  if (!FABS.bSaveSettings) {
    // Write back what is stored, so that a run that was not to save changes nothing.
    LoadSettings();
    FABS.bSaveSettings = false;
  }
  SaveSettings();
  SetEdge(abeUnknown);
}

void TAppBar::AppBarNotify(TAppBarNotification code, std::intptr_t lParam) {
  switch (code) {
    case TAppBarNotification::abnPosChanged: PositionChangedNotify(); break;
    case TAppBarNotification::abnFullScreenApp: FullScreenAppNotify(lParam != 0); break;
    case TAppBarNotification::abnWindowArrange: WindowArrangeNotify(lParam != 0); break;
    case TAppBarNotification::abnStateChange: break;
  }
}

void TAppBar::CheckTimerFired(TPoint cursor) {
  const TRect bounds = FWindow.Bounds();
  const std::int32_t dx = 2 * FMetrics.DoubleClickX, dy = 2 * FMetrics.DoubleClickY;
  const TRect near{bounds.Left - dx, bounds.Top - dy, bounds.Right + dx, bounds.Bottom + dy};
  if (!FWindow.IsActive() && !near.Contains(cursor)) SetAutoHideVisible(false);
}

void TAppBar::ReactionTimerFired() {
  SetAutoHideVisible(true);
  FReactionTimerEnabled = false;
  FWindow.SetTimer(TAppBarTimer::attReaction, FReactionTime, false);
}

void TAppBar::NcMouseMove() {
  FReactionTimerEnabled = !FbAutoHideIsVisible;
  FWindow.SetTimer(TAppBarTimer::attReaction, FReactionTime, FReactionTimerEnabled);
}

void TAppBar::Activated(bool active) {
  if (!active) SetAutoHideVisible(false);
  Send(TAppBarMessage::abmActivate, abeFloat);
}

void TAppBar::WindowPosChanged() { Send(TAppBarMessage::abmWindowPosChanged, abeFloat); }

THitTest TAppBar::NcHitTest(THitTest answer, TPoint cursor, const TRect& client, bool primaryButtonDown,
                            bool childUnderCursor) const {
  if (primaryButtonDown && answer == THitTest::htClient && !childUnderCursor) return THitTest::htCaption;
  if (!IsSizingAnswer(answer)) return answer;
  const bool sizeX = FABS.szSizeInc.cx != 0, sizeY = FABS.szSizeInc.cy != 0;

  if (FABS.abEdge == abeFloat) {
    switch (answer) {
      case THitTest::htLeft:
      case THitTest::htRight: return sizeX ? answer : THitTest::htBorder;
      case THitTest::htTop:
      case THitTest::htBottom: return sizeY ? answer : THitTest::htBorder;
      default: break;
    }
    if (sizeX && sizeY) return answer;
    if (!sizeX && !sizeY) return THitTest::htBorder;
    const bool top = answer == THitTest::htTopLeft || answer == THitTest::htTopRight;
    const bool left = answer == THitTest::htTopLeft || answer == THitTest::htBottomLeft;
    if (sizeX) return left ? THitTest::htLeft : THitTest::htRight;
    return top ? THitTest::htTop : THitTest::htBottom;
  }

  switch (FABS.abEdge) {
    case abeLeft:
      if (sizeX && cursor.X >= client.Right) return THitTest::htRight;
      break;
    case abeTop:
      if (sizeY && cursor.Y >= client.Bottom) return THitTest::htBottom;
      break;
    case abeRight:
      if (sizeX && cursor.X < client.Left) return THitTest::htLeft;
      break;
    case abeBottom:
      if (sizeY && cursor.Y < client.Top) return THitTest::htTop;
      break;
    default: break;
  }
  return THitTest::htBorder;
}

void TAppBar::EnterSizeMove() { FabEdgeProposedPrev = FABS.abEdge; }

TAppBarEdge TAppBar::ProposeState(TPoint cursor, bool ctrlHeld) const {
  if (ctrlHeld && (FABS.abFlags & abfAllowFloat)) return abeFloat;
  return EdgeFromPoint(FABS.abFlags, cursor);
}

TAppBarEdge TAppBar::EdgeFromPoint(std::uint8_t flags, TPoint point) const {
  const bool floatAllowed = (flags & abfAllowFloat) != 0;
  if (floatAllowed) {
    const TRect work = FShell.WorkArea();
    const TRect inner{work.Left + FMetrics.VScrollWidth, work.Top + FMetrics.HScrollHeight,
                      work.Right - FMetrics.VScrollWidth, work.Bottom - FMetrics.HScrollHeight};
    if (inner.Contains(point) || (flags & kAppBarAllEdgeFlags) == 0) return abeFloat;
  }
  const TRect screen = FShell.PrimaryScreen();
  const std::int64_t w = screen.Width(), h = screen.Height();
  const std::int64_t dx = point.X - (screen.Left + w / 2), dy = point.Y - (screen.Top + h / 2);
  TAppBarEdge edge;
  if (w * std::llabs(dy) <= h * std::llabs(dx))
    edge = dx >= 0 ? abeRight : abeLeft;
  else
    edge = dy >= 0 ? abeBottom : abeTop;
  if (flags & (1u << edge)) return edge;
  return floatAllowed ? abeFloat : FABS.abEdge;
}

void TAppBar::Moving(TPoint cursor, bool ctrlHeld, TRect& dragRect) {
  const TAppBarEdge proposal = ProposeState(cursor, ctrlHeld);
  if (FabEdgeProposedPrev != abeFloat && proposal == abeFloat) {
    const std::int32_t w = FABS.rcFloat.Width(), h = FABS.rcFloat.Height();
    dragRect = {cursor.X - w / 2, cursor.Y, cursor.X - w / 2 + w, cursor.Y + h};
  }
  FabEdgeProposedPrev = proposal;
  GetDockRect(proposal, dragRect);
  StyleForState(true, proposal);
}

void TAppBar::ExitSizeMove() {
  const TAppBarEdge before = FABS.abEdge;
  // Without a move under way there is no proposal: the bar stays where it is.
  const TAppBarEdge proposal = FabEdgeProposedPrev != abeUnknown ? FabEdgeProposedPrev : before;
  FabEdgeProposedPrev = abeUnknown;
  const TRect bounds = FWindow.Bounds();
  if (proposal == before) {
    if (proposal == abeTop || proposal == abeBottom) FABS.szDockSize.cy = bounds.Height();
    if (proposal == abeLeft || proposal == abeRight) FABS.szDockSize.cx = bounds.Width();
  }
  if (proposal == abeFloat) {
    if (before == abeFloat) {
      FABS.rcFloat = bounds;
    } else {
      const TRect work = FShell.WorkArea();
      if (bounds.Width() >= work.Width() || bounds.Height() >= work.Height())
        FABS.rcFloat = FABS.rcFloat.MovedTo(bounds.Left, bounds.Top);
      else
        FABS.rcFloat = bounds;
    }
  }
  SetEdge(proposal);
}

void TAppBar::Sizing(TSizingSide side, TRect& rect) const {
  const TSize minimum =
      FABS.abEdge == abeFloat ? TSize{FABS.nMinWidth, FABS.nMinHeight} : FABS.szMinDockSize;
  const auto step = [](std::int32_t size, std::int32_t min, std::int32_t inc) {
    return inc == 0 ? size : min + inc * ((size + inc / 2 - min) / inc);
  };
  const std::int32_t w = step(rect.Width(), minimum.cx, FABS.szSizeInc.cx);
  const std::int32_t h = step(rect.Height(), minimum.cy, FABS.szSizeInc.cy);
  switch (side) {
    case TSizingSide::szsLeft: rect.Left = rect.Right - w; break;
    case TSizingSide::szsRight: rect.Right = rect.Left + w; break;
    case TSizingSide::szsTop: rect.Top = rect.Bottom - h; break;
    case TSizingSide::szsBottom: rect.Bottom = rect.Top + h; break;
    case TSizingSide::szsTopLeft: rect.Left = rect.Right - w, rect.Top = rect.Bottom - h; break;
    case TSizingSide::szsTopRight: rect.Right = rect.Left + w, rect.Top = rect.Bottom - h; break;
    case TSizingSide::szsBottomLeft: rect.Left = rect.Right - w, rect.Bottom = rect.Top + h; break;
    case TSizingSide::szsBottomRight: rect.Right = rect.Left + w, rect.Bottom = rect.Top + h; break;
  }
}

TMinMaxInfo TAppBar::GetMinMaxInfo() const {
  if (FABS.abEdge == abeFloat)
    return {{FABS.nMinWidth, FABS.nMinHeight}, {FABS.nMaxWidth, FABS.nMaxHeight}};
  const TRect screen = FShell.PrimaryScreen();
  TMinMaxInfo info{FABS.szMinDockSize, {screen.Width(), screen.Height()}};
  if (FABS.abEdge != abeTop && FABS.abEdge != abeBottom) info.MaxTrackSize.cx = FABS.szMaxDockSize.cx;
  if (FABS.abEdge != abeLeft && FABS.abEdge != abeRight) info.MaxTrackSize.cy = FABS.szMaxDockSize.cy;
  return info;
}

}  // namespace zentrix
