#include "SkinPictures.h"

#include <cstdlib>

#include "SkinImages.h"

namespace skingen {

ui::Surface BackgroundTexture() {
  // Fine grain around a light grey from a fixed pseudo-random sequence, the same on every run.
  ui::Surface texture(20, 19);
  uint32_t state = 0x2004u;
  for (int32_t y = 0; y < texture.Height(); ++y) {
    for (int32_t x = 0; x < texture.Width(); ++x) {
      state = state * 1664525u + 1013904223u;
      const auto grain = static_cast<int32_t>(state >> 28);  // 0..15
      texture.SetPixel(x, y, Grey(static_cast<uint8_t>(0xC4 + grain - 8)));
    }
  }
  return texture;
}

ui::Surface CloseSymbol() {
  constexpr int32_t kSide = 20;
  ui::Surface symbol(kSide, kSide);
  for (int32_t y = 0; y < kSide; ++y) {
    for (int32_t x = 0; x < kSide; ++x) {
      const bool border = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
      // Two pixels wide along both diagonals, inside a three-pixel margin.
      const bool inside = x >= 3 && y >= 3 && x < kSide - 3 && y < kSide - 3;
      const bool cross = inside && (std::abs(x - y) <= 1 - (x > y) ||
                                    std::abs(x + y - (kSide - 1)) <= 1 - (x + y > kSide - 1));
      symbol.SetPixel(x, y, Grey(cross ? 0x30 : border ? 0xA0 : 0xEC));
    }
  }
  return symbol;
}

}  // namespace skingen
