#pragma once
// Rotation and scaling of an image into another about both centres, in 8-bit fixed point.

#include <array>
#include <cstdint>

#include "DIB/DIBPixels.h"

namespace dib {

// An angle in degrees, reduced by 360 until it is below 360 (370 gives 10, 65535 gives 15).
uint16_t NormalizeAngle(uint16_t angle);

// For every whole degree g: Round(256 x sin g), Round(256 x cos g) and the same of g + 90
// degrees, halves to even; built once.
struct RotationTables {
  std::array<int32_t, 360> S;
  std::array<int32_t, 360> C;
  std::array<int32_t, 360> S90;
  std::array<int32_t, 360> C90;
};
const RotationTables& GetRotationTables();

struct TransformSettings {
  uint16_t angle;       // degrees; reduced with NormalizeAngle
  double scaleX;        // percent
  double scaleY;        // percent
  uint32_t background;  // pixel for the area the rotated image does not cover
};

// Fills every pixel of dest with source rotated and scaled; dest is left alone when a scale
// makes the source vanish.
void TransformPixels(const PixelBlock& dest, const ConstPixelBlock& source,
                     const TransformSettings& settings);
// The same with the inside test made per pixel: the reference for TransformPixels.
void TransformPixelsReference(const PixelBlock& dest, const ConstPixelBlock& source,
                              const TransformSettings& settings);

struct BoxSize {
  int32_t width;
  int32_t height;
};
// The box that holds the whole transformed width x height area, each side raised to even; 0 x 0
// when a side would be beyond any image or is not a number.
BoxSize TransformedBoxSize(int32_t width, int32_t height, uint16_t angle, double scaleX,
                           double scaleY);

}  // namespace dib
