#include "ui/graphics/Canvas.h"

#include <algorithm>
#include <cstdlib>

#include "ui/graphics/Picture.h"
#include "ui/graphics/PixelFill.h"

namespace ui {
namespace {

uint32_t PixelOf(Color color) {
  return ColorToPixel(ColorToRGB(color));
}

// The pen's on/off pattern, in pixels; Solid never goes off.
bool PenDrawsAt(PenStyle style, int32_t step) {
  switch (style) {
    case PenStyle::Solid:
      return true;
    case PenStyle::Dash:
      return step % 24 < 18;
    case PenStyle::Dot:
      return step % 6 < 3;
    case PenStyle::Clear:
      return false;
  }
  return false;
}

// Each colour byte (text x coverage + background x (255 - coverage) + 127) / 255, the mask
// byte 0. Red and blue are blended side by side in one word; the division is exact by shifts
// for every sum below 65535, and the sums stay below 65153.
uint32_t BlendCoverage(uint32_t text, uint32_t background, uint32_t coverage) {
  const auto divide = [](uint32_t sums) {
    return ((sums + 0x00010001 + ((sums >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
  };
  const uint32_t rest = 255 - coverage;
  const uint32_t redBlue = (text & 0xFF00FF) * coverage + (background & 0xFF00FF) * rest + 0x7F007F;
  const uint32_t green = ((text >> 8) & 0xFF) * coverage + ((background >> 8) & 0xFF) * rest + 0x7F;
  return divide(redBlue) | divide(green) << 8;
}

}  // namespace

Canvas::Canvas(DeviceContext* handle) : m_Handle(handle) {}

void Canvas::Changed() {
  if (onChange) onChange();
}

void Canvas::Fill(const Rect& rect, uint32_t pixel) {
  Surface* surface = m_Handle ? m_Handle->GetSurface() : nullptr;
  if (!surface) return;
  m_Handle->ForEachVisiblePart(m_Handle->ToDevice(rect), [&](const Rect& part) {
    // Whole rows follow each other in storage, the bottom one first: one run.
    if (part.Width() == surface->Width()) {
      FillPixels(surface->ScanLine(part.Bottom - 1),
                 static_cast<std::size_t>(part.Width()) * static_cast<std::size_t>(part.Height()),
                 pixel);
      return;
    }
    for (int32_t y = part.Bottom - 1; y >= part.Top; --y) {
      FillPixels(surface->ScanLine(y) + part.Left, static_cast<std::size_t>(part.Width()), pixel);
    }
  });
}

void Canvas::Plot(int32_t x, int32_t y, uint32_t pixel) {
  Fill({x, y, x + 1, y + 1}, pixel);
}

void Canvas::FillRect(const Rect& rect) {
  if (brush.style == BrushStyle::Clear) return;
  Fill(rect, PixelOf(brush.color));
  Changed();
}

void Canvas::Rectangle(const Rect& rect) {
  if (rect.IsEmpty()) return;
  if (brush.style == BrushStyle::Solid) {
    Fill({rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1}, PixelOf(brush.color));
  }
  // Once round the inner edge; each side leaves out its end, which starts the next side.
  const Point corners[] = {{rect.Left, rect.Top},
                           {rect.Right - 1, rect.Top},
                           {rect.Right - 1, rect.Bottom - 1},
                           {rect.Left, rect.Bottom - 1}};
  m_PatternStep = 0;
  for (std::size_t i = 0; i < 4; ++i) Line(corners[i], corners[(i + 1) % 4]);
  if (rect.Width() == 1 && rect.Height() == 1) Line(corners[2], {corners[2].X + 1, corners[2].Y});
  Changed();
}

void Canvas::MoveTo(int32_t x, int32_t y) {
  m_PenPosition = {x, y};
  m_PatternStep = 0;
}

void Canvas::LineTo(int32_t x, int32_t y) {
  Line(m_PenPosition, {x, y});
  m_PenPosition = {x, y};
  Changed();
}

// Bresenham, stepping along the longer axis.
void Canvas::Line(Point from, Point to) {
  const uint32_t pixel = PixelOf(pen.color);
  const int32_t dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  const int32_t sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int32_t error = dx + dy;
  for (Point p = from; p != to;) {
    if (PenDrawsAt(pen.style, m_PatternStep++)) Plot(p.X, p.Y, pixel);
    const int32_t twice = 2 * error;
    if (twice >= dy) error += dy, p.X += sx;
    if (twice <= dx) error += dx, p.Y += sy;
  }
}

void Canvas::DrawGlyph(const Glyph& glyph, int32_t penX, int32_t baseline, Color color) {
  Surface* surface = m_Handle->GetSurface();
  const uint32_t text = PixelOf(color);
  const uint8_t* coverage = EmbeddedCoverage() + glyph.offset;
  const Rect box =
      m_Handle->ToDevice(Bounds(penX + glyph.left, baseline - glyph.top, glyph.width, glyph.rows));
  m_Handle->ForEachVisiblePart(box, [&](const Rect& part) {
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
      uint32_t* row = surface->ScanLine(y);
      const uint8_t* cover = coverage + (y - box.Top) * glyph.width - box.Left;
      for (int32_t x = part.Left; x < part.Right; ++x) {
        if (cover[x] != 0) row[x] = BlendCoverage(text, row[x], cover[x]);
      }
    }
  });
}

void Canvas::TextOut(int32_t x, int32_t y, std::string_view text) {
  if (!m_Handle || !m_Handle->GetSurface()) return;
  const GlyphFace& face = FaceFor(font);
  if (brush.style == BrushStyle::Solid) {
    const Size extent = TextExtent(text);
    Fill(Bounds(x, y, extent.cx, extent.cy), PixelOf(brush.color));
  }
  int32_t penX = x;
  for (char32_t code : DecodeUtf8(text)) {
    const Glyph& glyph = GlyphFor(face, code);
    DrawGlyph(glyph, penX, y + face.ascent, font.color);
    penX += glyph.advance;
  }
  Changed();
}

void Canvas::StretchDraw(const Rect& rect, const Picture& picture) {
  if (!m_Handle) return;
  picture.Draw(*m_Handle, rect);
  Changed();
}

}  // namespace ui
