#pragma once
// A picture as a PNG file holds it: rows from the top, each pixel a 32-bit 0xAARRGGBB (blue in
// the low byte, as the window systems and ui::Surface keep theirs). AA is the alpha of an RGBA
// file; an RGB file keeps no AA and reads as AA = 0, so that its pixels compare as plain colours.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace png {

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // width × height, row after row

  uint32_t Pixel(int32_t x, int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  bool operator==(const Picture&) const = default;
};

}  // namespace png
