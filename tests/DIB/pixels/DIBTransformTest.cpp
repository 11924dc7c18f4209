// Rotation and scaling: angle reduction, the fixed-point tables, exact small cases, the box
// that holds a transformed image, and the fast path against the reference.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/pixels/DIBTransform.h"
#include "testsupport/DIB/PixelReferences.h"
#include "testsupport/DIB/RandomPixels.h"

namespace {

constexpr uint32_t kBackground = 0xAABBCCDD;

// Pixel (storage row i, column j) of a w-wide block whose pixel values are 100 * i + j.
std::vector<uint32_t> Numbered(int32_t w, int32_t h) {
  std::vector<uint32_t> pixels;
  for (int32_t i = 0; i < h; ++i) {
    for (int32_t j = 0; j < w; ++j) pixels.push_back(static_cast<uint32_t>(100 * i + j));
  }
  return pixels;
}

TEST(Transform, AnglesAreReducedBelow360) {
  EXPECT_EQ(dib::NormalizeAngle(370), 10);
  EXPECT_EQ(dib::NormalizeAngle(65535), 15);
  EXPECT_EQ(dib::NormalizeAngle(359), 359);
  EXPECT_EQ(dib::NormalizeAngle(360), 0);
}

TEST(Transform, TablesHoldRoundedFixedPointSinesAndCosines) {
  const dib::RotationTables& t = dib::GetRotationTables();
  EXPECT_EQ(t.S[0], 0);
  EXPECT_EQ(t.C[0], 256);
  EXPECT_EQ(t.S[30], 128);
  EXPECT_EQ(t.S[45], 181);
  EXPECT_EQ(t.C[90], 0);
  EXPECT_EQ(t.C[180], -256);
  EXPECT_EQ(t.S90[0], 256);  // sin(0 + 90 degrees)
  EXPECT_EQ(t.C90[0], 0);
  EXPECT_EQ(t.C90[90], -256);
  EXPECT_EQ(t.S[270], -256);
}

TEST(Transform, UnrotatedCopyLeavesTheFirstRowAndColumnAsBackground) {
  const std::vector<uint32_t> src = Numbered(4, 4);
  std::vector<uint32_t> dest(16);
  dib::TransformPixels({dest.data(), 4, 4}, {src.data(), 4, 4}, {0, 100.0, 100.0, kBackground});
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = 0; j < 4; ++j) {
      const uint32_t expected =
          (i == 0 || j == 0) ? kBackground : src[static_cast<std::size_t>(i * 4 + j)];
      EXPECT_EQ(dest[static_cast<std::size_t>(i * 4 + j)], expected) << i << "," << j;
    }
  }
}

TEST(Transform, HalfTurnMirrorsAboutTheCentre) {
  const std::vector<uint32_t> src = Numbered(4, 4);
  std::vector<uint32_t> dest(16);
  dib::TransformPixels({dest.data(), 4, 4}, {src.data(), 4, 4}, {540, 100.0, 100.0, kBackground});
  for (int32_t i = 1; i < 4; ++i) {
    for (int32_t j = 1; j < 4; ++j) {
      EXPECT_EQ(dest[static_cast<std::size_t>(i * 4 + j)],
                static_cast<uint32_t>(100 * (4 - i) + 4 - j));
    }
  }
  EXPECT_EQ(dest[0], kBackground);
}

TEST(Transform, VanishingScaleLeavesTheDestinationAlone) {
  const std::vector<uint32_t> src = Numbered(3, 3);
  std::vector<uint32_t> dest(9, 7);
  dib::TransformPixels({dest.data(), 3, 3}, {src.data(), 3, 3}, {10, 0.0, 100.0, kBackground});
  EXPECT_EQ(dest, std::vector<uint32_t>(9, 7));
}

TEST(Transform, BoxHoldsTheScaledImageRaisedToEvenSides) {
  const dib::BoxSize doubled = dib::TransformedBoxSize(20, 10, 0, 200.0, 200.0);
  EXPECT_EQ(doubled.width, 40);
  EXPECT_EQ(doubled.height, 20);
  const dib::BoxSize half = dib::TransformedBoxSize(5, 5, 0, 150.0, 150.0);
  EXPECT_EQ(half.width, 8);
  EXPECT_EQ(half.height, 8);
  const dib::BoxSize turned = dib::TransformedBoxSize(20, 10, 370, 100.0, 100.0);
  EXPECT_EQ(turned.width, 22);   // 19.69 + 1.74 rounds up to 22
  EXPECT_EQ(turned.height, 14);  // 3.47 + 9.85 rounds up to 14
}

TEST(Transform, FastPathMatchesTheReference) {
  dibtest::RandomPixels random(11);
  const double scales[] = {1.0, 25.0, 50.0, 99.5, 100.0, 133.3, 150.0, 200.0, 350.0};
  for (int run = 0; run < 600; ++run) {
    const auto sw = static_cast<int32_t>(1 + random.Below(24)),
               sh = static_cast<int32_t>(1 + random.Below(24));
    const auto dw = static_cast<int32_t>(1 + random.Below(40)),
               dh = static_cast<int32_t>(1 + random.Below(40));
    const dib::TransformSettings settings{static_cast<uint16_t>(random.Below(720)),
                                          scales[random.Below(9)], scales[random.Below(9)],
                                          random.Pixel()};
    const std::vector<uint32_t> src = random.Image(static_cast<std::size_t>(sw * sh), 0);
    std::vector<uint32_t> expected(static_cast<std::size_t>(dw * dh), 1), actual(expected);
    dibtest::TransformPixelsReference({expected.data(), dw, dh}, {src.data(), sw, sh}, settings);
    dib::TransformPixels({actual.data(), dw, dh}, {src.data(), sw, sh}, settings);
    ASSERT_EQ(actual, expected) << sw << "x" << sh << " -> " << dw << "x" << dh << " angle "
                                << settings.angle << " scale " << settings.scaleX << ","
                                << settings.scaleY;
  }
}

}  // namespace
