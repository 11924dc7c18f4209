#include "testsupport/ui/SurfacePicture.h"

namespace uitest {

png::Picture ColoursOf(const ui::Surface& surface) {
  png::Picture picture{surface.Width(), surface.Height(), {}};
  picture.pixels.reserve(static_cast<std::size_t>(surface.Width()) *
                         static_cast<std::size_t>(surface.Height()));
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x)
      picture.pixels.push_back(surface.Pixel(x, y) & 0xFFFFFF);
  }
  return picture;
}

}  // namespace uitest
