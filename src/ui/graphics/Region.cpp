#include "ui/graphics/Region.h"

#include <limits>
#include <utility>

#include "ui/model/Exception.h"

namespace ui {
namespace {

constexpr int32_t kBefore = std::numeric_limits<int32_t>::min();
constexpr int32_t kBeyond = std::numeric_limits<int32_t>::max();

// The end of the band (rectangles of one top and bottom) that starts at `begin`.
std::size_t BandEnd(std::span<const Rect> rects, std::size_t begin) {
  std::size_t end = begin + 1;
  while (end < rects.size() && rects[end].Top == rects[begin].Top) ++end;
  return end;
}

bool Encloses(const Rect& outer, const Rect& inner) {
  return outer.Left <= inner.Left && outer.Top <= inner.Top && outer.Right >= inner.Right &&
         outer.Bottom >= inner.Bottom;
}

// Whether one rectangle of the region holds rect whole.
bool HoldsWhole(const Region& region, const Rect& rect) {
  const std::span<const Rect> rects = region.Rects();
  return std::any_of(rects.begin(), rects.end(),
                     [&rect](const Rect& r) { return Encloses(r, rect); });
}

int32_t ReadInt32(std::span<const uint8_t> bytes, std::size_t offset) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= uint32_t{bytes[offset + i]} << (8 * i);
  return static_cast<int32_t>(value);
}

}  // namespace

Region::Region(const Rect& rect) {
  if (rect.IsEmpty()) return;
  m_InPlace[0] = rect;
  m_Count = 1;
}

void Region::Assign(std::span<const Rect> canonical) {
  m_Count = canonical.size();
  if (m_Count > kInPlace) {
    m_Many.assign(canonical.begin(), canonical.end());
  } else {
    m_Many.clear();
    std::copy(canonical.begin(), canonical.end(), m_InPlace.begin());
  }
}

Region Region::FromRects(std::span<const Rect> rects) {
  return Joined(rects, 0, 0);
}

// Pairs joined round by round, so that each rectangle takes part in few joins; each join in
// place in the first of the two, in regions of this thread's that keep their storage.
const Region& Region::Joined(std::span<const Rect> rects, int32_t dx, int32_t dy) {
  thread_local std::vector<Region> parts;
  if (parts.size() < rects.size() + 1) parts.resize(rects.size() + 1);
  std::size_t count = 0;
  for (const Rect& r : rects) {
    const Rect moved = r.Offset(dx, dy);
    if (!moved.IsEmpty()) parts[count++].Assign({&moved, 1});
  }
  if (count == 0) parts[0].Assign({});
  for (std::size_t step = 1; step < count; step *= 2) {
    for (std::size_t i = 0; i + step < count; i += 2 * step) parts[i].UnionWith(parts[i + step]);
  }
  return parts[0];
}

Region Region::FromData(std::span<const uint8_t> block) {
  constexpr std::size_t kHeaderSize = 32, kRectSize = 16;
  if (block.size() < kHeaderSize || ReadInt32(block, 0) != 32 || ReadInt32(block, 4) != 1) {
    throw Exception("Invalid region data");
  }
  const auto count = static_cast<uint32_t>(ReadInt32(block, 8));
  if ((block.size() - kHeaderSize) / kRectSize < count) throw Exception("Invalid region data");
  std::vector<Rect> rects(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kRectSize;
    rects[i] = {ReadInt32(block, at), ReadInt32(block, at + 4), ReadInt32(block, at + 8),
                ReadInt32(block, at + 12)};
  }
  return FromRects(rects);
}

Region Region::Union(const Region& other) const {
  Region result;
  result.Become(*this, other, Operation::Union);
  return result;
}

Region Region::Intersect(const Region& other) const {
  Region result;
  result.Become(*this, other, Operation::Intersect);
  return result;
}

Region Region::Exclude(const Region& other) const {
  Region result;
  result.Become(*this, other, Operation::Exclude);
  return result;
}

void Region::UnionWith(const Region& other) {
  Become(*this, other, Operation::Union);
}

void Region::IntersectWith(const Region& other) {
  Become(*this, other, Operation::Intersect);
}

void Region::Subtract(const Region& other) {
  Become(*this, other, Operation::Exclude);
}

void Region::Subtract(std::span<const Rect> rects, int32_t dx, int32_t dy) {
  if (rects.empty()) return;  // the usual case of a paint: no opaque child to leave out
  Subtract(Joined(rects, dx, dy));
}

Region Region::Offset(int32_t dx, int32_t dy) const {
  Region moved = *this;
  for (Rect& r : std::span(moved.Data(), moved.m_Count)) r = r.Offset(dx, dy);
  return moved;
}

// The cases that need no sweep come first: an empty side, areas apart, a rectangle that
// holds the other side whole. Copies and Assign keep this region's storage.
void Region::Become(const Region& a, const Region& b, Operation operation) {
  const bool aOne = a.m_Count == 1, bOne = b.m_Count == 1;
  switch (operation) {
    case Operation::Union:
      if (b.IsEmpty() || (aOne && Encloses(a.m_InPlace[0], b.BoundingBox()))) {
        *this = a;
        return;
      }
      if (a.IsEmpty() || (bOne && Encloses(b.m_InPlace[0], a.BoundingBox()))) {
        *this = b;
        return;
      }
      break;
    case Operation::Intersect:
      if (a.IsEmpty() || b.IsEmpty() || a.BoundingBox().Intersect(b.BoundingBox()).IsEmpty()) {
        Assign({});
        return;
      }
      if (aOne && bOne) {
        const Rect common = a.m_InPlace[0].Intersect(b.m_InPlace[0]);
        Assign({&common, 1});
        return;
      }
      if (aOne && Encloses(a.m_InPlace[0], b.BoundingBox())) {
        *this = b;
        return;
      }
      if (bOne && Encloses(b.m_InPlace[0], a.BoundingBox())) {
        *this = a;
        return;
      }
      // A rectangle that lies in one rectangle of the other side is the whole answer (a child's
      // bounds in a parent's clip).
      if (bOne && HoldsWhole(a, b.m_InPlace[0])) {
        *this = b;
        return;
      }
      if (aOne && HoldsWhole(b, a.m_InPlace[0])) {
        *this = a;
        return;
      }
      break;
    case Operation::Exclude:
      if (a.IsEmpty() || (bOne && Encloses(b.m_InPlace[0], a.BoundingBox()))) {
        Assign({});
        return;
      }
      if (b.IsEmpty() || a.BoundingBox().Intersect(b.BoundingBox()).IsEmpty()) {
        *this = a;
        return;
      }
      break;
  }
  Assign(Combine(a.Rects(), b.Rects(), operation));
}

bool Region::Contains(int32_t x, int32_t y) const {
  const std::span<const Rect> rects = Rects();
  return std::any_of(rects.begin(), rects.end(),
                     [x, y](const Rect& r) { return r.Contains(x, y); });
}

bool Region::Intersects(const Rect& rect) const {
  const std::span<const Rect> rects = Rects();
  return std::any_of(rects.begin(), rects.end(),
                     [&rect](const Rect& r) { return !r.Intersect(rect).IsEmpty(); });
}

Rect Region::BoundingBox() const {
  const std::span<const Rect> rects = Rects();
  if (rects.empty()) return {};
  // Sorted by top: the first and last bands give top and bottom.
  Rect box{rects.front().Left, rects.front().Top, rects.front().Right, rects.back().Bottom};
  for (const Rect& r : rects) {
    box.Left = std::min(box.Left, r.Left);
    box.Right = std::max(box.Right, r.Right);
  }
  return box;
}

// Both inputs are canonical: disjoint rectangles in bands of one top and bottom, sorted by
// top and then left, touching pieces merged. The sweep moves down from one band edge of
// either input to the next; between two edges each input has one band or none, and the
// columns of the two bands are combined from left to right. A band that repeats the columns
// of the band just above it is merged into it, so the result is canonical too.
std::span<const Rect> Region::Combine(std::span<const Rect> a, std::span<const Rect> b,
                                      Operation operation) {
  const auto keep = [operation](bool inA, bool inB) {
    switch (operation) {
      case Operation::Union:
        return inA || inB;
      case Operation::Intersect:
        return inA && inB;
      case Operation::Exclude:
        return inA && !inB;
    }
    return false;
  };
  thread_local std::vector<Rect> out;
  out.clear();
  std::size_t previousBand = 0, previousEnd = 0;  // the band written last, in `out`
  std::size_t ia = 0, ib = 0;                     // the current band of each input
  int32_t y = kBefore;
  while (ia < a.size() || ib < b.size()) {
    if (operation == Operation::Intersect && (ia == a.size() || ib == b.size())) break;
    if (operation == Operation::Exclude && ia == a.size()) break;
    const int32_t nextTop =
        std::min(ia < a.size() ? a[ia].Top : kBeyond, ib < b.size() ? b[ib].Top : kBeyond);
    y = std::max(y, nextTop);
    const bool inA = ia < a.size() && a[ia].Top <= y;
    const bool inB = ib < b.size() && b[ib].Top <= y;
    int32_t bottom = kBeyond;
    if (ia < a.size()) bottom = std::min(bottom, inA ? a[ia].Bottom : a[ia].Top);
    if (ib < b.size()) bottom = std::min(bottom, inB ? b[ib].Bottom : b[ib].Top);
    const std::size_t aEnd = inA ? BandEnd(a, ia) : ia;
    const std::size_t bEnd = inB ? BandEnd(b, ib) : ib;

    // The columns of this stretch, left to right.
    const std::size_t bandStart = out.size();
    std::size_t i = ia, j = ib;
    int32_t x = kBefore;
    while (i < aEnd || j < bEnd) {
      const bool inSpanA = i < aEnd && a[i].Left <= x;
      const bool inSpanB = j < bEnd && b[j].Left <= x;
      int32_t next = kBeyond;
      if (i < aEnd) next = std::min(next, inSpanA ? a[i].Right : a[i].Left);
      if (j < bEnd) next = std::min(next, inSpanB ? b[j].Right : b[j].Left);
      if (x != kBefore && keep(inSpanA, inSpanB)) {
        if (out.size() > bandStart && out.back().Right == x) {
          out.back().Right = next;
        } else {
          out.push_back({x, y, next, bottom});
        }
      }
      x = next;
      if (inSpanA && a[i].Right == x) ++i;
      if (inSpanB && b[j].Right == x) ++j;
    }

    // Merged into the band above when it continues it with the same columns.
    const std::size_t count = out.size() - bandStart;
    if (count > 0) {
      const bool continues =
          previousEnd > previousBand && out[previousBand].Bottom == y &&
          previousEnd - previousBand == count &&
          std::equal(out.begin() + static_cast<std::ptrdiff_t>(bandStart), out.end(),
                     out.begin() + static_cast<std::ptrdiff_t>(previousBand),
                     [](const Rect& lower, const Rect& upper) {
                       return lower.Left == upper.Left && lower.Right == upper.Right;
                     });
      if (continues) {
        for (std::size_t k = previousBand; k < previousEnd; ++k) out[k].Bottom = bottom;
        out.resize(bandStart);
      } else {
        previousBand = bandStart;
        previousEnd = out.size();
      }
    }
    y = bottom;
    if (inA && a[ia].Bottom == y) ia = aEnd;
    if (inB && b[ib].Bottom == y) ib = bEnd;
  }
  return out;
}

}  // namespace ui
