#pragma once
// Points, sizes and rectangles in pixels. A Rect is half-open: Right and Bottom are the first
// column and row outside it, as the window system's rectangles are.

#include <algorithm>
#include <cstdint>

namespace ui {

struct Point {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  Rect Offset(int32_t dx, int32_t dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
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
