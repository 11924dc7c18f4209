#pragma once
// Picture file formats, decoded into surfaces. Both raise GraphicError for data they cannot
// read in full.

#include <cstdint>
#include <span>

#include "ui/graphics/Surface.h"

namespace ui {

// JPEG through libjpeg: colour bytes from the image, mask bytes 0.
Surface DecodeJpeg(std::span<const uint8_t> data);

struct DecodedBitmap {
  Surface surface;
  int32_t bitsPerPixel;  // 24: mask bytes 0; 32: the file's fourth bytes are the mask bytes
};
// Windows bitmap files: 24 or 32 bits per pixel, uncompressed, bottom-up or top-down.
DecodedBitmap DecodeBmp(std::span<const uint8_t> data);

}  // namespace ui
