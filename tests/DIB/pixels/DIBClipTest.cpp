// Clipping of an untransformed drawing: hidden source columns skipped, the inclusive clip
// rectangle, the cases that leave nothing to draw, then every small case against a brute-force
// pixel test.

#include <gtest/gtest.h>

#include "DIB/pixels/DIBClip.h"

namespace {

using dib::ClipDraw;
using dib::InclusiveRect;

TEST(ClipDraw, NegativeDestinationSkipsTheHiddenSourceColumns) {
  const auto area = ClipDraw(-5, 0, 20, 10, 0, 0, 20, 10, 100, 50, {0, 0, 99, 49});
  ASSERT_TRUE(area);
  EXPECT_EQ(area->destX, 0);
  EXPECT_EQ(area->srcX, 5);
  EXPECT_EQ(area->columns, 15);  // source columns 5..19 at destination columns 0..14
  EXPECT_EQ(area->rows, 10);
}

TEST(ClipDraw, ClipRectangleLimitsToItsInclusiveSquare) {
  const auto area = ClipDraw(0, 0, 64, 64, 0, 0, 64, 64, 100, 100, {10, 10, 19, 19});
  ASSERT_TRUE(area);
  EXPECT_EQ(area->columns, 10);
  EXPECT_EQ(area->rows, 10);
  EXPECT_EQ(area->destX, 10);
  EXPECT_EQ(area->srcY, 10);
}

TEST(ClipDraw, NothingLeftGivesNoArea) {
  EXPECT_FALSE(ClipDraw(0, 0, 0, 5, 0, 0, 8, 8, 8, 8, {0, 0, 7, 7}));
  EXPECT_FALSE(ClipDraw(8, 0, 4, 4, 0, 0, 8, 8, 8, 8, {0, 0, 7, 7}));
  EXPECT_FALSE(ClipDraw(0, 0, 4, 4, 8, 0, 8, 8, 8, 8, {0, 0, 7, 7}));
  EXPECT_FALSE(ClipDraw(-4, 0, 4, 4, 0, 0, 8, 8, 8, 8, {0, 0, 7, 7}));
}

TEST(ClipDraw, SourcePositionCarriedPast16BitsDrawsNothing) {
  EXPECT_FALSE(ClipDraw(-10, 0, 100, 1, 65530, 0, 65535, 1, 100, 1, {0, 0, 99, 0}));
}

TEST(ClipDraw, AClipReachingOutsideTheImageNeverYieldsANegativeOrigin) {
  EXPECT_FALSE(ClipDraw(-3, -3, 4, 4, 0, 0, 4, 4, 8, 8, {-5, -5, 7, 7}));
}

// Every pixel drawn by the clipped area, compared with the pixels a plain definition draws:
// inside the destination, inside the clip, inside the requested area and inside the source.
TEST(ClipDraw, AgreesWithBruteForceOverSmallCases) {
  const int32_t sw = 5, sh = 4, dw = 6, dh = 5;
  const InclusiveRect clips[] = {{0, 0, 5, 4}, {1, 2, 3, 3}, {2, 0, 2, 4}, {4, 4, 5, 4}};
  for (const InclusiveRect& clip : clips) {
    for (int32_t destX = -7; destX <= 7; ++destX) {
      for (int32_t destY = -6; destY <= 6; ++destY) {
        for (int32_t width = -1; width <= 6; ++width) {
          for (int32_t height = -1; height <= 5; height += 2) {
            for (uint16_t srcX = 0; srcX <= 5; srcX = static_cast<uint16_t>(srcX + 2)) {
              for (uint16_t srcY = 0; srcY <= 4; srcY = static_cast<uint16_t>(srcY + 3)) {
                const auto area =
                    ClipDraw(destX, destY, width, height, srcX, srcY, sw, sh, dw, dh, clip);
                for (int32_t y = 0; y < dh; ++y) {
                  for (int32_t x = 0; x < dw; ++x) {
                    const int32_t sx = srcX + x - destX, sy = srcY + y - destY;
                    const bool expected = x >= clip.Left && x <= clip.Right && y >= clip.Top &&
                                          y <= clip.Bottom && x - destX >= 0 && x - destX < width &&
                                          y - destY >= 0 && y - destY < height && sx < sw &&
                                          sy < sh;
                    const bool drawn = area && x >= area->destX &&
                                       x < area->destX + area->columns && y >= area->destY &&
                                       y < area->destY + area->rows;
                    ASSERT_EQ(drawn, expected)
                        << "pixel " << x << "," << y << " dest " << destX << "," << destY
                        << " size " << width << "x" << height << " src " << srcX << "," << srcY
                        << " clip " << clip.Left << "," << clip.Top;
                    if (drawn) {
                      ASSERT_EQ(area->srcX + x - area->destX, sx);
                      ASSERT_EQ(area->srcY + y - area->destY, sy);
                    }
                  }
                }
              }
            }
          }
        }
      }
    }
  }
}

TEST(ClipDraw, BlitJobStartsAtTheTopRowAndStepsDown) {
  uint32_t dest[4 * 3] = {}, src[2 * 2] = {};
  const auto job = dib::MakeBlitJob({1, 0, 0, 1, 1, 1}, {dest, 4, 3}, {src, 2, 2});
  EXPECT_EQ(job.dest, dest + 2 * 4 + 1);  // picture row 0 is the last stored row
  EXPECT_EQ(job.src, src + 0 * 2 + 0);    // picture row 1 of 2 is the first stored row
  EXPECT_EQ(job.destStride, -4);
  EXPECT_EQ(job.srcStride, -2);
}

}  // namespace
