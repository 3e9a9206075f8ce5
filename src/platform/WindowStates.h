#pragma once

#include "platform/AppBarShell.h"

namespace zentrix {

// The connection to the display a native window lives on (an xcb_connection_t* on X11). The
// caller keeps it; these functions only send requests on it.
using TDisplayConnection = void*;

// Keeps a top-level window out of the taskbar and the pager. Window managers read the state when
// the window is mapped and drop it when the window is withdrawn, so call it before every map.
// States already set on the window are kept.
void SkipTaskbarAndPager(TDisplayConnection display, TNativeWindow window);

// True while a pointer button is held anywhere on the display, as during a window manager's
// interactive move, which the moved window itself does not see.
bool PointerButtonHeld(TDisplayConnection display);

}  // namespace zentrix
