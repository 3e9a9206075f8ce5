#include "tools/ToolWindows.h"

namespace zentrix {

// Each tool window adds its factory here as it arrives; a kind without one keeps its menu entry
// disabled.
void RegisterToolWindows(TToolWindows& windows) { static_cast<void>(windows); }

}  // namespace zentrix
