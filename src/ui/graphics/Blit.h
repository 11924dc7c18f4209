#pragma once
// Block copies between drawing contexts: straight and stretched (nearest neighbour). Pixels
// are copied whole, mask byte included. Only the destination's clip limits a copy; source
// pixels outside the source surface are not read and leave the destination as it was.

#include <cstdint>

#include "ui/graphics/DeviceContext.h"
#include "ui/graphics/Geometry.h"
#include "ui/graphics/Surface.h"

namespace ui {

// width x height pixels from (srcX, srcY) of source to (x, y) of dest, logical coordinates.
void BitBlt(DeviceContext& dest, int32_t x, int32_t y, int32_t width, int32_t height,
            const DeviceContext& source, int32_t srcX, int32_t srcY);

// sourceRect of source stretched over destRect of dest, logical coordinates. Destination
// column i takes source column sourceRect.Left + ((2i + 1) x source width) div (2 x dest
// width), rows alike: each pixel takes the source pixel under its centre. Empty or reversed
// rectangles draw nothing.
void StretchBlt(DeviceContext& dest, const Rect& destRect, const DeviceContext& source,
                const Rect& sourceRect);
// The same from a surface, sourceRect in its picture coordinates.
void StretchBlt(DeviceContext& dest, const Rect& destRect, const Surface& source,
                const Rect& sourceRect);

}  // namespace ui
