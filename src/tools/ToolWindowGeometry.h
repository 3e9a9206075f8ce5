#pragma once

#include "platform/Geometry.h"

namespace zentrix {

// Where a tool window goes, on window frame rectangles in screen pixels (no Qt here).

// A rectangle of the given size centred on screen (odd leftovers go right and down).
TRect CentredRect(TSize size, const TRect& screen);

// Keeps a window on screen, in this order: a right edge beyond the screen's right moves the
// window left until it is on it; then a left edge left of the screen's goes to the screen's
// left; then a top edge above the screen's goes to its top. The bottom edge is left alone, and a
// window wider than the screen ends with its left edge on the screen's.
TRect ScreenCheckRect(const TRect& frame, const TRect& screen);

// Snaps a window to the edges of area it comes within distance pixels of, from either side:
// the left edge before the right, the top before the bottom. The size never changes.
inline constexpr int kSnapDistance = 10;
TRect SnapToEdges(const TRect& frame, const TRect& area, int distance = kSnapDistance);

}  // namespace zentrix
