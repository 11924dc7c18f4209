#include "PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace uitest {
namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

}  // namespace

bool WritePng(const std::string& fileName, const ui::Surface& surface) {
  File file(std::fopen(fileName.c_str(), "wb"), std::fclose);
  if (!file) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x) {
      const uint32_t p = surface.Pixel(x, y);
      rgb.insert(rgb.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                             static_cast<uint8_t>(p)});
    }
  }
  return png_image_write_to_stdio(&image, file.get(), 0, rgb.data(), 0, nullptr) != 0;
}

std::optional<ui::Surface> ReadPng(const std::string& fileName) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, fileName.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return std::nullopt;
  ui::Surface surface(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  const uint8_t* in = rgb.data();
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x, in += 3) {
      surface.SetPixel(x, y, uint32_t{in[0]} << 16 | uint32_t{in[1]} << 8 | in[2]);
    }
  }
  return surface;
}

}  // namespace uitest
