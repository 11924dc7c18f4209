#pragma once
// Image pixels as the skinned-control library stores them: 32 bits each, read as a
// little-endian word 0xMMRRGGBB (MM = per-pixel mask), rows bottom-up without padding.

#include <cstdint>

#include "common/PixelView.h"

namespace dib {

inline constexpr uint32_t kColorBits = 0x00FFFFFFu;
inline constexpr uint32_t kMaskBits = 0xFF000000u;

inline constexpr uint8_t MaskOf(uint32_t pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}

}  // namespace dib
