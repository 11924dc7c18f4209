#pragma once
// Where an untransformed drawing of one image into another lands, after clipping against
// the destination's size and clip rectangle and against the source's size.

#include <cstdint>
#include <optional>

#include "DIB/pixels/DIBBlit.h"
#include "DIB/pixels/DIBPixels.h"

namespace dib {

struct InclusiveRect {  // Right and Bottom belong to the rectangle
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
  friend bool operator==(const InclusiveRect&, const InclusiveRect&) = default;
};

// Picture coordinates (row 0 at the top) of the area to blend.
struct DrawArea {
  int32_t destX;
  int32_t destY;
  int32_t srcX;
  int32_t srcY;
  int32_t columns;
  int32_t rows;
};

// The area of source (width x height from srcX, srcY) drawn at destX, destY into dest,
// limited to clip; none when nothing is left. A result always lies inside both images.
std::optional<DrawArea> ClipDraw(int32_t destX, int32_t destY, int32_t width, int32_t height,
                                 uint16_t srcX, uint16_t srcY, int32_t sourceWidth,
                                 int32_t sourceHeight, int32_t destWidth, int32_t destHeight,
                                 const InclusiveRect& clip);

// The rows of a clipped area, top row first, as the blit routines take them.
BlitJob MakeBlitJob(const DrawArea& area, const flux::MutablePixelView& dest,
                    const flux::PixelView& source);

}  // namespace dib
