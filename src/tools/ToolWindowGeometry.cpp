#include "tools/ToolWindowGeometry.h"

#include <cstdlib>

namespace zentrix {

TRect CentredRect(TSize size, const TRect& screen) {
  return TRect{0, 0, size.cx, size.cy}.MovedTo(screen.Left + (screen.Width() - size.cx) / 2,
                                               screen.Top + (screen.Height() - size.cy) / 2);
}

TRect ScreenCheckRect(const TRect& frame, const TRect& screen) {
  TRect r = frame;
  if (r.Right > screen.Right) r = r.MovedTo(screen.Right - r.Width(), r.Top);
  if (r.Left < screen.Left) r = r.MovedTo(screen.Left, r.Top);
  if (r.Top < screen.Top) r = r.MovedTo(r.Left, screen.Top);
  return r;
}

TRect SnapToEdges(const TRect& frame, const TRect& area, int distance) {
  const auto near = [distance](std::int32_t a, std::int32_t b) { return std::abs(a - b) <= distance; };
  std::int32_t left = frame.Left;
  std::int32_t top = frame.Top;
  if (near(frame.Left, area.Left))
    left = area.Left;
  else if (near(frame.Right, area.Right))
    left = area.Right - frame.Width();
  if (near(frame.Top, area.Top))
    top = area.Top;
  else if (near(frame.Bottom, area.Bottom))
    top = area.Bottom - frame.Height();
  return frame.MovedTo(left, top);
}

}  // namespace zentrix
