#include "ui/graphics/ShownPixels.h"

#include <algorithm>
#include <cstring>

namespace ui {

void ShownPixels::Reset(int32_t width, int32_t height) {
  m_Pixels.Reshape(width, height);
}

Rect ShownPixels::Differing(const Surface& surface, const Rect& area) const {
  const auto width = static_cast<std::size_t>(area.Width());
  Rect box;
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const uint32_t* now = surface.ScanLine(y) + area.Left;
    const uint32_t* shown = m_Pixels.ScanLine(y) + area.Left;
    if (std::memcmp(now, shown, width * sizeof(uint32_t)) == 0) continue;
    const auto first = std::mismatch(now, now + width, shown).first - now;
    std::size_t last = width;
    while (now[last - 1] == shown[last - 1]) --last;
    box = box.Union({area.Left + static_cast<int32_t>(first), y,
                     area.Left + static_cast<int32_t>(last), y + 1});
  }
  return box;
}

Rect ShownPixels::Changed(const Surface& surface, const Region& painted) const {
  const Rect bounds = surface.BoundsRect().Intersect(m_Pixels.BoundsRect());
  Rect box;
  for (const Rect& r : painted.Rects()) {
    if (const Rect part = r.Intersect(bounds); !part.IsEmpty()) {
      box = box.Union(Differing(surface, part));
    }
  }
  return box;
}

void ShownPixels::Presented(const Surface& surface, const Rect& area) {
  const Rect part = area.Intersect(surface.BoundsRect()).Intersect(m_Pixels.BoundsRect());
  if (part.IsEmpty()) return;
  const auto bytes = static_cast<std::size_t>(part.Width()) * sizeof(uint32_t);
  for (int32_t y = part.Top; y < part.Bottom; ++y) {
    std::memcpy(m_Pixels.ScanLine(y) + part.Left, surface.ScanLine(y) + part.Left, bytes);
  }
}

}  // namespace ui
