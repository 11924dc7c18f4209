#pragma once
// Rotation and scaling of an image into another about both centres, in 8-bit fixed point.

#include <array>
#include <cstdint>
#include <optional>

#include "DIB/pixels/DIBPixels.h"

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

// Where each destination pixel samples the source: pixel (column j, row i) lies at
// u = uStart + i * uy + j * ux, v = vStart + i * vy + j * vx, in 1/256 source pixels from the
// source's centre. It is inside the source, and takes TransformSourcePixel, when u / 256 and
// v / 256 truncated toward zero lie strictly between -halfWidth and halfWidth, and -halfHeight
// and halfHeight; outside it takes the background.
struct TransformWalk {
  int64_t ux, vx, uy, vy, uStart, vStart;
  int32_t halfWidth, halfHeight;  // of the source
};
// The walk from dest into source; none when a scale makes the source vanish.
std::optional<TransformWalk> MakeTransformWalk(const flux::MutablePixelView& dest,
                                               const flux::PixelView& source,
                                               const TransformSettings& settings);
// The source pixel at u, v, which must be inside the source.
uint32_t TransformSourcePixel(const flux::PixelView& source, const TransformWalk& walk, int64_t u,
                              int64_t v);

// Fills every pixel of dest with source rotated and scaled, as the walk says; dest is left
// alone when a scale makes the source vanish.
void TransformPixels(const flux::MutablePixelView& dest, const flux::PixelView& source,
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
