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
  Surface surface{40, 30};
  DeviceContext dc{&surface};
  Canvas canvas{&dc};
};

TEST(Color, PixelFormSwapsRedAndBlueAndSystemColoursResolve) {
  EXPECT_EQ(ui::ColorToPixel(ui::clRed), kRedPixel);
  EXPECT_EQ(ui::PixelToColor(0xAB123456), 0x563412u);
  EXPECT_EQ(ui::ColorToRGB(ui::clBtnFace), ui::RGB(212, 208, 200));
  EXPECT_EQ(ui::ColorToRGB(ui::clSilver), ui::clSilver);
  EXPECT_EQ(ui::ColorToRGB(0x800000FF), ui::clBlack);  // no such system colour
}

TEST_F(CanvasDrawing, FillRectWritesPixelFormWithMaskZeroInsideTheClip) {
  surface.SetPixel(5, 5, 0xFF000000);
  dc.IntersectClipRect({0, 0, 6, 6});
  canvas.brush.color = ui::clRed;
  canvas.FillRect({4, 4, 10, 10});
  EXPECT_EQ(surface.Pixel(5, 5), kRedPixel);
  EXPECT_EQ(surface.Pixel(6, 5), 0u);
  canvas.brush.style = ui::BrushStyle::Clear;
  canvas.brush.color = ui::clWhite;
  canvas.FillRect({0, 0, 6, 6});
  EXPECT_EQ(surface.Pixel(5, 5), kRedPixel);
}

TEST_F(CanvasDrawing, RectangleOutlinesTheInnerEdgeAndFillsInside) {
  canvas.pen.color = ui::clRed;
  canvas.brush.color = ui::clWhite;
  canvas.Rectangle({2, 2, 6, 5});
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 2 && y < 5;
      const bool edge = inside && (x == 2 || x == 5 || y == 2 || y == 4);
      const uint32_t expected = edge ? kRedPixel : inside ? 0xFFFFFFu : 0u;
      EXPECT_EQ(surface.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(CanvasDrawing, DashedPenDrawsEighteenOnAndSixOff) {
  canvas.pen.style = ui::PenStyle::Dash;
  canvas.pen.color = ui::clWhite;
  canvas.MoveTo(0, 1);
  canvas.LineTo(40, 1);
  for (int32_t x = 0; x < 40; ++x) {
    EXPECT_EQ(surface.Pixel(x, 1) != 0, x % 24 < 18) << x;
  }
}

TEST_F(CanvasDrawing, LineLeavesOutItsEndPixel) {
  canvas.MoveTo(0, 0);
  canvas.pen.color = ui::clWhite;
  canvas.LineTo(3, 3);
  EXPECT_NE(surface.Pixel(2, 2), 0u);
  EXPECT_EQ(surface.Pixel(3, 3), 0u);
}

TEST_F(CanvasDrawing, TextExtentFollowsTheFontHeight) {
  const ui::Size small = canvas.TextExtent("Value");
  canvas.font.height = -19;
  const ui::Size large = canvas.TextExtent("Value");
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GE(small.cy, 11);
  EXPECT_GE(large.cy, 19);
  canvas.font.bold = true;
  EXPECT_GT(canvas.TextExtent("Value").cx, large.cx);
  EXPECT_EQ(canvas.TextExtent("").cx, 0);
}

TEST_F(CanvasDrawing, TextWithClearBrushTouchesOnlyItsGlyphs) {
  canvas.brush.style = ui::BrushStyle::Clear;
  canvas.font.color = ui::clWhite;
  canvas.TextOut(1, 1, "I");
  const ui::Size extent = canvas.TextExtent("I");
  int inked = 0;
  for (int32_t y = 0; y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x) {
      if (surface.Pixel(x, y) == 0) continue;
      ++inked;
      EXPECT_TRUE(x >= 1 && x < 1 + extent.cx && y >= 1 && y < 1 + extent.cy) << x << "," << y;
      EXPECT_EQ(surface.Pixel(x, y) >> 24, 0u);
    }
  }
  EXPECT_GT(inked, 5);
}

TEST_F(CanvasDrawing, UnknownCharactersDrawAsQuestionMarks) {
  EXPECT_EQ(canvas.TextExtent("\xE4\xB8\x80"), canvas.TextExtent("?"));  // a CJK character
  EXPECT_EQ(canvas.TextExtent("\xFF"), canvas.TextExtent("?"));          // malformed UTF-8
  EXPECT_NE(canvas.TextExtent("\xC2\xA9").cx, 0);                        // the copyright sign
}

TEST_F(CanvasDrawing, EveryDrawingOperationReportsAChange) {
  int changes = 0;
  canvas.onChange = [&changes] { ++changes; };
  canvas.FillRect({0, 0, 2, 2});
  canvas.Rectangle({0, 0, 4, 4});
  canvas.LineTo(5, 5);
  canvas.TextOut(0, 0, "x");
  EXPECT_EQ(changes, 4);
}

}  // namespace
