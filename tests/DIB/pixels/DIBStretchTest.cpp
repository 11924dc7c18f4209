// Nearest-neighbour stretching: a source column is the whole steps plus the fraction floored, a
// source row rounds the fraction up after the first row and never passes the last row (which
// the plain rule would), and the fast path against the reference.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/pixels/DIBStretch.h"
#include "testsupport/DIB/PixelReferences.h"
#include "testsupport/DIB/RandomPixels.h"

namespace {

using dib::StretchSourceColumn;
using dib::StretchSourceRow;

TEST(Stretch, TwoByTwoToFourByFourDoublesEachPixel) {
  const std::vector<uint32_t> src = {1, 2, 3, 4};  // bottom row 1 2, top row 3 4
  std::vector<uint32_t> dest(16);
  dib::StretchPixels({dest.data(), 4, 4}, {src.data(), 2, 2});
  EXPECT_EQ(dest, (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(Stretch, ColumnRuleTakesWholeStepsPlusTheFractionFloored) {
  EXPECT_EQ(StretchSourceColumn(1, 2, 4), 0);
  EXPECT_EQ(StretchSourceColumn(2, 2, 4), 1);
  EXPECT_EQ(StretchSourceColumn(2, 10, 3), 6);  // 2 x 3 + floor(2 x 21845 / 65536)
  EXPECT_EQ(StretchSourceColumn(4, 5, 5), 4);
}

TEST(Stretch, RowRuleRoundsTheFractionUpAfterTheFirstRow) {
  EXPECT_EQ(StretchSourceRow(0, 7, 3), 0);
  EXPECT_EQ(StretchSourceRow(1, 7, 3), 2);  // 1 x 2 + ceil(0)
  EXPECT_EQ(StretchSourceRow(2, 7, 3), 5);  // 2 x 2 + ceil(21845 / 65536)
  EXPECT_EQ(StretchSourceRow(3, 2, 4), 1);  // 0 + ceil(2 x 32768 / 65536)
}

TEST(Stretch, RowNeverPassesTheLastSourceRow) {
  EXPECT_EQ(StretchSourceRow(2, 1, 3), 0);  // the plain rule gives row 1 of a 1-row source
  for (int32_t sh = 1; sh <= 40; ++sh) {
    for (int32_t dh = 1; dh <= 120; ++dh) {
      for (int32_t k = 0; k < dh; ++k)
        ASSERT_LT(StretchSourceRow(k, sh, dh), sh) << sh << "->" << dh;
    }
  }
}

TEST(Stretch, OneRowToThreeRowsRepeatsThatRow) {
  const std::vector<uint32_t> src = {5, 6};
  std::vector<uint32_t> dest(6);
  dib::StretchPixels({dest.data(), 2, 3}, {src.data(), 2, 1});
  EXPECT_EQ(dest, (std::vector<uint32_t>{5, 6, 5, 6, 5, 6}));
}

TEST(Stretch, FastPathMatchesTheReferenceForRandomSizes) {
  dibtest::RandomPixels random(3);
  for (int run = 0; run < 300; ++run) {
    const auto sw = static_cast<int32_t>(1 + random.Below(40)),
               sh = static_cast<int32_t>(1 + random.Below(40));
    const auto dw = static_cast<int32_t>(1 + random.Below(90)),
               dh = static_cast<int32_t>(1 + random.Below(90));
    const std::vector<uint32_t> src = random.Image(static_cast<std::size_t>(sw * sh), 0);
    std::vector<uint32_t> expected(static_cast<std::size_t>(dw * dh)), actual(expected.size());
    dibtest::StretchPixelsReference({expected.data(), dw, dh}, {src.data(), sw, sh});
    dib::StretchPixels({actual.data(), dw, dh}, {src.data(), sw, sh});
    ASSERT_EQ(actual, expected) << sw << "x" << sh << " -> " << dw << "x" << dh;
  }
}

}  // namespace
