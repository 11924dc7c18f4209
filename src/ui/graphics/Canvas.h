#pragma once
// Drawing on a device context with a pen, a brush and a font. Everything drawn goes through
// the context's origin and clip; pixels are written in image form with the mask byte 0.

#include <cstdint>
#include <functional>
#include <string_view>

#include "ui/graphics/Color.h"
#include "ui/graphics/DeviceContext.h"
#include "ui/graphics/Font.h"
#include "ui/graphics/Geometry.h"

namespace ui {

class Picture;

enum class PenStyle : uint8_t { Solid, Dash, Dot, Clear };
struct Pen {
  Color color = clBlack;
  PenStyle style = PenStyle::Solid;  // one pixel wide
};

enum class BrushStyle : uint8_t { Solid, Clear };
struct Brush {
  Color color = clWhite;
  BrushStyle style = BrushStyle::Solid;
};

class Canvas {
 public:
  explicit Canvas(DeviceContext* handle = nullptr);  // handle not owned

  void SetHandle(DeviceContext* handle) { m_Handle = handle; }
  DeviceContext* Handle() const { return m_Handle; }

  Pen pen;
  Brush brush;
  Font font;
  std::function<void()> onChange;  // after each drawing operation

  void FillRect(const Rect& rect);   // the brush over rect; a clear brush draws nothing
  void Rectangle(const Rect& rect);  // pen outline on rect's inner edge, brush inside it
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);  // from the pen position, its end pixel left out
  // (x, y) is the top-left corner of the text cell, which a solid brush fills first.
  void TextOut(int32_t x, int32_t y, std::string_view text);
  Size TextExtent(std::string_view text) const { return ui::TextExtent(font, text); }
  void StretchDraw(const Rect& rect, const Picture& picture);

 private:
  void Plot(int32_t x, int32_t y, uint32_t pixel);  // logical coordinates, clipped
  void Line(Point from, Point to);                  // to's pixel left out
  void Fill(const Rect& rect, uint32_t pixel);
  void DrawGlyph(const Glyph& glyph, int32_t penX, int32_t baseline, Color color);
  void Changed();

  DeviceContext* m_Handle;
  Point m_PenPosition;
  int32_t m_PatternStep = 0;  // dash pattern position, carried from line to line
};

}  // namespace ui
