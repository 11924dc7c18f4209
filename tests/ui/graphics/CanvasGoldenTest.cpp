// A small canvas drawing compared pixel for pixel with a committed PNG. Set
// FLUX_UPDATE_GOLDEN=1 to rewrite the PNG after a deliberate change, then look at it.

#include <gtest/gtest.h>

#include <string>

#include "testsupport/GoldenPicture.h"
#include "testsupport/ui/SurfacePicture.h"
#include "ui/graphics/Canvas.h"
#include "ui/graphics/Color.h"

namespace {

ui::Surface DrawSample() {
  ui::Surface surface(220, 90);
  ui::DeviceContext dc(&surface);
  ui::Canvas canvas(&dc);
  canvas.brush.color = ui::clSilver;
  canvas.FillRect(surface.BoundsRect());

  canvas.pen.color = ui::clBlack;
  canvas.brush.color = ui::clWhite;
  canvas.Rectangle({4, 4, 60, 40});
  canvas.pen.style = ui::PenStyle::Dash;
  canvas.pen.color = ui::clRed;
  canvas.brush.style = ui::BrushStyle::Clear;
  canvas.Rectangle({8, 46, 100, 86});
  canvas.pen.style = ui::PenStyle::Dot;
  canvas.pen.color = ui::clBlue;
  canvas.MoveTo(64, 6);
  canvas.LineTo(100, 38);

  canvas.font.color = ui::clBlack;
  canvas.font.height = -19;
  canvas.TextOut(106, 2, "Fluxomatic");
  canvas.brush.style = ui::BrushStyle::Solid;
  canvas.brush.color = ui::clSilver;
  canvas.font.height = -11;
  canvas.font.color = ui::clGray;
  canvas.TextOut(106, 28, "About");
  canvas.font.color = ui::clBlack;
  canvas.font.bold = true;
  canvas.TextOut(150, 28, "CC Out");
  canvas.font.bold = false;
  canvas.font.height = -12;
  canvas.brush.color = ui::clWhite;
  canvas.TextOut(106, 46, "\xC2\xA9 2004 Value 127");
  // Clipped text: only its upper part shows.
  dc.IntersectClipRect({106, 66, 220, 72});
  canvas.font.height = -11;
  canvas.TextOut(106, 66, "Randomise");
  return surface;
}

TEST(CanvasGolden, SampleDrawingMatchesTheCommittedImage) {
  EXPECT_TRUE(testsupport::MatchesGoldenFile(uitest::ColoursOf(DrawSample()),
                                             std::string(FLUX_GOLDEN_DIR) + "/canvas_sample.png"));
}

}  // namespace
