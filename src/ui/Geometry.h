#pragma once
// Points, sizes and rectangles in pixels. A Rect is half-open: Right and Bottom are the first
// column and row outside it, as the window system's rectangles are.

#include <algorithm>
#include <cstdint>

#include "platform/Geometry.h"

namespace ui {

using platform::Point;
using platform::Rect;

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

inline Rect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

// Empty (not necessarily all zero) when they do not overlap.
inline Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

}  // namespace ui
