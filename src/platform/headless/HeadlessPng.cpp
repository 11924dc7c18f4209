// Saving a presented frame as an 8-bit RGB PNG (the mask byte is not stored).
#include "platform/headless/HeadlessBackend.h"

#ifdef FLUX_HAVE_PNG
#include <png.h>

#include <cstdio>
#endif

namespace platform {

bool HeadlessBackend::SaveFramePng(void* window, const std::string& fileName) const {
  const Frame* frame = FrameOf(window);
  if (!frame) return false;
#ifdef FLUX_HAVE_PNG
  std::vector<uint8_t> rgb;
  rgb.reserve(frame->bits.size() * 3);
  for (int32_t y = 0; y < frame->height; ++y) {
    for (int32_t x = 0; x < frame->width; ++x) {
      const uint32_t p = frame->Pixel(x, y);
      rgb.insert(rgb.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                             static_cast<uint8_t>(p)});
    }
  }
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame->width);
  image.height = static_cast<png_uint_32>(frame->height);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
  return std::fclose(file) == 0 && written;
#else
  (void)fileName;
  return false;
#endif
}

}  // namespace platform
