// The three-dimensional edge: which colour each ring's sides get, and where it stops.

#include "ui/graphics/Frame3D.h"

#include <gtest/gtest.h>

namespace {

using ui::Rect;

constexpr uint32_t kRedPixel = 0xFF0000;
constexpr uint32_t kBluePixel = 0x0000FF;

class Frame3D : public ::testing::Test {
 protected:
  ui::Surface m_Surface{4, 3};
  ui::DeviceContext m_Dc{&m_Surface};
  ui::Canvas m_Canvas{&m_Dc};
  Rect m_R{0, 0, 4, 3};
};

TEST_F(Frame3D, TopAndLeftTakeTheFirstColourBottomAndRightTheSecondAndRectShrinks) {
  ui::Frame3D(m_Canvas, m_R, ui::clRed, ui::clBlue, 1);
  EXPECT_EQ(m_R, (Rect{1, 1, 3, 2}));
  // The second colour is drawn last: it has the corners where the two meet.
  const uint32_t expected[3][4] = {{kRedPixel, kRedPixel, kRedPixel, kBluePixel},
                                   {kRedPixel, 0, 0, kBluePixel},
                                   {kBluePixel, kBluePixel, kBluePixel, kBluePixel}};
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(m_Surface.Pixel(x, y), expected[y][x]) << x << "," << y;
    }
  }
}

TEST_F(Frame3D, StopsOnceNothingIsLeftInside) {
  ui::Frame3D(m_Canvas, m_R, ui::clRed, ui::clBlue, 5);
  EXPECT_EQ(m_R, (Rect{2, 2, 2, 1})) << "two rings: the second is the middle row's inside";
  EXPECT_EQ(m_Surface.Pixel(1, 1), kBluePixel);
  EXPECT_EQ(m_Surface.Pixel(2, 1), kBluePixel);
  EXPECT_EQ(m_Surface.Pixel(0, 0), kRedPixel);
}

}  // namespace
