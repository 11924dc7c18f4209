#pragma once
// Points, sizes and rectangles in pixels. A Rect is half-open: Right and Bottom are the first
// column and row outside it, as the window system's rectangles are.

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

}  // namespace ui
