#pragma once
// A view of 32-bit pixels as every layer stores them: rows bottom-up without padding, each pixel
// a little-endian word 0xMMRRGGBB (blue, green, red, then a mask or a spare byte). The view owns
// nothing. PixelView only reads; MutablePixelView is drawn through and reads as a PixelView.

#include <cstdint>

namespace flux {

template <typename Pixel>
struct BasicPixelView {
  Pixel* bits = nullptr;  // the first stored row, which is the bottom row of the picture
  int32_t width = 0;
  int32_t height = 0;

  operator BasicPixelView<const Pixel>() const { return {bits, width, height}; }
};

using PixelView = BasicPixelView<const uint32_t>;
using MutablePixelView = BasicPixelView<uint32_t>;

}  // namespace flux
