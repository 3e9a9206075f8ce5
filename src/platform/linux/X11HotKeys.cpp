#include "platform/linux/X11HotKeys.h"

#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

#include "platform/ShortcutCodes.h"

namespace zentrix {
namespace {

constexpr std::uint32_t kNumLockKeySym = 0xFF7F;  // XK_Num_Lock

// The modifier bit that NumLock sets on this server (Mod2 on most, but the mapping decides).
std::uint16_t FindNumLockMask(xcb_connection_t* connection, xcb_key_symbols_t* symbols) {
  std::unique_ptr<xcb_keycode_t, decltype(&std::free)> numLock(xcb_key_symbols_get_keycode(symbols, kNumLockKeySym),
                                                               &std::free);
  if (!numLock) return XCB_MOD_MASK_2;
  std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&std::free)> mapping(
      xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr), &std::free);
  if (!mapping) return XCB_MOD_MASK_2;
  const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
  const int perModifier = mapping->keycodes_per_modifier;
  for (int modifier = 0; modifier < 8; ++modifier)
    for (int i = 0; i < perModifier; ++i)
      for (const xcb_keycode_t* k = numLock.get(); *k != XCB_NO_SYMBOL; ++k)
        if (codes[modifier * perModifier + i] == *k) return static_cast<std::uint16_t>(1u << modifier);
  return XCB_MOD_MASK_2;
}

}  // namespace

TX11HotKeys::TX11HotKeys(xcb_connection_t* connection, xcb_window_t root)
    : FConnection(connection), FRoot(root), FSymbols(xcb_key_symbols_alloc(connection)) {
  if (FSymbols) FNumLockMask = FindNumLockMask(FConnection, FSymbols);
}

TX11HotKeys::~TX11HotKeys() {
  while (!FGrabs.empty()) Unregister(FGrabs.begin()->first);
  if (FSymbols) xcb_key_symbols_free(FSymbols);
}

std::vector<std::uint16_t> TX11HotKeys::LockVariants() const {
  const std::uint16_t caps = XCB_MOD_MASK_LOCK;
  return {0, FNumLockMask, caps, static_cast<std::uint16_t>(FNumLockMask | caps)};
}

void TX11HotKeys::Ungrab(const std::vector<TGrab>& grabs) {
  for (const TGrab& grab : grabs)
    for (std::uint16_t lock : LockVariants())
      xcb_ungrab_key(FConnection, grab.KeyCode, FRoot, static_cast<std::uint16_t>(grab.Modifiers | lock));
  xcb_flush(FConnection);
}

bool TX11HotKeys::Register(int id, std::uint16_t shortcut) {
  Unregister(id);
  const auto x11 = ShortcutToX11(shortcut);
  if (!x11 || !FSymbols) return false;
  std::unique_ptr<xcb_keycode_t, decltype(&std::free)> keyCodes(xcb_key_symbols_get_keycode(FSymbols, x11->KeySym),
                                                                &std::free);
  if (!keyCodes || *keyCodes == XCB_NO_SYMBOL) return false;

  // Every variant is sent checked and then all replies collected, so one refusal (BadAccess)
  // fails the registration as a whole and takes back what was granted.
  std::vector<TGrab> grabs;
  std::vector<xcb_void_cookie_t> cookies;
  for (const xcb_keycode_t* k = keyCodes.get(); *k != XCB_NO_SYMBOL; ++k) {
    bool seen = false;
    for (const TGrab& grab : grabs) seen = seen || grab.KeyCode == *k;
    if (seen) continue;
    // A combination already ours under another id would be taken over silently by the server;
    // like a second registration of one combination elsewhere, it is refused.
    for (const auto& [otherId, otherGrabs] : FGrabs)
      for (const TGrab& grab : otherGrabs)
        if (grab.KeyCode == *k && grab.Modifiers == x11->Modifiers) return false;
    grabs.push_back({*k, x11->Modifiers});
    for (std::uint16_t lock : LockVariants())
      cookies.push_back(xcb_grab_key_checked(FConnection, 1, FRoot, static_cast<std::uint16_t>(x11->Modifiers | lock),
                                             *k, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  }
  bool refused = false;
  for (xcb_void_cookie_t cookie : cookies) {
    if (xcb_generic_error_t* error = xcb_request_check(FConnection, cookie)) {
      refused = true;
      std::free(error);
    }
  }
  if (refused) {
    // Only our own grabs are released; the other client's stays untouched by the server.
    Ungrab(grabs);
    return false;
  }
  FGrabs[id] = std::move(grabs);
  return true;
}

void TX11HotKeys::Unregister(int id) {
  const auto found = FGrabs.find(id);
  if (found == FGrabs.end()) return;
  Ungrab(found->second);
  FGrabs.erase(found);
}

bool TX11HotKeys::HandleEvent(const xcb_generic_event_t* event) {
  if (!event || (event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
  const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
  const std::uint16_t ignored = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | FNumLockMask);
  const std::uint16_t state = static_cast<std::uint16_t>(press->state & ~ignored & 0xFF);
  for (const auto& [id, grabs] : FGrabs) {
    for (const TGrab& grab : grabs) {
      if (grab.KeyCode == press->detail && grab.Modifiers == state) {
        if (OnHotKey) OnHotKey(id);
        return true;
      }
    }
  }
  return false;
}

}  // namespace zentrix
