#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace zentrix {

// The desktop's registry of toolbars that reserve a strip along a screen edge. The operations
// keep the numbering and meaning of the Windows shell's desktop-toolbar messages, so the docking
// logic above reads the same on every desktop; platform/linux implements them with EWMH.

// A top-level window as the desktop knows it (an X11 window id).
using TNativeWindow = std::uint32_t;

enum TAppBarEdge : std::uint8_t {
  abeLeft = 0,
  abeTop = 1,
  abeRight = 2,
  abeBottom = 3,
  abeUnknown = 4,  // not registered
  abeFloat = 5,    // an ordinary window; also the edge value of messages that need none
};

inline bool IsDockedEdge(TAppBarEdge edge) { return edge <= abeBottom; }

enum class TAppBarMessage : std::uint32_t {
  abmNew = 0,
  abmRemove = 1,
  abmQueryPos = 2,
  abmSetPos = 3,
  abmActivate = 6,
  abmGetAutoHideBar = 7,
  abmSetAutoHideBar = 8,
  abmWindowPosChanged = 9,
};

enum class TAppBarNotification : std::uint32_t {
  abnStateChange = 0,
  abnPosChanged = 1,     // the reserved strips of the desktop changed
  abnFullScreenApp = 2,  // lParam != 0: a full-screen window became active; 0: none is any more
  abnWindowArrange = 3,
};

// Receives the desktop's notifications for one registered bar.
class TAppBarNotifySink {
public:
  virtual ~TAppBarNotifySink() = default;
  virtual void AppBarNotify(TAppBarNotification code, std::intptr_t lParam) = 0;
};

struct TAppBarData {
  TNativeWindow Window = 0;
  TAppBarNotifySink* Callback = nullptr;  // abmNew: where notifications go
  std::uint32_t Edge = abeFloat;
  TRect Rect;
  std::intptr_t lParam = 0;
};

enum class TAppBarZOrder { azTopmost, azBottom, azNoTopmost };

class TAppBarShell {
public:
  virtual ~TAppBarShell() = default;

  // Answers:
  //   abmNew             1 when registered, 0 when the window already was (or cannot be)
  //   abmRemove          1
  //   abmQueryPos        1; Rect shrunk so that it leaves out the strips other bars reserve
  //   abmSetPos          1; reserves Rect along Edge (an empty Rect reserves nothing)
  //   abmGetAutoHideBar  the window that auto-hides on Edge, 0 when none
  //   abmSetAutoHideBar  lParam != 0: 1 when Window now is Edge's only auto-hide bar, 0 when
  //                      another holds the edge; lParam 0: 1 when Window held it and let go
  //   abmActivate, abmWindowPosChanged  1
  virtual std::uintptr_t SendAppBarMessage(TAppBarMessage message, TAppBarData& data) = 0;

  // The primary screen in root coordinates, and the part of it no bar reserves.
  virtual TRect PrimaryScreen() const = 0;
  virtual TRect WorkArea() const = 0;

  // Stacking and taskbar presence of a top-level window, which the desktop decides.
  virtual void SetZOrder(TNativeWindow window, TAppBarZOrder order) = 0;
  virtual void ShowTaskbarButton(TNativeWindow window, bool show) = 0;
};

}  // namespace zentrix
