#include "DIB/pixels/DIBClip.h"

namespace dib {

std::optional<DrawArea> ClipDraw(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                 uint16_t srcX, uint16_t srcY, int32_t sourceWidth,
                                 int32_t sourceHeight, int32_t destWidth, int32_t destHeight,
                                 const InclusiveRect& clip) {
  // 64 bits: the shifts below can carry a 16-bit source position past 65535.
  int64_t dx = destX, dy = destY, w = width, h = height, sx = srcX, sy = srcY;
  if (dx < clip.Left) {
    const int64_t k = clip.Left - dx;
    sx += k, w -= k, dx = clip.Left;
  }
  if (dy < clip.Top) {
    const int64_t k = clip.Top - dy;
    sy += k, h -= k, dy = clip.Top;
  }
  if (dx + w > clip.Right) w = clip.Right - dx + 1;
  if (dy + h > clip.Bottom) h = clip.Bottom - dy + 1;
  if (sx + w > sourceWidth) w = sourceWidth - sx;
  if (sy + h > sourceHeight) h = sourceHeight - sy;
  if (w <= 0 || h <= 0) return std::nullopt;
  if (dx > destWidth || dy > destHeight || sourceWidth + dx < 0 || sourceHeight + dy < 0) {
    return std::nullopt;
  }
  if (dx + w > destWidth) w = destWidth - dx;
  if (dy + h > destHeight) h = destHeight - dy;
  if (w <= 0 || h <= 0) return std::nullopt;
  // A clip rectangle reaching left of column 0 or above row 0 breaks the image's own rule;
  // drawing outside either image is refused rather than trusted.
  if (dx < 0 || dy < 0 || sx < 0 || sy < 0) return std::nullopt;
  return DrawArea{static_cast<int32_t>(dx), static_cast<int32_t>(dy), static_cast<int32_t>(sx),
                  static_cast<int32_t>(sy), static_cast<int32_t>(w),  static_cast<int32_t>(h)};
}

BlitJob MakeBlitJob(const DrawArea& area, const flux::MutablePixelView& dest,
                    const flux::PixelView& source) {
  const auto at = [](auto* bits, int32_t width, int32_t height, int32_t x, int32_t y) {
    return bits + static_cast<std::ptrdiff_t>(height - 1 - y) * width + x;
  };
  return BlitJob{at(dest.bits, dest.width, dest.height, area.destX, area.destY),
                 -static_cast<std::ptrdiff_t>(dest.width),
                 at(source.bits, source.width, source.height, area.srcX, area.srcY),
                 -static_cast<std::ptrdiff_t>(source.width),
                 area.columns,
                 area.rows};
}

}  // namespace dib
