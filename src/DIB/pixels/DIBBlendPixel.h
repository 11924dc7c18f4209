#pragma once
// Per-pixel rules of the blit routines, as the portable rows apply them: every SIMD row gives
// the same bits.

#include <cstdint>

#include "DIB/pixels/DIBPixels.h"

namespace dib::pixel {

// ((s * a + d * (255 - a)) >> 8) + 1 per colour byte; the "+ 1" keeps the result in 1..255.
inline uint32_t BlendColor(uint32_t s, uint32_t d, uint32_t a) {
  const uint32_t inverse = 255 - a;
  uint32_t result = 0;
  for (uint32_t shift = 0; shift < 24; shift += 8) {
    const uint32_t blended =
        ((((s >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * inverse) >> 8) + 1;
    result |= blended << shift;
  }
  return result;
}

inline uint32_t Opacity(uint32_t s, uint32_t d, uint32_t opacity) {
  return BlendColor(s, d, opacity) | (d & kMaskBits);
}

inline uint32_t Masked(uint32_t s, uint32_t d) {
  return BlendColor(s, d, MaskOf(s)) | (d & kMaskBits);
}

inline uint32_t MaskedOpacity(uint32_t s, uint32_t d, uint32_t opacity) {
  return BlendColor(s, d, (MaskOf(s) * opacity) >> 8) | (d & kMaskBits);
}

inline bool IsKey(uint32_t s, uint32_t key) {
  return ((s ^ key) & kColorBits) == 0;
}

inline uint32_t Transparent(uint32_t s, uint32_t d, uint32_t key) {
  return IsKey(s, key) ? d : (s & kColorBits);
}

inline uint32_t TransparentOpacity(uint32_t s, uint32_t d, uint32_t key, uint32_t opacity) {
  return IsKey(s, key) ? d : (BlendColor(s, d, opacity) | (s & kMaskBits));
}

inline uint32_t Alpha(uint32_t s, uint32_t d) {
  return (d & kColorBits) | (s & kMaskBits);
}

inline uint32_t MaskAsGrey(uint32_t s) {
  return (s >> 24) * 0x01010101u;
}

}  // namespace dib::pixel
