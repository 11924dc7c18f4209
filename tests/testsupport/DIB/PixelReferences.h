#pragma once
// The optimised pixel routines written the plain way, one pixel at a time from the rules their
// headers state: what the differential tests and the benchmarks compare them with.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "DIB/pixels/DIBPixels.h"
#include "DIB/pixels/DIBStretch.h"
#include "DIB/pixels/DIBTransform.h"

namespace dibtest {

// StretchPixels: every destination pixel from the column and row rules.
inline void StretchPixelsReference(const flux::MutablePixelView& dest,
                                   const flux::PixelView& source) {
  if (dest.width <= 0 || dest.height <= 0 || source.width <= 0 || source.height <= 0) return;
  for (int32_t k = 0; k < dest.height; ++k) {
    const int32_t row = dib::StretchSourceRow(k, source.height, dest.height);
    for (int32_t j = 0; j < dest.width; ++j) {
      const int32_t column = dib::StretchSourceColumn(j, source.width, dest.width);
      dest.bits[static_cast<std::ptrdiff_t>(k) * dest.width + j] =
          source.bits[static_cast<std::ptrdiff_t>(row) * source.width + column];
    }
  }
}

// TransformPixels: every destination pixel placed on the walk and tested on its own.
inline void TransformPixelsReference(const flux::MutablePixelView& dest,
                                     const flux::PixelView& source,
                                     const dib::TransformSettings& settings) {
  const std::optional<dib::TransformWalk> walk = dib::MakeTransformWalk(dest, source, settings);
  if (!walk) return;
  for (int32_t i = 0; i < dest.height; ++i) {
    for (int32_t j = 0; j < dest.width; ++j) {
      const int64_t u = walk->uStart + i * walk->uy + j * walk->ux;
      const int64_t v = walk->vStart + i * walk->vy + j * walk->vx;
      const int64_t tx = u / 256, ty = v / 256;
      const bool inside = -walk->halfHeight < ty && ty < walk->halfHeight &&
                          -walk->halfWidth < tx && tx < walk->halfWidth;
      dest.bits[static_cast<std::ptrdiff_t>(i) * dest.width + j] =
          inside ? dib::TransformSourcePixel(source, *walk, u, v) : settings.background;
    }
  }
}

}  // namespace dibtest
