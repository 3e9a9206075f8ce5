#pragma once

#include <cstdint>
#include <functional>

namespace zentrix {

// System-wide hot keys of the bar. The desktop's own layer grabs the combinations and calls
// OnHotKey with the id given at registration.
class THotKeys {
public:
  virtual ~THotKeys() = default;
  // shortcut: 16-bit code, virtual key in the low byte, Shift 0x2000, Ctrl 0x4000, Alt 0x8000.
  // False when the code is empty or the system refuses (another client owns the combination).
  virtual bool Register(int id, std::uint16_t shortcut) = 0;
  virtual void Unregister(int id) = 0;
  std::function<void(int id)> OnHotKey;
};

}  // namespace zentrix
