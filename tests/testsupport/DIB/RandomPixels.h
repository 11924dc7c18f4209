#pragma once
// Seeded random pixels for differential tests, biased towards the bytes where blending goes
// wrong first (0x00 and 0xFF), the same on every platform.

#include <cstdint>
#include <random>
#include <vector>

namespace dibtest {

class RandomPixels {
 public:
  explicit RandomPixels(uint32_t seed) : m_Engine(seed) {}

  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(m_Engine() % bound); }

  uint8_t Byte() {
    switch (Below(4)) {
      case 0:
        return 0x00;
      case 1:
        return 0xFF;
      default:
        return static_cast<uint8_t>(m_Engine());
    }
  }

  uint32_t Pixel() {
    return uint32_t{Byte()} | uint32_t{Byte()} << 8 | uint32_t{Byte()} << 16 |
           uint32_t{Byte()} << 24;
  }

  // A few colours repeated, so that colour keys find matches.
  std::vector<uint32_t> Image(std::size_t count, uint32_t key) {
    std::vector<uint32_t> pixels(count);
    for (auto& p : pixels) p = Below(4) == 0 ? (key & 0xFFFFFF) | (Pixel() & 0xFF000000) : Pixel();
    return pixels;
  }

 private:
  std::mt19937 m_Engine;
};

}  // namespace dibtest
