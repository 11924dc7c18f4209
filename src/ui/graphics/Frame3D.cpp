#include "ui/graphics/Frame3D.h"

namespace ui {

void Frame3D(Canvas& canvas, Rect& r, Color topLeft, Color bottomRight, int32_t width) {
  for (int32_t i = 0; i < width && !r.IsEmpty(); ++i) {
    canvas.brush = {topLeft, BrushStyle::Solid};
    canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    canvas.brush.color = bottomRight;
    canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
}

}  // namespace ui
