#pragma once
// The classic three-dimensional edge: light from the top left, shadow to the bottom right.

#include <cstdint>

#include "ui/graphics/Canvas.h"

namespace ui {

// Lines `width` pixels wide inside r: top and left in `topLeft`, bottom and right in
// `bottomRight`; r shrinks by the frame. Draws nothing more once r is empty.
void Frame3D(Canvas& canvas, Rect& r, Color topLeft, Color bottomRight, int32_t width);

}  // namespace ui
