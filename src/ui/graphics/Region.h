#pragma once
// An area made of rectangles. It is kept in one canonical form (disjoint rectangles in bands
// of equal top and bottom, sorted by top then left, touching pieces merged), so two regions
// covering the same pixels compare equal.

#include <cstdint>
#include <span>
#include <vector>

#include "ui/graphics/Geometry.h"

namespace ui {

class Region {
 public:
  Region() = default;  // empty
  explicit Region(const Rect& rect);
  static Region FromRects(std::span<const Rect> rects);  // rectangles may overlap
  // A region-data block: a 32-byte header (header size 32, type 1, rectangle count, size,
  // bounds) and then count rectangles of four little-endian 32-bit values. A malformed block
  // raises Exception.
  static Region FromData(std::span<const uint8_t> block);

  Region Union(const Region& other) const;
  Region Intersect(const Region& other) const;
  Region Exclude(const Region& other) const;  // this minus other
  Region Offset(int32_t dx, int32_t dy) const;

  bool IsEmpty() const { return m_Rects.empty(); }
  bool Contains(int32_t x, int32_t y) const;
  Rect BoundingBox() const;  // all zero when empty
  const std::vector<Rect>& Rects() const { return m_Rects; }

  friend bool operator==(const Region&, const Region&) = default;

 private:
  enum class Operation { Union, Intersect, Exclude };
  static Region Combine(std::span<const Rect> a, std::span<const Rect> b, Operation operation);

  std::vector<Rect> m_Rects;
};

}  // namespace ui
