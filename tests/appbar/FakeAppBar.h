#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "appbar/AppBarWindow.h"
#include "platform/AppBarShell.h"

namespace zentrix::test {

// A desktop that keeps bars the way the shell does: each registered window may reserve one strip,
// each edge has at most one auto-hide bar, and a query leaves out the other bars' strips.
class TFakeAppBarShell : public TAppBarShell {
public:
  struct TBar {
    TAppBarNotifySink* Sink = nullptr;
    std::uint32_t Edge = abeFloat;
    TRect Reserved;
  };

  explicit TFakeAppBarShell(TRect screen = {0, 0, 1024, 768}) : FScreen(screen) {}

  std::uintptr_t SendAppBarMessage(TAppBarMessage message, TAppBarData& data) override {
    FSent.push_back(message);
    switch (message) {
      case TAppBarMessage::abmNew:
        if (FBars.count(data.Window)) return 0;
        FBars[data.Window].Sink = data.Callback;
        return 1;
      case TAppBarMessage::abmRemove:
        FBars.erase(data.Window);
        for (auto& [edge, window] : FAutoHide)
          if (window == data.Window) window = 0;
        return 1;
      case TAppBarMessage::abmQueryPos: data.Rect = LeaveOutOthers(data.Window, data.Rect); return 1;
      case TAppBarMessage::abmSetPos: {
        TBar& bar = FBars[data.Window];
        bar.Edge = data.Edge;
        bar.Reserved = data.Rect.IsEmpty() ? TRect{} : data.Rect;
        return 1;
      }
      case TAppBarMessage::abmGetAutoHideBar: return FAutoHide[data.Edge];
      case TAppBarMessage::abmSetAutoHideBar: {
        TNativeWindow& holder = FAutoHide[data.Edge];
        if (data.lParam != 0) {
          if (holder != 0 && holder != data.Window) return 0;
          holder = data.Window;
          return 1;
        }
        if (holder != data.Window) return 0;
        holder = 0;
        return 1;
      }
      case TAppBarMessage::abmActivate:
      case TAppBarMessage::abmWindowPosChanged: return 1;
    }
    return 0;
  }

  TRect PrimaryScreen() const override { return FScreen; }
  TRect WorkArea() const override { return LeaveOutOthers(0, FScreen); }
  void SetZOrder(TNativeWindow window, TAppBarZOrder order) override { FZOrder[window] = order; }
  void ShowTaskbarButton(TNativeWindow window, bool show) override { FTaskbarButton[window] = show; }

  // Tells every registered bar, as the desktop does.
  void Notify(TAppBarNotification code, std::intptr_t lParam) {
    std::vector<TAppBarNotifySink*> sinks;
    for (auto& [window, bar] : FBars)
      if (bar.Sink) sinks.push_back(bar.Sink);
    for (TAppBarNotifySink* sink : sinks) sink->AppBarNotify(code, lParam);
  }

  // Another program's bar that reserves a strip.
  void AddForeignBar(TNativeWindow window, TAppBarEdge edge, TRect strip) {
    FBars[window] = {nullptr, edge, strip};
  }

  TRect Reserved(TNativeWindow window) const {
    auto it = FBars.find(window);
    return it == FBars.end() ? TRect{} : it->second.Reserved;
  }
  bool IsRegistered(TNativeWindow window) const { return FBars.count(window) != 0; }

  TRect FScreen;
  std::map<TNativeWindow, TBar> FBars;
  std::map<std::uint32_t, TNativeWindow> FAutoHide;
  std::map<TNativeWindow, TAppBarZOrder> FZOrder;
  std::map<TNativeWindow, bool> FTaskbarButton;
  std::vector<TAppBarMessage> FSent;

private:
  TRect LeaveOutOthers(TNativeWindow self, TRect rect) const {
    for (const auto& [window, bar] : FBars) {
      if (window == self || bar.Reserved.IsEmpty()) continue;
      switch (bar.Edge) {
        case abeLeft: rect.Left = std::max(rect.Left, bar.Reserved.Right); break;
        case abeTop: rect.Top = std::max(rect.Top, bar.Reserved.Bottom); break;
        case abeRight: rect.Right = std::min(rect.Right, bar.Reserved.Left); break;
        case abeBottom: rect.Bottom = std::min(rect.Bottom, bar.Reserved.Top); break;
        default: break;
      }
    }
    return rect;
  }
};

// A window that records what the bar does to it. Its clock moves one frame per slide step.
class TFakeAppBarWindow : public TAppBarWindow {
public:
  explicit TFakeAppBarWindow(TNativeWindow handle, TRect bounds = {100, 100, 300, 140})
      : FHandle(handle), FBounds(bounds) {}

  TNativeWindow Handle() const override { return FHandle; }
  TRect Bounds() const override { return FBounds; }
  void SetBounds(const TRect& bounds) override {
    FBounds = bounds;
    FBoundsSet.push_back(bounds);
  }
  bool Framed() const override { return FFramed; }
  void SetFramed(bool framed) override {
    FFramed = framed;
    ++FFrameChanges;
  }
  bool IsActive() const override { return FActive; }
  bool IsShown() const override { return FShown; }
  bool DragFullWindows() const override { return FDragFullWindows; }
  std::int64_t TickMs() const override { return FTick; }
  void SlideFrameShown() override { FTick += FFrameMs; }
  void SetTimer(TAppBarTimer timer, std::int32_t intervalMs, bool enabled) override {
    FTimers[timer] = {intervalMs, enabled};
  }
  void Post(std::function<void()> task) override { FPosted.push_back(std::move(task)); }
  void ShowInformation(const std::string& text) override { FMessages.push_back(text); }

  void RunPosted() {
    while (!FPosted.empty()) {
      auto task = std::move(FPosted.front());
      FPosted.pop_front();
      task();
    }
  }

  struct TTimerState {
    std::int32_t Interval = 0;
    bool Enabled = false;
  };

  TNativeWindow FHandle;
  TRect FBounds;
  std::vector<TRect> FBoundsSet;
  bool FFramed = true;
  int FFrameChanges = 0;
  bool FActive = false;
  bool FShown = true;
  bool FDragFullWindows = true;
  std::int64_t FTick = 5000;
  std::int64_t FFrameMs = 100;
  std::map<TAppBarTimer, TTimerState> FTimers;
  std::deque<std::function<void()>> FPosted;
  std::vector<std::string> FMessages;
};

}  // namespace zentrix::test
