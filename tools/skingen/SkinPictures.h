#pragma once
// The editor's two pictures, drawn to be stored as JPEG data.

#include "ui/graphics/Surface.h"

namespace skingen {

// The window's background: a light grey texture of 20 x 19, stretched over the window.
ui::Surface BackgroundTexture();
// The About panel's close button: a light square of 20 x 20 with a dark diagonal cross.
ui::Surface CloseSymbol();

}  // namespace skingen
