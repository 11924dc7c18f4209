#pragma once
// A 32-bit pixel block: bytes blue, green, red, mask; rows bottom-up without padding, so the
// first stored row is the bottom row of the picture.

#include <cstdint>
#include <vector>

#include "ui/graphics/Geometry.h"

namespace ui {

class Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height);  // every pixel 0

  // New size, every pixel 0; negative sides count as 0.
  void SetSize(int32_t width, int32_t height);
  // New size on the same storage when it is large enough, so that a surface resized again and
  // again allocates only for its largest size. The pixels are those the storage held (in
  // storage order), 0 where it had to grow.
  void Reshape(int32_t width, int32_t height);
  int32_t Width() const { return m_Width; }
  int32_t Height() const { return m_Height; }
  Rect BoundsRect() const { return {0, 0, m_Width, m_Height}; }

  uint32_t* Bits() { return m_Bits.data(); }  // the first stored row
  const uint32_t* Bits() const { return m_Bits.data(); }
  uint32_t* ScanLine(int32_t y) { return m_Bits.data() + StorageOffset(0, y); }  // y = 0: top
  const uint32_t* ScanLine(int32_t y) const { return m_Bits.data() + StorageOffset(0, y); }

  // Picture coordinates; the caller keeps them inside the surface.
  uint32_t Pixel(int32_t x, int32_t y) const { return m_Bits[StorageOffset(x, y)]; }
  void SetPixel(int32_t x, int32_t y, uint32_t pixel) { m_Bits[StorageOffset(x, y)] = pixel; }

  friend bool operator==(const Surface&, const Surface&) = default;

 private:
  std::size_t StorageOffset(int32_t x, int32_t y) const {
    return static_cast<std::size_t>(m_Height - 1 - y) * static_cast<std::size_t>(m_Width) +
           static_cast<std::size_t>(x);
  }

  int32_t m_Width = 0;
  int32_t m_Height = 0;
  std::vector<uint32_t> m_Bits;
};

}  // namespace ui
