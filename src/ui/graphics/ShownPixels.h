#pragma once
// What a window shows: the pixels last presented there, so that after a paint only those that
// differ go to the window system. An area the window lost (exposed, or never presented) is
// presented whatever it holds.

#include <cstdint>

#include "ui/graphics/Geometry.h"
#include "ui/graphics/Region.h"
#include "ui/graphics/Surface.h"

namespace ui {

class ShownPixels {
 public:
  // A window of this size that shows nothing known yet.
  void Reset(int32_t width, int32_t height);
  // The box around the pixels of `painted` (clipped to the surface) that differ from what is
  // shown: what has to be presented, in one piece.
  Rect Changed(const Surface& surface, const Region& painted) const;
  // The window shows `area` of `surface` now.
  void Presented(const Surface& surface, const Rect& area);

 private:
  Rect Differing(const Surface& surface, const Rect& area) const;

  Surface m_Pixels;
};

}  // namespace ui
