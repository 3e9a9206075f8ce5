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
  const auto intern = [connection](const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    TReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    if (!reply) throw EAppBarError(std::string("The X server did not answer for the atom ") + name + ".");
    return reply->atom;
  };
  FAutoHideAtom = intern(kAutoHideProperty);
  FChangedAtom = intern(kChangedProperty);

  AddEventMask(FScreen->root, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
  FLastWorkArea = ReadWorkArea();
  xcb_window_t active = XCB_WINDOW_NONE;
  if (xcb_ewmh_get_active_window_reply(FEwmh.get(), xcb_ewmh_get_active_window(FEwmh.get(), FScreenNumber), &active,
                                       nullptr) &&
      active != XCB_WINDOW_NONE) {
    FWatchedActive = active;
    AddEventMask(active, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
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
  return Cardinals(xcb_get_property(FConnection, 0, window, property, type, 0, 1024), type);
}

std::vector<std::uint32_t> TX11AppBarShell::Cardinals(xcb_get_property_cookie_t cookie, xcb_atom_t type) const {
  TReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(FConnection, cookie, nullptr));
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
  FBars[window] = {data.Callback, {}, FNextOrder++};
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
  const auto it = FBars.find(data.Window);
  const bool changed = it == FBars.end() || it->second.Strut != strut;
  bool ok = SetCardinals(data.Window, FEwmh->_NET_WM_STRUT_PARTIAL, XCB_ATOM_CARDINAL, partial);
  ok = SetCardinals(data.Window, FEwmh->_NET_WM_STRUT, XCB_ATOM_CARDINAL, plain) && ok;
  if (it != FBars.end() && ok) it->second.Strut = strut;
  // The work area does not always show a change (a strip under a longer strut), so other bars
  // hear of it here. Only a change is announced: bars answer by docking again.
  if (ok && changed) SetCardinals(FScreen->root, FChangedAtom, XCB_ATOM_WINDOW, {data.Window});
  return ok ? 1 : 0;
}

TRect TX11AppBarShell::QueryPos(xcb_window_t self, const TRect& rect) const {
  const TSize root = RootSize();
  std::vector<xcb_window_t> listed;
  xcb_ewmh_get_windows_reply_t list;
  if (xcb_ewmh_get_client_list_reply(FEwmh.get(), xcb_ewmh_get_client_list(FEwmh.get(), FScreenNumber), &list,
                                     nullptr)) {
    listed.assign(list.windows, list.windows + list.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&list);
  }
  // A strut counts from the root's edge, so a bar docked below another reserves the other's
  // strip too. Bars therefore yield only to the bars that docked before them, in the order the
  // window manager took them on (its client list is in mapping order), then in the order this
  // program registered its own.
  const auto rank = [&](xcb_window_t w) {
    const auto at = std::find(listed.begin(), listed.end(), w);
    const auto own = FBars.find(w);
    return std::pair{at - listed.begin(), own != FBars.end() ? own->second.Order : ~std::uint64_t{0}};
  };
  std::vector<xcb_window_t> windows = listed;
  for (const auto& [window, bar] : FBars) windows.push_back(window);
  std::sort(windows.begin(), windows.end());
  windows.erase(std::unique(windows.begin(), windows.end()), windows.end());

  TRect r = rect;
  std::array<std::uint32_t, 4> known{};
  // Both struts of every window asked at once: one round trip, however many windows there are.
  std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
  for (xcb_window_t window : windows)
    cookies.emplace_back(
        xcb_get_property(FConnection, 0, window, FEwmh->_NET_WM_STRUT_PARTIAL, XCB_ATOM_CARDINAL, 0, 12),
        xcb_get_property(FConnection, 0, window, FEwmh->_NET_WM_STRUT, XCB_ATOM_CARDINAL, 0, 4));
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const xcb_window_t window = windows[i];
    std::vector<std::uint32_t> values = Cardinals(cookies[i].first);
    std::vector<std::uint32_t> plain = Cardinals(cookies[i].second);
    if (values.empty()) values = std::move(plain);
    const TNetWmStrut strut = StrutFromProperty(values, root);
    for (std::size_t side = 0; side < 4; ++side) known[side] = std::max(known[side], strut.Values[side]);
    if (window != self && rank(window) < rank(self)) r = LeaveOutStrut(r, strut, root);
  }

  // The work area also counts strips that no window we can see reserves (a panel outside the
  // client list): a side counts where it reserves more than every strut we know of.
  if (!ReadWorkArea().empty()) {
    const TRect work = WorkArea();
    const std::int64_t left = work.Left, top = work.Top;
    const std::int64_t right = std::int64_t{root.cx} - work.Right, bottom = std::int64_t{root.cy} - work.Bottom;
    if (left > known[0]) r.Left = std::max(r.Left, work.Left);
    if (right > known[1]) r.Right = std::min(r.Right, work.Right);
    if (top > known[2]) r.Top = std::max(r.Top, work.Top);
    if (bottom > known[3]) r.Bottom = std::min(r.Bottom, work.Bottom);
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

void TX11AppBarShell::NotifyAll(TAppBarNotification code, std::intptr_t lParam, xcb_window_t except) {
  // A bar answering may register or remove bars: tell the ones registered now.
  std::vector<TAppBarNotifySink*> sinks;
  for (const auto& [window, bar] : FBars)
    if (bar.Sink && window != except) sinks.push_back(bar.Sink);
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
  if (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
    // A full-screen window that goes away may leave _NET_ACTIVE_WINDOW naming it for a while.
    const xcb_window_t gone = type == XCB_UNMAP_NOTIFY ? reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window
                                                       : reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window;
    if (gone != FWatchedActive || gone == XCB_WINDOW_NONE) return false;
    FWatchedActive = XCB_WINDOW_NONE;
    if (FFullScreen) {
      FFullScreen = false;
      NotifyAll(TAppBarNotification::abnFullScreenApp, 0);
    }
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
  if (e->window == FScreen->root && (e->atom == FChangedAtom || e->atom == FEwmh->_NET_CLIENT_LIST)) {
    if (e->atom == FChangedAtom && e->state == XCB_PROPERTY_DELETE) return true;
    // A bar that changed its own strip needs no telling; the others dock again.
    const std::vector<std::uint32_t> changed = GetCardinals(FScreen->root, FChangedAtom, XCB_ATOM_WINDOW);
    const xcb_window_t source = e->atom == FChangedAtom && !changed.empty() ? changed[0] : xcb_window_t{XCB_WINDOW_NONE};
    NotifyAll(TAppBarNotification::abnPosChanged, 0, source);
    return true;
  }
  if (e->window == FScreen->root && e->atom == FEwmh->_NET_ACTIVE_WINDOW) {
    xcb_window_t active = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_active_window_reply(FEwmh.get(), xcb_ewmh_get_active_window(FEwmh.get(), FScreenNumber),
                                          &active, nullptr))
      active = XCB_WINDOW_NONE;
    if (active != FWatchedActive && active != XCB_WINDOW_NONE)
      AddEventMask(active, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
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
