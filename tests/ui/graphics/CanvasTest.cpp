// The canvas: what the pen, brush and font put where, through the context's clip.

#include <gtest/gtest.h>

#include "ui/graphics/Canvas.h"
#include "ui/graphics/Color.h"

namespace {

using ui::Canvas;
using ui::DeviceContext;
using ui::Surface;

constexpr uint32_t kRedPixel = 0x00FF0000;

class CanvasDrawing : public ::testing::Test {
 protected:
  Surface m_Surface{40, 30};
  DeviceContext m_Dc{&m_Surface};
  Canvas m_Canvas{&m_Dc};
};

TEST(Color, PixelFormSwapsRedAndBlueAndSystemColoursResolve) {
  EXPECT_EQ(ui::ColorToPixel(ui::clRed), kRedPixel);
  EXPECT_EQ(ui::PixelToColor(0xAB123456), 0x563412u);
  EXPECT_EQ(ui::ColorToRGB(ui::clBtnFace), ui::RGB(212, 208, 200));
  EXPECT_EQ(ui::ColorToRGB(ui::clSilver), ui::clSilver);
  EXPECT_EQ(ui::ColorToRGB(0x800000FF), ui::clBlack);  // no such system colour
}

TEST_F(CanvasDrawing, FillRectWritesPixelFormWithMaskZeroInsideTheClip) {
  m_Surface.SetPixel(5, 5, 0xFF000000);
  m_Dc.IntersectClipRect({0, 0, 6, 6});
  m_Canvas.brush.color = ui::clRed;
  m_Canvas.FillRect({4, 4, 10, 10});
  EXPECT_EQ(m_Surface.Pixel(5, 5), kRedPixel);
  EXPECT_EQ(m_Surface.Pixel(6, 5), 0u);
  m_Canvas.brush.style = ui::BrushStyle::Clear;
  m_Canvas.brush.color = ui::clWhite;
  m_Canvas.FillRect({0, 0, 6, 6});
  EXPECT_EQ(m_Surface.Pixel(5, 5), kRedPixel);
}

TEST_F(CanvasDrawing, RectangleOutlinesTheInnerEdgeAndFillsInside) {
  m_Canvas.pen.color = ui::clRed;
  m_Canvas.brush.color = ui::clWhite;
  m_Canvas.Rectangle({2, 2, 6, 5});
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 2 && y < 5;
      const bool edge = inside && (x == 2 || x == 5 || y == 2 || y == 4);
      const uint32_t expected = edge ? kRedPixel : inside ? 0xFFFFFFu : 0u;
      EXPECT_EQ(m_Surface.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(CanvasDrawing, DashedPenDrawsEighteenOnAndSixOff) {
  m_Canvas.pen.style = ui::PenStyle::Dash;
  m_Canvas.pen.color = ui::clWhite;
  m_Canvas.MoveTo(0, 1);
  m_Canvas.LineTo(40, 1);
  for (int32_t x = 0; x < 40; ++x) {
    EXPECT_EQ(m_Surface.Pixel(x, 1) != 0, x % 24 < 18) << x;
  }
}

TEST_F(CanvasDrawing, LineLeavesOutItsEndPixel) {
  m_Canvas.MoveTo(0, 0);
  m_Canvas.pen.color = ui::clWhite;
  m_Canvas.LineTo(3, 3);
  EXPECT_NE(m_Surface.Pixel(2, 2), 0u);
  EXPECT_EQ(m_Surface.Pixel(3, 3), 0u);
}

TEST_F(CanvasDrawing, TextExtentFollowsTheFontHeight) {
  const ui::Size small = m_Canvas.TextExtent("Value");
  m_Canvas.font.height = -19;
  const ui::Size large = m_Canvas.TextExtent("Value");
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GE(small.cy, 11);
  EXPECT_GE(large.cy, 19);
  m_Canvas.font.bold = true;
  EXPECT_GT(m_Canvas.TextExtent("Value").cx, large.cx);
  EXPECT_EQ(m_Canvas.TextExtent("").cx, 0);
}

TEST_F(CanvasDrawing, TextWithClearBrushTouchesOnlyItsGlyphs) {
  m_Canvas.brush.style = ui::BrushStyle::Clear;
  m_Canvas.font.color = ui::clWhite;
  m_Canvas.TextOut(1, 1, "I");
  const ui::Size extent = m_Canvas.TextExtent("I");
  int inked = 0;
  for (int32_t y = 0; y < m_Surface.Height(); ++y) {
    for (int32_t x = 0; x < m_Surface.Width(); ++x) {
      if (m_Surface.Pixel(x, y) == 0) continue;
      ++inked;
      EXPECT_TRUE(x >= 1 && x < 1 + extent.cx && y >= 1 && y < 1 + extent.cy) << x << "," << y;
      EXPECT_EQ(m_Surface.Pixel(x, y) >> 24, 0u);
    }
  }
  EXPECT_GT(inked, 5);
}

TEST_F(CanvasDrawing, UnknownCharactersDrawAsQuestionMarks) {
  EXPECT_EQ(m_Canvas.TextExtent("\xE4\xB8\x80"), m_Canvas.TextExtent("?"));  // a CJK character
  EXPECT_EQ(m_Canvas.TextExtent("\xFF"), m_Canvas.TextExtent("?"));          // malformed UTF-8
  EXPECT_NE(m_Canvas.TextExtent("\xC2\xA9").cx, 0);                          // the copyright sign
}

TEST_F(CanvasDrawing, EveryDrawingOperationReportsAChange) {
  int changes = 0;
  m_Canvas.onChange = [&changes] { ++changes; };
  m_Canvas.FillRect({0, 0, 2, 2});
  m_Canvas.Rectangle({0, 0, 4, 4});
  m_Canvas.LineTo(5, 5);
  m_Canvas.TextOut(0, 0, "x");
  EXPECT_EQ(changes, 4);
}

}  // namespace
