#include "platform/linux/X11AppBarShell.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "appbar/AppBarSettings.h"

namespace zentrix {
namespace {

template <class T>
struct TFree {
  void operator()(T* p) const { std::free(p); }
};
template <class T>
using TReply = std::unique_ptr<T, TFree<T>>;

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;
constexpr std::uint32_t kSourceApplication = 1;

// Holds the server for a read-modify-write of a root property shared by several programs.
class TServerGrab {
public:
  explicit TServerGrab(xcb_connection_t* c) : FConnection(c) { xcb_grab_server(c); }
  ~TServerGrab() {
    xcb_ungrab_server(FConnection);
    xcb_flush(FConnection);
  }
  TServerGrab(const TServerGrab&) = delete;
  TServerGrab& operator=(const TServerGrab&) = delete;

private:
  xcb_connection_t* FConnection;
};

}  // namespace

TX11AppBarShell::TX11AppBarShell(xcb_connection_t* connection, int screenNumber)
    : FConnection(connection), FScreenNumber(screenNumber), FEwmh(std::make_unique<xcb_ewmh_connection_t>()) {
  if (!connection || xcb_connection_has_error(connection))
    throw EAppBarError("The desktop toolbar needs a working connection to the X server.");
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; it.rem && i < screenNumber; ++i) xcb_screen_next(&it);
  if (!it.rem) throw EAppBarError("The X server has no screen " + std::to_string(screenNumber) + ".");
  FScreen = it.data;
  FRootSize = {FScreen->width_in_pixels, FScreen->height_in_pixels};

  std::memset(FEwmh.get(), 0, sizeof(xcb_ewmh_connection_t));
  xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection, FEwmh.get());
  if (!xcb_ewmh_init_atoms_replies(FEwmh.get(), cookies, nullptr))
    throw EAppBarError("The X server did not answer for the desktop hints' atoms.");
  const xcb_intern_atom_cookie_t own =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(kAutoHideProperty)), kAutoHideProperty);
  TReply<xcb_intern_atom_reply_t> ownReply(xcb_intern_atom_reply(connection, own, nullptr));
  if (!ownReply) throw EAppBarError("The X server did not answer for the auto-hide bars' atom.");
  FAutoHideAtom = ownReply->atom;

  AddEventMask(FScreen->root, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
  FLastWorkArea = ReadWorkArea();
  xcb_window_t active = XCB_WINDOW_NONE;
  if (xcb_ewmh_get_active_window_reply(FEwmh.get(), xcb_ewmh_get_active_window(FEwmh.get(), FScreenNumber), &active,
                                       nullptr) &&
      active != XCB_WINDOW_NONE) {
    FWatchedActive = active;
    AddEventMask(active, XCB_EVENT_MASK_PROPERTY_CHANGE);
  }
  FFullScreen = ActiveWindowIsFullScreen();
  xcb_flush(connection);
}

TX11AppBarShell::~TX11AppBarShell() { xcb_ewmh_connection_wipe(FEwmh.get()); }

bool TX11AppBarShell::Check(xcb_void_cookie_t cookie) const {
  TReply<xcb_generic_error_t> error(xcb_request_check(FConnection, cookie));
  return !error;
}

bool TX11AppBarShell::Exists(xcb_window_t window) const {
  TReply<xcb_get_window_attributes_reply_t> reply(
      xcb_get_window_attributes_reply(FConnection, xcb_get_window_attributes(FConnection, window), nullptr));
  return reply != nullptr;
}

bool TX11AppBarShell::IsMapped(xcb_window_t window) const {
  TReply<xcb_get_window_attributes_reply_t> reply(
      xcb_get_window_attributes_reply(FConnection, xcb_get_window_attributes(FConnection, window), nullptr));
  return reply && reply->map_state != XCB_MAP_STATE_UNMAPPED;
}

void TX11AppBarShell::AddEventMask(xcb_window_t window, std::uint32_t mask) {
  // Event masks are per client: keep what this connection (perhaps a toolkit's) selected already.
  TReply<xcb_get_window_attributes_reply_t> reply(
      xcb_get_window_attributes_reply(FConnection, xcb_get_window_attributes(FConnection, window), nullptr));
  if (!reply) return;
  const std::uint32_t value = reply->your_event_mask | mask;
  if (value != reply->your_event_mask)
    Check(xcb_change_window_attributes_checked(FConnection, window, XCB_CW_EVENT_MASK, &value));
}

std::vector<std::uint32_t> TX11AppBarShell::GetCardinals(xcb_window_t window, xcb_atom_t property,
                                                         xcb_atom_t type) const {
  TReply<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(FConnection, xcb_get_property(FConnection, 0, window, property, type, 0, 1024), nullptr));
  if (!reply || reply->type != type || reply->format != 32) return {};
  const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  const int count = xcb_get_property_value_length(reply.get()) / 4;
  return {values, values + std::max(count, 0)};
}

bool TX11AppBarShell::SetCardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                   const std::vector<std::uint32_t>& values) {
  return Check(xcb_change_property_checked(FConnection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                                           static_cast<std::uint32_t>(values.size()), values.data()));
}

bool TX11AppBarShell::SendToRoot(xcb_window_t window, xcb_atom_t type, const std::array<std::uint32_t, 5>& data) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = type;
  std::copy(data.begin(), data.end(), event.data.data32);
  return Check(xcb_send_event_checked(FConnection, 0, FScreen->root,
                                      XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                                      reinterpret_cast<const char*>(&event)));
}

bool TX11AppBarShell::ChangeStates(xcb_window_t window, const std::vector<std::pair<xcb_atom_t, bool>>& changes) {
  if (IsMapped(window)) {
    bool ok = true;
    for (const auto& [atom, on] : changes)
      ok = SendToRoot(window, FEwmh->_NET_WM_STATE,
                      {on ? XCB_EWMH_WM_STATE_ADD : XCB_EWMH_WM_STATE_REMOVE, atom, 0, kSourceApplication, 0}) &&
           ok;
    return ok;
  }
  std::vector<std::uint32_t> states = GetCardinals(window, FEwmh->_NET_WM_STATE, XCB_ATOM_ATOM);
  for (const auto& [atom, on] : changes) {
    const auto it = std::find(states.begin(), states.end(), atom);
    if (on && it == states.end()) states.push_back(atom);
    if (!on && it != states.end()) states.erase(it);
  }
  return SetCardinals(window, FEwmh->_NET_WM_STATE, XCB_ATOM_ATOM, states);
}

TSize TX11AppBarShell::RootSize() const { return FRootSize; }

TRect TX11AppBarShell::PrimaryScreen() const { return {0, 0, FRootSize.cx, FRootSize.cy}; }

std::vector<std::uint32_t> TX11AppBarShell::ReadWorkArea() const {
  return GetCardinals(FScreen->root, FEwmh->_NET_WORKAREA, XCB_ATOM_CARDINAL);
}

TRect TX11AppBarShell::WorkArea() const {
  const std::vector<std::uint32_t> all = ReadWorkArea();
  std::vector<std::uint32_t> current = GetCardinals(FScreen->root, FEwmh->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL);
  std::size_t desktop = current.empty() ? 0 : current[0];
  if (4 * desktop + 4 > all.size()) desktop = 0;
  if (all.size() < 4) return PrimaryScreen();
  const auto at = [&](std::size_t i) { return static_cast<std::int32_t>(all[4 * desktop + i]); };
  return {at(0), at(1), at(0) + at(2), at(1) + at(3)};
}

std::uintptr_t TX11AppBarShell::SendAppBarMessage(TAppBarMessage message, TAppBarData& data) {
  std::uintptr_t result = 0;
  switch (message) {
    case TAppBarMessage::abmNew: result = New(data); break;
    case TAppBarMessage::abmRemove: result = Remove(data); break;
    case TAppBarMessage::abmQueryPos:
      data.Rect = QueryPos(data.Window, data.Rect);
      result = 1;
      break;
    case TAppBarMessage::abmSetPos: result = SetPos(data); break;
    case TAppBarMessage::abmGetAutoHideBar: {
      const std::vector<xcb_window_t> bars = AutoHideBars();
      // A bar whose program ended without letting go holds its edge no longer.
      if (data.Edge <= abeBottom && bars[data.Edge] != XCB_WINDOW_NONE && Exists(bars[data.Edge]))
        result = bars[data.Edge];
      break;
    }
    case TAppBarMessage::abmSetAutoHideBar: result = SetAutoHideBar(data); break;
    // The window manager keeps docks stacked and placed by itself: nothing to tell it.
    case TAppBarMessage::abmActivate:
    case TAppBarMessage::abmWindowPosChanged: result = 1; break;
  }
  xcb_flush(FConnection);
  return result;
}

std::uintptr_t TX11AppBarShell::New(const TAppBarData& data) {
  const xcb_window_t window = data.Window;
  if (FBars.count(window) || !Exists(window)) return 0;
  xcb_atom_t dock = FEwmh->_NET_WM_WINDOW_TYPE_DOCK;
  bool ok = Check(xcb_ewmh_set_wm_window_type_checked(FEwmh.get(), window, 1, &dock));
  // Openbox moves the work area only for the desktops a strut's window is on: all of them.
  ok = Check(xcb_ewmh_set_wm_desktop_checked(FEwmh.get(), window, kAllDesktops)) && ok;
  if (IsMapped(window)) ok = SendToRoot(window, FEwmh->_NET_WM_DESKTOP, {kAllDesktops, kSourceApplication, 0, 0, 0}) && ok;
  ok = ChangeStates(window, {{FEwmh->_NET_WM_STATE_STICKY, true},
                             {FEwmh->_NET_WM_STATE_SKIP_TASKBAR, true},
                             {FEwmh->_NET_WM_STATE_SKIP_PAGER, true}}) &&
       ok;
  if (!ok) return 0;
  FBars[window].Sink = data.Callback;
  return 1;
}

std::uintptr_t TX11AppBarShell::Remove(const TAppBarData& data) {
  const xcb_window_t window = data.Window;
  if (!FBars.count(window)) return 1;
  SetPos({window, nullptr, abeFloat, {}, 0});
  for (std::uint32_t edge = abeLeft; edge <= abeBottom; ++edge)
    SetAutoHideBar({window, nullptr, edge, {}, 0});
  FBars.erase(window);
  return 1;
}

std::uintptr_t TX11AppBarShell::SetPos(const TAppBarData& data) {
  const TNetWmStrut strut =
      StrutForDock(data.Edge <= abeFloat ? static_cast<TAppBarEdge>(data.Edge) : abeFloat, data.Rect, RootSize());
  const std::vector<std::uint32_t> partial(strut.Values.begin(), strut.Values.end());
  const std::vector<std::uint32_t> plain(strut.Values.begin(), strut.Values.begin() + 4);
  bool ok = SetCardinals(data.Window, FEwmh->_NET_WM_STRUT_PARTIAL, XCB_ATOM_CARDINAL, partial);
  ok = SetCardinals(data.Window, FEwmh->_NET_WM_STRUT, XCB_ATOM_CARDINAL, plain) && ok;
  if (auto it = FBars.find(data.Window); it != FBars.end() && ok) it->second.Strut = strut;
  return ok ? 1 : 0;
}

TRect TX11AppBarShell::QueryPos(xcb_window_t self, const TRect& rect) const {
  const TSize root = RootSize();
  std::vector<xcb_window_t> windows;
  xcb_ewmh_get_windows_reply_t list;
  if (xcb_ewmh_get_client_list_reply(FEwmh.get(), xcb_ewmh_get_client_list(FEwmh.get(), FScreenNumber), &list,
                                     nullptr)) {
    windows.assign(list.windows, list.windows + list.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&list);
  }
  for (const auto& [window, bar] : FBars) windows.push_back(window);
  std::sort(windows.begin(), windows.end());
  windows.erase(std::unique(windows.begin(), windows.end()), windows.end());

  TRect r = rect;
  for (xcb_window_t window : windows) {
    if (window == self) continue;
    std::vector<std::uint32_t> values = GetCardinals(window, FEwmh->_NET_WM_STRUT_PARTIAL, XCB_ATOM_CARDINAL);
    if (values.empty()) values = GetCardinals(window, FEwmh->_NET_WM_STRUT, XCB_ATOM_CARDINAL);
    r = LeaveOutStrut(r, StrutFromProperty(values, root), root);
  }

  // The work area also counts strips of windows outside the client list. It includes this bar's
  // own strip, which must not push the bar away from itself: a side counts only where something
  // reserves more than this bar does.
  if (!ReadWorkArea().empty()) {
    const TRect work = WorkArea();
    TNetWmStrut own;
    if (auto it = FBars.find(self); it != FBars.end()) own = it->second.Strut;
    const std::int64_t left = work.Left, top = work.Top;
    const std::int64_t right = std::int64_t{root.cx} - work.Right, bottom = std::int64_t{root.cy} - work.Bottom;
    if (left > own.Values[0]) r.Left = std::max(r.Left, work.Left);
    if (right > own.Values[1]) r.Right = std::min(r.Right, work.Right);
    if (top > own.Values[2]) r.Top = std::max(r.Top, work.Top);
    if (bottom > own.Values[3]) r.Bottom = std::min(r.Bottom, work.Bottom);
  }
  return r;
}

std::vector<xcb_window_t> TX11AppBarShell::AutoHideBars() const {
  std::vector<std::uint32_t> bars = GetCardinals(FScreen->root, FAutoHideAtom, XCB_ATOM_WINDOW);
  bars.resize(4, XCB_WINDOW_NONE);
  return bars;
}

std::uintptr_t TX11AppBarShell::SetAutoHideBar(const TAppBarData& data) {
  if (data.Edge > abeBottom) return 0;
  TServerGrab grab(FConnection);
  std::vector<xcb_window_t> bars = AutoHideBars();
  xcb_window_t& holder = bars[data.Edge];
  if (data.lParam != 0) {
    if (holder != XCB_WINDOW_NONE && holder != data.Window && Exists(holder)) return 0;
    holder = data.Window;
  } else {
    if (holder != data.Window) return 0;
    holder = XCB_WINDOW_NONE;
  }
  return SetCardinals(FScreen->root, FAutoHideAtom, XCB_ATOM_WINDOW, bars) ? 1 : 0;
}

void TX11AppBarShell::SetZOrder(TNativeWindow window, TAppBarZOrder order) {
  ChangeStates(window, {{FEwmh->_NET_WM_STATE_ABOVE, order == TAppBarZOrder::azTopmost},
                        {FEwmh->_NET_WM_STATE_BELOW, order == TAppBarZOrder::azBottom}});
  xcb_flush(FConnection);
}

void TX11AppBarShell::ShowTaskbarButton(TNativeWindow window, bool show) {
  ChangeStates(window, {{FEwmh->_NET_WM_STATE_SKIP_TASKBAR, !show}});
  xcb_flush(FConnection);
}

bool TX11AppBarShell::ActiveWindowIsFullScreen() {
  if (FWatchedActive == XCB_WINDOW_NONE || FBars.count(FWatchedActive)) return false;
  const std::vector<std::uint32_t> states = GetCardinals(FWatchedActive, FEwmh->_NET_WM_STATE, XCB_ATOM_ATOM);
  return std::find(states.begin(), states.end(), FEwmh->_NET_WM_STATE_FULLSCREEN) != states.end();
}

void TX11AppBarShell::NotifyAll(TAppBarNotification code, std::intptr_t lParam) {
  // A bar answering may register or remove bars: tell the ones registered now.
  std::vector<TAppBarNotifySink*> sinks;
  for (const auto& [window, bar] : FBars)
    if (bar.Sink) sinks.push_back(bar.Sink);
  for (TAppBarNotifySink* sink : sinks) sink->AppBarNotify(code, lParam);
}

bool TX11AppBarShell::HandleEvent(const xcb_generic_event_t* event) {
  if (!event) return false;
  const std::uint8_t type = event->response_type & 0x7F;
  if (type == XCB_CONFIGURE_NOTIFY) {
    const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
    if (e->window != FScreen->root) return false;
    FRootSize = {e->width, e->height};
    NotifyAll(TAppBarNotification::abnPosChanged, 0);
    return true;
  }
  if (type != XCB_PROPERTY_NOTIFY) return false;
  const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);

  bool recheckFullScreen = false;
  if (e->window == FScreen->root && e->atom == FEwmh->_NET_WORKAREA) {
    // Rewriting a strut makes some window managers republish an unchanged work area: only a
    // change is news, or bars answering it would never stop.
    std::vector<std::uint32_t> work = ReadWorkArea();
    if (work != FLastWorkArea) {
      FLastWorkArea = std::move(work);
      NotifyAll(TAppBarNotification::abnPosChanged, 0);
    }
    return true;
  }
  if (e->window == FScreen->root && e->atom == FEwmh->_NET_ACTIVE_WINDOW) {
    xcb_window_t active = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_active_window_reply(FEwmh.get(), xcb_ewmh_get_active_window(FEwmh.get(), FScreenNumber),
                                          &active, nullptr))
      active = XCB_WINDOW_NONE;
    if (active != FWatchedActive && active != XCB_WINDOW_NONE) AddEventMask(active, XCB_EVENT_MASK_PROPERTY_CHANGE);
    FWatchedActive = active;
    recheckFullScreen = true;
  } else if (e->window == FWatchedActive && e->atom == FEwmh->_NET_WM_STATE) {
    recheckFullScreen = true;
  }
  if (!recheckFullScreen) return false;
  const bool fullScreen = ActiveWindowIsFullScreen();
  if (fullScreen != FFullScreen) {
    FFullScreen = fullScreen;
    NotifyAll(TAppBarNotification::abnFullScreenApp, fullScreen ? 1 : 0);
  }
  xcb_flush(FConnection);
  return true;
}

}  // namespace zentrix
