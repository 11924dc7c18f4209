#pragma once
// A drawing as an RGB PNG file keeps it, for golden pictures that a person can open and look
// at: the colours only (the mask byte is not stored), rows from the top.

#include "png/Picture.h"
#include "ui/graphics/Surface.h"

namespace uitest {

png::Picture ColoursOf(const ui::Surface& surface);

}  // namespace uitest
