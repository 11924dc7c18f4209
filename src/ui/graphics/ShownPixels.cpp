#include "ui/graphics/ShownPixels.h"

#include <algorithm>
#include <cstring>

namespace ui {

bool ShownPixels::Keep(const Surface& surface, const Rect& area) {
  const Rect part = area.Intersect(surface.BoundsRect());
  if (part.IsEmpty()) return true;  // nothing to show there
  for (const Kept& kept : m_Kept) {
    if (!kept.area.Intersect(part).IsEmpty()) return false;
  }
  const auto width = static_cast<std::size_t>(part.Width());
  const std::size_t offset = m_Used;
  m_Used += width * static_cast<std::size_t>(part.Height());
  if (m_Pixels.size() < m_Used) m_Pixels.resize(m_Used);
  uint32_t* to = m_Pixels.data() + offset;
  for (int32_t y = part.Top; y < part.Bottom; ++y, to += width) {
    std::memcpy(to, surface.ScanLine(y) + part.Left, width * sizeof(uint32_t));
  }
  m_Kept.push_back({part, offset});
  return true;
}

Rect ShownPixels::Differing(const Surface& surface, const Kept& kept) const {
  const Rect& area = kept.area;
  const auto width = static_cast<std::size_t>(area.Width());
  const uint32_t* before = m_Pixels.data() + kept.offset;
  Rect box;
  for (int32_t y = area.Top; y < area.Bottom; ++y, before += width) {
    const uint32_t* now = surface.ScanLine(y) + area.Left;
    if (std::memcmp(now, before, width * sizeof(uint32_t)) == 0) continue;
    const auto mismatch = std::mismatch(now, now + width, before).first - now;
    std::size_t last = width;
    while (now[last - 1] == before[last - 1]) --last;
    const Rect row{area.Left + static_cast<int32_t>(mismatch), y,
                   area.Left + static_cast<int32_t>(last), y + 1};
    box = box.Union(row);
  }
  return box;
}

Region ShownPixels::Changed(const Surface& surface, Region painted) const {
  for (const Kept& kept : m_Kept) {
    painted = painted.Exclude(Region(kept.area)).Union(Region(Differing(surface, kept)));
  }
  return painted;
}

void ShownPixels::Clear() {
  m_Kept.clear();
  m_Used = 0;
}

}  // namespace ui
