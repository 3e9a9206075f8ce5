#include "platform/linux/NetWmStrut.h"

#include <algorithm>

namespace zentrix {
namespace {

enum : std::size_t { kLeft, kRight, kTop, kBottom, kLeftStart, kLeftEnd, kRightStart, kRightEnd, kTopStart, kTopEnd,
                     kBottomStart, kBottomEnd };

std::uint32_t Unsigned(std::int64_t v) { return static_cast<std::uint32_t>(std::max<std::int64_t>(v, 0)); }

// Whether the inclusive span [start, end] meets the half-open span [from, to).
bool Meets(std::uint32_t start, std::uint32_t end, std::int32_t from, std::int32_t to) {
  return start <= end && std::int64_t{start} < to && std::int64_t{end} >= from;
}

}  // namespace

TNetWmStrut StrutForDock(TAppBarEdge edge, const TRect& rect, TSize root) {
  TNetWmStrut strut;
  const TRect r = rect.Intersected({0, 0, root.cx, root.cy});
  if (r.IsEmpty() || !IsDockedEdge(edge)) return strut;
  auto& v = strut.Values;
  switch (edge) {
    case abeLeft:
      v[kLeft] = Unsigned(r.Right);
      v[kLeftStart] = Unsigned(r.Top);
      v[kLeftEnd] = Unsigned(r.Bottom - 1);
      break;
    case abeRight:
      v[kRight] = Unsigned(std::int64_t{root.cx} - r.Left);
      v[kRightStart] = Unsigned(r.Top);
      v[kRightEnd] = Unsigned(r.Bottom - 1);
      break;
    case abeTop:
      v[kTop] = Unsigned(r.Bottom);
      v[kTopStart] = Unsigned(r.Left);
      v[kTopEnd] = Unsigned(r.Right - 1);
      break;
    case abeBottom:
      v[kBottom] = Unsigned(std::int64_t{root.cy} - r.Top);
      v[kBottomStart] = Unsigned(r.Left);
      v[kBottomEnd] = Unsigned(r.Right - 1);
      break;
    default: break;
  }
  return strut;
}

TNetWmStrut StrutFromProperty(std::span<const std::uint32_t> values, TSize root) {
  TNetWmStrut strut;
  if (values.size() == 12) {
    std::copy(values.begin(), values.end(), strut.Values.begin());
  } else if (values.size() == 4) {
    std::copy(values.begin(), values.end(), strut.Values.begin());
    const std::uint32_t lastY = Unsigned(root.cy - 1), lastX = Unsigned(root.cx - 1);
    strut.Values[kLeftEnd] = lastY;
    strut.Values[kRightEnd] = lastY;
    strut.Values[kTopEnd] = lastX;
    strut.Values[kBottomEnd] = lastX;
  }
  return strut;
}

TRect LeaveOutStrut(const TRect& rect, const TNetWmStrut& strut, TSize root) {
  const auto& v = strut.Values;
  TRect r = rect;
  const auto clamp = [](std::int64_t x) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX));
  };
  if (v[kLeft] && Meets(v[kLeftStart], v[kLeftEnd], rect.Top, rect.Bottom))
    r.Left = std::max(r.Left, clamp(v[kLeft]));
  if (v[kRight] && Meets(v[kRightStart], v[kRightEnd], rect.Top, rect.Bottom))
    r.Right = std::min(r.Right, clamp(std::int64_t{root.cx} - v[kRight]));
  if (v[kTop] && Meets(v[kTopStart], v[kTopEnd], rect.Left, rect.Right))
    r.Top = std::max(r.Top, clamp(v[kTop]));
  if (v[kBottom] && Meets(v[kBottomStart], v[kBottomEnd], rect.Left, rect.Right))
    r.Bottom = std::min(r.Bottom, clamp(std::int64_t{root.cy} - v[kBottom]));
  return r;
}

}  // namespace zentrix
