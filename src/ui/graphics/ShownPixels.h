#pragma once
// What a window showed of the areas about to be painted, kept so that afterwards only what a
// paint changed goes to the window system. An area is worth keeping only while the surface
// there still equals the screen: nothing painted there since the last present.

#include <cstdint>
#include <vector>

#include "ui/graphics/Geometry.h"
#include "ui/graphics/Region.h"
#include "ui/graphics/Surface.h"

namespace ui {

class ShownPixels {
 public:
  // Keeps `area` (clipped to the surface) as the screen shows it now, unless it overlaps an
  // area kept already; false when not kept.
  bool Keep(const Surface& surface, const Rect& area);
  // `painted` with every kept area replaced by the box around the pixels that now differ in
  // `surface`: what has to be presented.
  Region Changed(const Surface& surface, Region painted) const;
  // Forgets every kept area; the storage stays for the next paint.
  void Clear();

 private:
  struct Kept {
    Rect area;
    std::size_t offset;  // of its first (top) row in m_Pixels; rows top-down, area-wide
  };
  Rect Differing(const Surface& surface, const Kept& kept) const;

  std::vector<Kept> m_Kept;
  // The kept rows, in the first m_Used pixels. It only grows, so that keeping an area costs
  // its copy and nothing else.
  std::vector<uint32_t> m_Pixels;
  std::size_t m_Used = 0;
};

}  // namespace ui
