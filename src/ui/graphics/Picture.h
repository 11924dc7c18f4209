#pragma once
// A picture read from a JPEG or bitmap file (or the same bytes in memory), drawn stretched.

#include <cstdint>
#include <span>
#include <string>

#include "ui/graphics/DeviceContext.h"
#include "ui/graphics/Geometry.h"
#include "ui/graphics/Surface.h"

namespace ui {

enum class PictureFormat : uint8_t { None, Bitmap, Jpeg };

class Picture {
 public:
  // The format is told by the data's first bytes. A picture that cannot be read raises
  // GraphicError and leaves this one as it was.
  void LoadFromFile(const std::string& fileName);
  void LoadFromMemory(std::span<const uint8_t> data);

  bool Empty() const { return m_Format == PictureFormat::None; }
  PictureFormat Format() const { return m_Format; }
  int32_t Width() const { return m_Pixels.Width(); }
  int32_t Height() const { return m_Pixels.Height(); }
  // 32 for a bitmap whose fourth bytes are a mask, else 24.
  int32_t BitsPerPixel() const { return m_BitsPerPixel; }
  const Surface& Pixels() const { return m_Pixels; }

  // The whole picture stretched over rect (logical coordinates of dc), nearest neighbour.
  void Draw(DeviceContext& dc, const Rect& rect) const;

 private:
  PictureFormat m_Format = PictureFormat::None;
  int32_t m_BitsPerPixel = 0;
  Surface m_Pixels;
};

}  // namespace ui
