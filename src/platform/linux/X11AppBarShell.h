#pragma once

#include <cstdint>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include "platform/AppBarShell.h"
#include "platform/linux/NetWmStrut.h"

namespace zentrix {

// The desktop-toolbar shell on an EWMH window manager. A registered window becomes a dock on
// every desktop, sticky, without taskbar or pager entry; the strip it docks in is published as
// its _NET_WM_STRUT and _NET_WM_STRUT_PARTIAL (zero while it auto-hides or floats), and the
// window manager moves _NET_WORKAREA for it. The one auto-hide bar of each edge is recorded on
// the root window, so that bars of other programs see it too.
//
// Register a window (abmNew) before it is first mapped: window managers read the dock type only
// when they take a window on. Feed every event of the connection to HandleEvent: it turns
// changes of the work area and of the active window's full-screen state into notifications.
// Requests are checked; a request the X server refuses makes its message answer 0.
class TX11AppBarShell : public TAppBarShell {
public:
  // Uses the open connection (not taken over) and its screen screenNumber. Throws EAppBarError
  // when the connection has failed.
  explicit TX11AppBarShell(xcb_connection_t* connection, int screenNumber = 0);
  ~TX11AppBarShell() override;
  TX11AppBarShell(const TX11AppBarShell&) = delete;
  TX11AppBarShell& operator=(const TX11AppBarShell&) = delete;

  std::uintptr_t SendAppBarMessage(TAppBarMessage message, TAppBarData& data) override;
  TRect PrimaryScreen() const override;
  TRect WorkArea() const override;
  void SetZOrder(TNativeWindow window, TAppBarZOrder order) override;
  void ShowTaskbarButton(TNativeWindow window, bool show) override;

  // True when the event was one this shell watches for (it may still matter to the caller).
  bool HandleEvent(const xcb_generic_event_t* event);

  // The root-window property that lists the auto-hide bar of each edge (left, top, right, bottom).
  static constexpr const char* kAutoHideProperty = "_ZENTRIX_APPBAR_AUTOHIDE";
  // The root-window property naming the last bar whose reserved strip changed.
  static constexpr const char* kChangedProperty = "_ZENTRIX_APPBAR_CHANGED";

private:
  struct TBar {
    TAppBarNotifySink* Sink = nullptr;
    TNetWmStrut Strut;
    std::uint64_t Order = 0;  // registration order within this program
  };

  bool Check(xcb_void_cookie_t cookie) const;
  bool IsMapped(xcb_window_t window) const;
  bool Exists(xcb_window_t window) const;
  std::vector<std::uint32_t> GetCardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const;
  // The 32-bit values of a property reply of the given type; none for another type or format.
  std::vector<std::uint32_t> Cardinals(xcb_get_property_cookie_t cookie, xcb_atom_t type = XCB_ATOM_CARDINAL) const;
  bool SetCardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, const std::vector<std::uint32_t>& values);
  // Adds or removes _NET_WM_STATE atoms: on the property before the window is mapped, by asking
  // the window manager afterwards.
  bool ChangeStates(xcb_window_t window, const std::vector<std::pair<xcb_atom_t, bool>>& changes);
  bool SendToRoot(xcb_window_t window, xcb_atom_t type, const std::array<std::uint32_t, 5>& data);
  void AddEventMask(xcb_window_t window, std::uint32_t mask);

  std::uintptr_t New(const TAppBarData& data);
  std::uintptr_t Remove(const TAppBarData& data);
  std::uintptr_t SetPos(const TAppBarData& data);
  TRect QueryPos(xcb_window_t self, const TRect& rect) const;
  std::vector<xcb_window_t> AutoHideBars() const;
  std::uintptr_t SetAutoHideBar(const TAppBarData& data);

  TSize RootSize() const;
  std::vector<std::uint32_t> ReadWorkArea() const;
  bool ActiveWindowIsFullScreen();
  void NotifyAll(TAppBarNotification code, std::intptr_t lParam, xcb_window_t except = XCB_WINDOW_NONE);

  xcb_connection_t* FConnection;
  int FScreenNumber;
  xcb_screen_t* FScreen = nullptr;
  TSize FRootSize;
  std::unique_ptr<xcb_ewmh_connection_t> FEwmh;
  xcb_atom_t FAutoHideAtom = XCB_ATOM_NONE;
  xcb_atom_t FChangedAtom = XCB_ATOM_NONE;
  std::map<xcb_window_t, TBar> FBars;
  std::uint64_t FNextOrder = 0;
  xcb_window_t FWatchedActive = XCB_WINDOW_NONE;
  bool FFullScreen = false;
  std::vector<std::uint32_t> FLastWorkArea;
};

}  // namespace zentrix
