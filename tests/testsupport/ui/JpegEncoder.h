#pragma once
// Surfaces as baseline JPEG data (the mask byte is not stored), made by the library the picture
// decoder uses. Fixed settings with exact integer arithmetic: the same surface always gives the
// same bytes.

#include <cstdint>
#include <vector>

#include "ui/graphics/Surface.h"

namespace uitest {

std::vector<uint8_t> EncodeJpeg(const ui::Surface& picture, int quality);

}  // namespace uitest
