#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/AppBarShell.h"
#include "platform/Geometry.h"

namespace zentrix {

// The twelve values of _NET_WM_STRUT_PARTIAL in their order: left, right, top, bottom widths,
// then the start and end (inclusive) of each strip along its edge: left_start_y, left_end_y,
// right_start_y, right_end_y, top_start_x, top_end_x, bottom_start_x, bottom_end_x. The first
// four are _NET_WM_STRUT. Widths count from the root window's edges.
struct TNetWmStrut {
  std::array<std::uint32_t, 12> Values{};

  bool IsZero() const {
    for (std::uint32_t v : Values)
      if (v != 0) return false;
    return true;
  }
  friend bool operator==(const TNetWmStrut&, const TNetWmStrut&) = default;
};

// The strut that reserves rect along edge of a root window of the given size. Nothing is
// reserved for an empty rectangle, for a state that is not an edge, or for the part of rect
// outside the root window.
TNetWmStrut StrutForDock(TAppBarEdge edge, const TRect& rect, TSize root);

// A strut as another window publishes it: 12 values, or 4 (plain _NET_WM_STRUT, spanning the
// whole edge). Other lengths give no strut.
TNetWmStrut StrutFromProperty(std::span<const std::uint32_t> values, TSize root);

// Shrinks rect so that it leaves out the strips strut reserves where they lie across rect.
TRect LeaveOutStrut(const TRect& rect, const TNetWmStrut& strut, TSize root);

}  // namespace zentrix
