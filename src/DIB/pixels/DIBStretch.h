#pragma once
// Nearest-neighbour resizing with 16-bit fractional steps.

#include <cstdint>

#include "DIB/pixels/DIBPixels.h"

namespace dib {

// Source column of destination column j (0-based) when sourceWidth columns become destWidth.
int32_t StretchSourceColumn(int32_t j, int32_t sourceWidth, int32_t destWidth);
// Source storage row of destination storage row k; never past the last source row, which
// the plain rule would pick when the target is more than twice as tall as the source.
int32_t StretchSourceRow(int32_t k, int32_t sourceHeight, int32_t destHeight);

// Fills all of dest with source resized to dest's size by the two rules above; every pixel
// copied whole.
void StretchPixels(const flux::MutablePixelView& dest, const flux::PixelView& source);

}  // namespace dib
