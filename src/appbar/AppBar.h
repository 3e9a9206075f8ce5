#pragma once

#include <cstdint>
#include <filesystem>

#include "appbar/AppBarSettings.h"
#include "appbar/AppBarWindow.h"
#include "core/InterfaceTexts.h"
#include "platform/AppBarShell.h"
#include "platform/Geometry.h"

namespace zentrix {

// Desktop metrics the docking arithmetic uses, in pixels.
struct TAppBarMetrics {
  std::int32_t BorderX = 1;       // an auto-hidden bar keeps two borders on screen
  std::int32_t BorderY = 1;
  std::int32_t DoubleClickX = 4;  // the double-click rectangle; twice it around the bar is its
  std::int32_t DoubleClickY = 4;  // neighbourhood, where the pointer keeps a shown bar out
  std::int32_t VScrollWidth = 17;  // how near a screen edge a drag must end to dock there
  std::int32_t HScrollHeight = 17;
};

// Answers to "what part of the window is under the cursor", as the window's frame handles them.
enum class THitTest {
  htNowhere, htClient, htCaption, htBorder,
  htLeft, htRight, htTop, htTopLeft, htTopRight, htBottom, htBottomLeft, htBottomRight,
};

// The side or corner dragged while sizing.
enum class TSizingSide { szsLeft = 1, szsRight, szsTop, szsTopLeft, szsTopRight, szsBottom, szsBottomLeft, szsBottomRight };

struct TMinMaxInfo {
  TSize MinTrackSize;
  TSize MaxTrackSize;
  friend bool operator==(const TMinMaxInfo&, const TMinMaxInfo&) = default;
};

// A window docked along a screen edge as a desktop toolbar: the desktop keeps other windows out
// of its strip. It can float as an ordinary window, hide along its edge and slide in when the
// mouse touches it, and follows the desktop's notifications. All of it is driven by the window's
// owner through the handlers below, in the order the window's events arrive.
class TAppBar : public TAppBarNotifySink {
public:
  TAppBar(TAppBarShell& shell, TAppBarWindow& window, const TInterfaceTexts& texts,
          TAppBarMetrics metrics = {});
  ~TAppBar() override = default;
  TAppBar(const TAppBar&) = delete;
  TAppBar& operator=(const TAppBar&) = delete;

  // The record and its plain properties; changes take effect at the next UpdateBar.
  TAppBarSettings& ABS() { return FABS; }
  const TAppBarSettings& ABS() const { return FABS; }

  // The proposed state while a drag is under way, else the current state.
  TAppBarEdge Edge() const;
  void SetEdge(TAppBarEdge state);
  // The slide time is also the check timer's interval.
  std::int32_t SlideTime() const { return FABS.nTimerInterval; }
  void SetSlideTime(std::int32_t ms);
  std::int32_t ReactionTime() const { return FReactionTime; }
  void SetReactionTime(std::int32_t ms);
  // Where LoadSettings and SaveSettings keep the record; nothing is kept while it is empty.
  const std::filesystem::path& SettingsFile() const { return FSettingsFile; }
  void SetSettingsFile(std::filesystem::path file) { FSettingsFile = std::move(file); }

  bool AutoHideIsVisible() const { return FbAutoHideIsVisible; }
  bool FullScreenAppOpen() const { return FbFullScreenAppOpen; }

  virtual void StyleForState(bool proposedOnly, TAppBarEdge state);
  virtual void ShowAutoHideRefused();
  virtual void FullScreenAppNotify(bool open);
  virtual void PositionChangedNotify();
  virtual void WindowArrangeNotify(bool beginning);
  virtual void UpdateBar();
  virtual bool LoadSettings();
  virtual bool SaveSettings();

  // The window was created (before it is first shown): timers, registration, docking. It also
  // posts a task to the window that refers to this bar: the bar must outlive the window's loop.
  void Create();
  // The window is going away: stores the record and unregisters.
  void Destroy();

  // The strip of a docked state (the rectangle stays as it is for floating).
  void GetDockRect(TAppBarEdge state, TRect& rect) const;
  // Moves rect, keeping its size, fully onto the screen (show) or so that only a sliver of two
  // borders stays on it (hide). False, and rect untouched, unless the bar is docked with auto hide.
  bool AdjustForAutoHide(bool show, TRect& rect) const;
  void SetAutoHideVisible(bool show);
  // Moves the window to target, sliding there over the slide time when the effect is on.
  void SlideTo(const TRect& target);
  TAppBarEdge ProposeState(TPoint cursor, bool ctrlHeld) const;
  TAppBarEdge EdgeFromPoint(std::uint8_t flags, TPoint point) const;

  // Window events.
  void AppBarNotify(TAppBarNotification code, std::intptr_t lParam) override;
  void CheckTimerFired(TPoint cursor);
  void ReactionTimerFired();
  void NcMouseMove();
  void Activated(bool active);
  void WindowPosChanged();
  THitTest NcHitTest(THitTest defaultAnswer, TPoint cursor, const TRect& clientRect, bool primaryButtonDown,
                     bool childUnderCursor) const;
  void EnterSizeMove();
  void Moving(TPoint cursor, bool ctrlHeld, TRect& dragRect);
  void ExitSizeMove();
  void Sizing(TSizingSide side, TRect& rect) const;
  TMinMaxInfo GetMinMaxInfo() const;

  // The refusal text, in the interface language.
  static std::string AutoHideRefusedText(const TInterfaceTexts& texts);

private:
  std::uintptr_t Send(TAppBarMessage message, std::uint32_t edge, TRect* rect = nullptr, std::intptr_t lParam = 0);

  TAppBarShell& FShell;
  TAppBarWindow& FWindow;
  const TInterfaceTexts& FTexts;
  TAppBarMetrics FMetrics;
  TAppBarSettings FABS;
  TAppBarEdge FabEdgeProposedPrev = abeUnknown;
  bool FbFullScreenAppOpen = false;
  bool FbAutoHideIsVisible = false;
  std::int32_t FReactionTime = 1000;
  bool FCheckTimerEnabled = false;
  bool FReactionTimerEnabled = false;
  std::filesystem::path FSettingsFile;
};

}  // namespace zentrix
