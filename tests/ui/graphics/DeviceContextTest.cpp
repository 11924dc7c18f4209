// Device contexts (origin, clip, saved states) and the block copies through them.

#include <gtest/gtest.h>

#include "ui/graphics/Blit.h"
#include "ui/graphics/DeviceContext.h"

namespace {

using ui::DeviceContext;
using ui::Rect;
using ui::Surface;

// A surface whose pixel (x, y) holds 100 * y + x.
Surface Numbered(int32_t width, int32_t height) {
  Surface surface(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) surface.SetPixel(x, y, static_cast<uint32_t>(100 * y + x));
  }
  return surface;
}

TEST(Surface, RowsAreStoredBottomUp) {
  const Surface surface = Numbered(3, 2);
  EXPECT_EQ(surface.Bits()[0], 100u);  // first stored pixel: bottom-left
  EXPECT_EQ(surface.ScanLine(0), surface.Bits() + 3);
}

TEST(DeviceContext, ClipIsKeptInsideTheSurfaceAndFollowsTheOrigin) {
  Surface surface(10, 10);
  DeviceContext dc(&surface);
  dc.SetOrigin({4, 2});
  dc.IntersectClipRect({-10, -10, 3, 3});  // device 0..7 x 0..5
  EXPECT_EQ(dc.ClipBox(), (Rect{-4, -2, 3, 3}));
  EXPECT_EQ(dc.ClipRegion().BoundingBox(), (Rect{0, 0, 7, 5}));
  dc.ExcludeClipRect({0, 0, 1, 1});
  EXPECT_FALSE(dc.RectVisible({0, 0, 1, 1}));
  EXPECT_TRUE(dc.RectVisible({-1, 0, 1, 1}));
}

TEST(DeviceContext, RestoreBringsBackOriginAndClip) {
  Surface surface(8, 8);
  DeviceContext dc(&surface);
  dc.Save();
  dc.SetOrigin({3, 3});
  dc.IntersectClipRect({0, 0, 2, 2});
  dc.Restore();
  EXPECT_EQ(dc.Origin(), (ui::Point{0, 0}));
  EXPECT_EQ(dc.ClipBox(), (Rect{0, 0, 8, 8}));
  dc.Restore();  // nothing saved: no change
  EXPECT_EQ(dc.ClipBox(), (Rect{0, 0, 8, 8}));
}

TEST(BitBlt, CopiesThroughOriginsAndStopsAtClipAndSourceEdges) {
  Surface from = Numbered(4, 4), to(6, 6);
  DeviceContext source(&from), dest(&to);
  source.SetOrigin({1, 0});  // logical (-1, 0) is source pixel (0, 0)
  dest.IntersectClipRect({0, 0, 6, 2});
  ui::BitBlt(dest, 3, 0, 4, 4, source, 0, 1);  // source pixels (1..4, 1..4): column 4 is outside
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      const bool copied = x >= 3 && x <= 5 && y < 2;
      EXPECT_EQ(to.Pixel(x, y), copied ? static_cast<uint32_t>(100 * (y + 1) + x - 2) : 0u)
          << x << "," << y;
    }
  }
}

TEST(BitBlt, OverlappingCopyWithinOneSurfaceReadsTheOriginal) {
  Surface surface = Numbered(5, 1);
  DeviceContext dc(&surface);
  ui::BitBlt(dc, 1, 0, 4, 1, dc, 0, 0);
  EXPECT_EQ(surface.Pixel(1, 0), 0u);
  EXPECT_EQ(surface.Pixel(4, 0), 3u);
}

// StretchBlt from `from` onto `to` through a context of its own; `to` as it ends.
Surface Stretched(Surface to, const Rect& area, const Surface& from, const Rect& source) {
  DeviceContext dest(&to);
  ui::StretchBlt(dest, area, from, source);
  return to;
}

TEST(StretchBlt, EachPixelTakesTheSourcePixelUnderItsCentre) {
  const Surface from = Numbered(2, 2);
  const Surface to = Stretched(Surface(4, 6), {0, 0, 4, 6}, from, from.BoundsRect());
  EXPECT_EQ(to.Pixel(0, 0), 0u);
  EXPECT_EQ(to.Pixel(1, 0), 0u);
  EXPECT_EQ(to.Pixel(2, 0), 1u);
  EXPECT_EQ(to.Pixel(3, 2), 1u);
  EXPECT_EQ(to.Pixel(3, 3), 101u);
  // Shrinking 4 columns to 2 takes columns 1 and 3.
  const Surface wide = Numbered(4, 1);
  const Surface narrow = Stretched(Surface(2, 1), {0, 0, 2, 1}, wide, wide.BoundsRect());
  EXPECT_EQ(narrow.Pixel(0, 0), 1u);
  EXPECT_EQ(narrow.Pixel(1, 0), 3u);
}

TEST(StretchBlt, EmptyOrReversedRectanglesDrawNothing) {
  const Surface from = Numbered(2, 2);
  EXPECT_EQ(Stretched(Surface(4, 4), {4, 0, 0, 4}, from, from.BoundsRect()), Surface(4, 4));
  EXPECT_EQ(Stretched(Surface(4, 4), {0, 0, 4, 4}, from, {1, 1, 1, 2}), Surface(4, 4));
}

}  // namespace
