#pragma once
// The editor's skin: the images of its two image lists, drawn as opaque pictures.

#include <string>
#include <vector>

#include "ui/graphics/Surface.h"

namespace skingen {

struct NamedPicture {
  std::string name;
  ui::Surface picture;  // every pixel opaque: mask byte 255
};

// The horizontal slider's track ends, track and pointer at 54 to 57 of 64; small placeholders
// elsewhere.
std::vector<NamedPicture> SliderSkinImages();
// The indicator's black track and green pointer at 4 and 5 of 6; placeholders elsewhere.
std::vector<NamedPicture> IndicatorSkinImages();

// An opaque pixel of equal red, green and blue.
uint32_t Grey(uint8_t level);

}  // namespace skingen
