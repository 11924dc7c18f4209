// Rectangles are half-open: Right and Bottom are the first column and row outside.

#include "platform/Geometry.h"

#include <gtest/gtest.h>

#include "platform/WindowMessages.h"

namespace {

using platform::Point;
using platform::Rect;

TEST(Rect, EdgesThatOnlyTouchDoNotOverlap) {
  const Rect left{0, 0, 10, 10};
  const Rect right{10, 0, 20, 10};
  EXPECT_TRUE(left.Intersect(right).IsEmpty());
  EXPECT_FALSE(left.Contains(10, 5));
  EXPECT_TRUE(left.Contains(9, 9));
  EXPECT_EQ(left.Intersect({5, 5, 30, 30}), (Rect{5, 5, 10, 10}));
  EXPECT_EQ(left.Intersect(left), left);
}

TEST(Rect, UnionIgnoresEmptyRectanglesWhereverTheyLie) {
  const Rect a{2, 3, 4, 5};
  EXPECT_EQ(a.Union({100, 100, 100, 200}), a);  // empty, far away
  EXPECT_EQ((Rect{-50, -50, -60, -40}).Union(a), a);
  EXPECT_EQ(a.Union({10, -1, 11, 0}), (Rect{2, -1, 11, 5}));
  EXPECT_TRUE(Rect{}.Union(Rect{}).IsEmpty());
}

TEST(MessagePoint, CoordinatesTravelAsSigned16BitHalves) {
  for (const Point p : {Point{0, 0}, Point{-1, 1}, Point{32767, -32768}, Point{-300, 431}}) {
    EXPECT_EQ(platform::messages::LParamToPoint(platform::messages::PointToLParam(p)), p);
  }
  EXPECT_EQ(static_cast<uint32_t>(platform::messages::PointToLParam(-1, 2)), 0x0002FFFFu);
}

}  // namespace
