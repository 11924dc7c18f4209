#pragma once
// Image pixels as the skinned-control library stores them: 32 bits each, read as a
// little-endian word 0xMMRRGGBB (MM = per-pixel mask), rows bottom-up without padding.

#include <cstdint>

namespace dib {

struct PixelBlock {
  uint32_t* bits;  // first stored row, which is the bottom row of the picture; not owned
  int32_t width;
  int32_t height;
};

struct ConstPixelBlock {
  const uint32_t* bits;  // not owned
  int32_t width;
  int32_t height;
};

inline constexpr uint32_t kColorBits = 0x00FFFFFFu;
inline constexpr uint32_t kMaskBits = 0xFF000000u;

inline constexpr uint8_t MaskOf(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}

}  // namespace dib
