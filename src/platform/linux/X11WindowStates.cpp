#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/WindowStates.h"

namespace zentrix {
namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

}  // namespace

void SkipTaskbarAndPager(TDisplayConnection display, TNativeWindow window) {
  auto* c = static_cast<xcb_connection_t*>(display);
  if (c == nullptr || window == 0 || xcb_connection_has_error(c)) return;
  const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
  const xcb_atom_t wanted[] = {Atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), Atom(c, "_NET_WM_STATE_SKIP_PAGER")};
  if (state == XCB_ATOM_NONE) return;

  std::vector<xcb_atom_t> atoms;
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, state, XCB_ATOM_ATOM, 0, 1024), nullptr);
  if (reply != nullptr && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    atoms.assign(values, values + xcb_get_property_value_length(reply) / 4);
  }
  std::free(reply);
  bool changed = false;
  for (xcb_atom_t a : wanted) {
    if (a == XCB_ATOM_NONE || std::find(atoms.begin(), atoms.end(), a) != atoms.end()) continue;
    atoms.push_back(a);
    changed = true;
  }
  if (!changed) return;
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                      static_cast<std::uint32_t>(atoms.size()), atoms.data());
  xcb_flush(c);
}

bool PointerButtonHeld(TDisplayConnection display) {
  auto* c = static_cast<xcb_connection_t*>(display);
  if (c == nullptr || xcb_connection_has_error(c)) return false;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr);
  if (reply == nullptr) return false;
  constexpr std::uint16_t kButtons = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3;
  const bool held = (reply->mask & kButtons) != 0;
  std::free(reply);
  return held;
}

}  // namespace zentrix
