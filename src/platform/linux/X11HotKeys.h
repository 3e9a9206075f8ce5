#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <vector>

#include "platform/HotKeys.h"

typedef struct _XCBKeySymbols xcb_key_symbols_t;

namespace zentrix {

// Hot keys as passive key grabs on the root window. Each combination is grabbed four times:
// alone, with NumLock, with CapsLock and with both, so that the lock keys do not disable it.
// The connection stays the caller's; events reach HandleEvent from the caller's event loop.
class TX11HotKeys : public THotKeys {
public:
  TX11HotKeys(xcb_connection_t* connection, xcb_window_t root);
  ~TX11HotKeys() override;
  TX11HotKeys(const TX11HotKeys&) = delete;
  TX11HotKeys& operator=(const TX11HotKeys&) = delete;

  bool Register(int id, std::uint16_t shortcut) override;
  void Unregister(int id) override;

  // True when the event was a key press of one of our combinations (OnHotKey has been called).
  bool HandleEvent(const xcb_generic_event_t* event);

private:
  struct TGrab {
    xcb_keycode_t KeyCode;
    std::uint16_t Modifiers;  // without the lock modifiers
  };
  std::vector<std::uint16_t> LockVariants() const;
  void Ungrab(const std::vector<TGrab>& grabs);

  xcb_connection_t* FConnection;
  xcb_window_t FRoot;
  xcb_key_symbols_t* FSymbols = nullptr;
  std::uint16_t FNumLockMask = 0;
  std::map<int, std::vector<TGrab>> FGrabs;
};

}  // namespace zentrix
