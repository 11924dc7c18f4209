#pragma once
// An area made of rectangles. It is kept in one canonical form (disjoint rectangles in bands
// of equal top and bottom, sorted by top then left, touching pieces merged), so two regions
// covering the same pixels compare equal.

#include <algorithm>
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

  bool IsEmpty() const { return m_Count == 0; }
  bool Contains(int32_t x, int32_t y) const;
  bool Intersects(const Rect& rect) const;  // some pixel of rect is in the region
  Rect BoundingBox() const;                 // all zero when empty
  std::span<const Rect> Rects() const { return {Data(), m_Count}; }

  friend bool operator==(const Region& a, const Region& b) {
    return std::ranges::equal(a.Rects(), b.Rects());
  }

 private:
  enum class Operation { Union, Intersect, Exclude };
  // Takes rectangles already in the canonical form.
  explicit Region(std::vector<Rect>&& canonical);
  // Both inputs in the canonical form, swept band by band.
  static Region Combine(std::span<const Rect> a, std::span<const Rect> b, Operation operation);
  const Rect* Data() const { return m_Count > 1 ? m_Many.data() : &m_One; }

  // One rectangle is kept in place: most regions of a paint are one, and they are copied often.
  std::size_t m_Count = 0;
  Rect m_One;
  std::vector<Rect> m_Many;  // all of them when there are two or more
};

}  // namespace ui
