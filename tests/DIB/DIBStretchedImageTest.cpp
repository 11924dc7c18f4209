// The image kept stretched: always what a fresh stretch of the source gives, with the source's
// settings, however the source or the size changed since the last time.

#include <gtest/gtest.h>

#include <algorithm>

#include "DIB/DIBStretchedImage.h"

namespace {

bool SamePixels(const TAbstractSuperDIB& a, const TAbstractSuperDIB& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Pixels(), a.Pixels() + a.Width() * a.Height(), b.Pixels());
}

void ExpectFreshStretch(TDIBStretchedImage& kept, const TAbstractSuperDIB& source, uint16_t width,
                        uint16_t height) {
  TMemoryDIB fresh(width, height);
  fresh.StretchFrom(source);
  const TMemoryDIB& result = kept.StretchFrom(source, width, height);
  EXPECT_TRUE(SamePixels(result, fresh)) << width << " x " << height;
  EXPECT_EQ(result.Opacity(), source.Opacity());
  EXPECT_EQ(result.Masked(), source.Masked());
}

TEST(DIBStretchedImage, FollowsEveryChangeOfTheSourceAndTheSize) {
  TMemoryDIB source(3, 2);
  source.Fill(ui::clRed);
  source.FillRect(ui::clBlue, 0, 0, 1, 1);
  TDIBStretchedImage kept;
  ExpectFreshStretch(kept, source, 9, 4);
  source.FillRect(ui::clLime, 2, 1, 1, 1);  // in place, without a change notice
  ExpectFreshStretch(kept, source, 9, 4);
  source.SetOpacity(90);
  source.SetMasked(true);
  ExpectFreshStretch(kept, source, 9, 4);
  ExpectFreshStretch(kept, source, 5, 7);
  TMemoryDIB other(3, 2);  // other pixels of the same size
  other.Fill(ui::clYellow);
  ExpectFreshStretch(kept, other, 5, 7);
  ExpectFreshStretch(kept, source, 2, 1);  // smaller than the source: stretched every time
  source.FillRect(ui::clWhite, 0, 0, 3, 2);
  ExpectFreshStretch(kept, source, 2, 1);
}

}  // namespace
