#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "common/Rounding.h"

namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(flux::RoundHalfEven(0.5), 0);
  EXPECT_EQ(flux::RoundHalfEven(1.5), 2);
  EXPECT_EQ(flux::RoundHalfEven(2.5), 2);
  EXPECT_EQ(flux::RoundHalfEven(63.5), 64);
  EXPECT_EQ(flux::RoundHalfEven(-0.5), 0);
  EXPECT_EQ(flux::RoundHalfEven(-1.5), -2);
  EXPECT_EQ(flux::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(flux::RoundHalfEven(2.4999999), 2);
  EXPECT_EQ(flux::RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(flux::RoundHalfEven(-7.6), -8);
}

TEST(RoundHalfEven, IgnoresTheThreadsRoundingMode) {
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
    std::fesetround(mode);
    EXPECT_EQ(flux::RoundHalfEven(2.5), 2) << mode;
    EXPECT_EQ(flux::RoundHalfEven(3.5), 4) << mode;
    EXPECT_EQ(flux::RoundHalfEven(-3.5), -4) << mode;
    EXPECT_EQ(flux::RoundHalfEven(1.2), 1) << mode;
    EXPECT_EQ(flux::RoundHalfEven(-1.7), -2) << mode;
  }
  std::fesetround(FE_TONEAREST);
}

TEST(RoundHalfEven, NanGivesZeroAndHugeValuesSaturate) {
  EXPECT_EQ(flux::RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(flux::RoundHalfEven(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(flux::RoundHalfEven(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(flux::RoundHalfEven(std::numeric_limits<double>::infinity()),
            std::numeric_limits<int32_t>::max());
}

}  // namespace
