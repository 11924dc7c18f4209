#include "PngFile.h"

#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "FileIo.h"

namespace fluxhost {

void writePngFile(const std::string& path, const Picture& picture) {
  std::vector<uint8_t> rgb;
  rgb.reserve(picture.pixels.size() * 3);
  for (const uint32_t pixel : picture.pixels) {
    rgb.insert(rgb.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                           static_cast<uint8_t>(pixel)});
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  // The first call measures, the second encodes.
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
    throw std::runtime_error("cannot encode the picture for '" + path + "': " + image.message);
  }
  std::vector<uint8_t> encoded(size);
  if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) {
    throw std::runtime_error("cannot encode the picture for '" + path + "': " + image.message);
  }
  encoded.resize(size);
  writeBinaryFile(path, encoded);
}

}  // namespace fluxhost
