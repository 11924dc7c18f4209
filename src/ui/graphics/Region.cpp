#include "ui/graphics/Region.h"

#include <algorithm>
#include <utility>

#include "ui/model/Exception.h"

namespace ui {
namespace {

using Spans = std::vector<std::pair<int32_t, int32_t>>;  // [left, right), sorted, disjoint

// The columns the rectangles cover in a band that none of their edges cuts.
Spans SpansInBand(std::span<const Rect> rects, int32_t top, int32_t bottom) {
  Spans spans;
  for (const Rect& r : rects) {
    if (!r.IsEmpty() && r.Top <= top && r.Bottom >= bottom) spans.emplace_back(r.Left, r.Right);
  }
  std::sort(spans.begin(), spans.end());
  Spans merged;
  for (const auto& span : spans) {
    if (!merged.empty() && span.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, span.second);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

// Whether x lies in a span; x only grows between calls, so the cursor only moves forward.
bool Covers(const Spans& spans, std::size_t& cursor, int32_t x) {
  while (cursor < spans.size() && spans[cursor].second <= x) ++cursor;
  return cursor < spans.size() && spans[cursor].first <= x;
}

template <typename Keep>
Spans CombineSpans(const Spans& a, const Spans& b, Keep keep) {
  std::vector<int32_t> edges;
  for (const Spans* spans : {&a, &b}) {
    for (const auto& s : *spans) edges.insert(edges.end(), {s.first, s.second});
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  Spans result;
  std::size_t inA = 0, inB = 0;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    if (!keep(Covers(a, inA, edges[i]), Covers(b, inB, edges[i]))) continue;
    if (!result.empty() && result.back().second == edges[i]) {
      result.back().second = edges[i + 1];
    } else {
      result.emplace_back(edges[i], edges[i + 1]);
    }
  }
  return result;
}

int32_t ReadInt32(std::span<const uint8_t> bytes, std::size_t offset) {
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= uint32_t{bytes[offset + i]} << (8 * i);
  return static_cast<int32_t>(value);
}

}  // namespace

Region::Region(const Rect& rect) {
  if (!rect.IsEmpty()) m_Rects.push_back(rect);
}

Region Region::FromRects(std::span<const Rect> rects) {
  return Combine(rects, {}, Operation::Union);
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
  return Combine(m_Rects, other.m_Rects, Operation::Union);
}
Region Region::Intersect(const Region& other) const {
  return Combine(m_Rects, other.m_Rects, Operation::Intersect);
}
Region Region::Exclude(const Region& other) const {
  return Combine(m_Rects, other.m_Rects, Operation::Exclude);
}

Region Region::Offset(int32_t dx, int32_t dy) const {
  Region moved = *this;
  for (Rect& r : moved.m_Rects) r = r.Offset(dx, dy);
  return moved;
}

bool Region::Contains(int32_t x, int32_t y) const {
  return std::any_of(m_Rects.begin(), m_Rects.end(),
                     [x, y](const Rect& r) { return r.Contains(x, y); });
}

Rect Region::BoundingBox() const {
  if (m_Rects.empty()) return {};
  Rect box = m_Rects.front();
  for (const Rect& r : m_Rects) {
    box = {std::min(box.Left, r.Left), std::min(box.Top, r.Top), std::max(box.Right, r.Right),
           std::max(box.Bottom, r.Bottom)};
  }
  return box;
}

// Cuts both inputs into bands at every top and bottom edge, combines the covered columns of
// each band, and merges a band into the one above when their columns are the same.
Region Region::Combine(std::span<const Rect> a, std::span<const Rect> b, Operation operation) {
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
  std::vector<int32_t> rows;
  for (std::span<const Rect> rects : {a, b}) {
    for (const Rect& r : rects) {
      if (!r.IsEmpty()) rows.insert(rows.end(), {r.Top, r.Bottom});
    }
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

  Region result;
  Spans previous;
  std::size_t previousStart = 0;
  int32_t previousBottom = 0;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    const int32_t top = rows[i], bottom = rows[i + 1];
    Spans spans = CombineSpans(SpansInBand(a, top, bottom), SpansInBand(b, top, bottom), keep);
    if (spans.empty()) continue;
    if (spans == previous && previousBottom == top) {
      for (std::size_t k = previousStart; k < result.m_Rects.size(); ++k)
        result.m_Rects[k].Bottom = bottom;
    } else {
      previousStart = result.m_Rects.size();
      for (const auto& [left, right] : spans) result.m_Rects.push_back({left, top, right, bottom});
      previous = std::move(spans);
    }
    previousBottom = bottom;
  }
  return result;
}

}  // namespace ui
