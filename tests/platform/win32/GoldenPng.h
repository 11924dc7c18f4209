#pragma once
// The committed golden pictures, read without libpng (the Windows build has none): 8-bit RGB or
// RGBA, not interlaced, as the headless tests write them; inflated with zlib.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win32test {

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
  uint32_t Pixel(int32_t x, int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// None for a file that is missing, damaged or of another kind.
std::optional<Picture> ReadPng(const std::string& fileName);

}  // namespace win32test
