#pragma once
// Points and rectangles in pixels, shared by the window framework and the backends. A Rect is
// half-open: Right and Bottom are the first column and row outside it, as the window
// system's rectangles are.

#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
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
  // The area both cover; empty (not necessarily all zero) when they do not overlap.
  Rect Intersect(const Rect& other) const {
    return {std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
            std::min(Bottom, other.Bottom)};
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  Rect Union(const Rect& other) const {
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
