#pragma once
// An area made of rectangles. It is kept in one canonical form (disjoint rectangles in bands
// of equal top and bottom, sorted by top then left, touching pieces merged), so two regions
// covering the same pixels compare equal. A few rectangles are kept in place, and the
// operations that change a region in place reuse its storage, so the regions of a repaint
// allocate nothing once they have grown to their usual size.

#include <algorithm>
#include <array>
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
  // The same three in place.
  void UnionWith(const Region& other);
  void IntersectWith(const Region& other);
  void Subtract(const Region& other);
  // Takes away the rectangles (which may overlap) moved by (dx, dy): joined first, and then
  // taken away at once.
  void Subtract(std::span<const Rect> rects, int32_t dx, int32_t dy);

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
  // This region becomes a combined with b; either may be this region.
  void Become(const Region& a, const Region& b, Operation operation);
  // Both inputs in the canonical form, swept band by band into a buffer of this thread's,
  // which holds the result until the next sweep.
  static std::span<const Rect> Combine(std::span<const Rect> a, std::span<const Rect> b,
                                       Operation operation);
  // Takes rectangles already in the canonical form.
  void Assign(std::span<const Rect> canonical);
  // The union of the rectangles moved by (dx, dy), in a region of this thread's, valid until
  // the next call.
  static const Region& Joined(std::span<const Rect> rects, int32_t dx, int32_t dy);
  Rect* Data() { return m_Count > kInPlace ? m_Many.data() : m_InPlace.data(); }
  const Rect* Data() const { return m_Count > kInPlace ? m_Many.data() : m_InPlace.data(); }

  // Most regions of a paint are an update area or a clip of one to a few rectangles, and they
  // are copied often.
  static constexpr std::size_t kInPlace = 4;
  std::size_t m_Count = 0;
  std::array<Rect, kInPlace> m_InPlace{};
  std::vector<Rect> m_Many;  // all of them when there are more; its storage is kept
};

}  // namespace ui
