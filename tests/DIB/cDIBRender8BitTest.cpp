// Drawing to a palette display: every pixel shows the palette colour of its nearest entry,
// cut to the image and to the device's clip; misuse raises.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DIB/cDIB.h"
#include "DIB/cDIBPalette.h"
#include "testsupport/DIB/PaletteTestSupport.h"
#include "testsupport/ui/FormFixture.h"

namespace {

constexpr uint32_t kUntouched = 0xFF123456;

uint32_t PixelOf(const ui::PaletteEntry& e) {
  return uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
}

class Render8BitTest : public uitest::FormFixture {
 protected:
  Render8BitTest() {
    std::mt19937 random(7);
    for (int32_t y = 0; y < image.Height(); ++y) {
      for (int32_t x = 0; x < image.Width(); ++x)
        image.ScanLine(y)[x] = static_cast<uint32_t>(random());
    }
    dibtest::ReadStored(palette, "DIBPaletteColors", dibtest::ColourfulBytes());
    palette.SetUseTable(true);
    std::fill(screen.Bits(), screen.Bits() + 40 * 30, kUntouched);
    dc.SetBitsPerPixel(8);
  }

  // The brute-force nearest entry of the image's pixel, as a colour.
  uint32_t Expected(int32_t x, int32_t y) const {
    const uint32_t p = image.ScanLine(y)[x];
    const auto channel = [p](int shift) { return static_cast<int>((p >> shift) & 0xFC); };
    return PixelOf(palette.Colors()[dibtest::NearestEntry(palette.Colors(), channel(16), channel(8),
                                                          channel(0))]);
  }

  TMemoryDIB image{20, 10};
  TDIBPalette& palette = ui::Create<TDIBPalette>(*form);
  ui::Surface screen{40, 30};
  ui::DeviceContext dc{&screen};
};

TEST_F(Render8BitTest, EveryPixelShowsItsNearestPaletteColour) {
  image.Render8Bit(dc, 3, 4, 20, 10, 0, 0, 0, palette);
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const bool inside = x >= 3 && x < 23 && y >= 4 && y < 14;
      ASSERT_EQ(screen.Pixel(x, y), inside ? Expected(x - 3, y - 4) : kUntouched) << x << "," << y;
    }
  }
}

TEST_F(Render8BitTest, TheAreaIsCutToTheImageAndTheClip) {
  dc.SetOrigin({1, 0});
  dc.IntersectClipRect({0, 0, 10, 100});                  // device columns 1..10
  image.Render8Bit(dc, -2, 0, 30, 3, 15, 8, 0, palette);  // 5 columns and 2 rows are left
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const bool inside = x >= 1 && x < 4 && y < 2;
      ASSERT_EQ(screen.Pixel(x, y), inside ? Expected(x + 1 + 15, y + 8) : kUntouched)
          << x << "," << y;
    }
  }
  image.Render8Bit(dc, 0, 0, 5, 5, 20, 0, 0, palette);  // from beyond the image: nothing
  image.Render8Bit(dc, 0, 0, 5, 5, -5, 0, 0, palette);  // nothing of the image is asked for
  EXPECT_EQ(screen.Pixel(5, 5), kUntouched);
}

TEST_F(Render8BitTest, NeedsATableAndAnEightBitDevice) {
  try {
    dc.SetBitsPerPixel(32);
    image.Render8Bit(dc, 0, 0, 5, 5, 0, 0, 0, palette);
    ADD_FAILURE() << "a 32-bit device was accepted";
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "Render8Bit can only be used to blit to an 8 bit DC");
  }
  palette.SetUseTable(false);
  try {
    image.Render8Bit(dc, 0, 0, 5, 5, 0, 0, 0, palette);
    ADD_FAILURE() << "a palette without a table was accepted";
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "Render8Bit can only be used with a palette containing a lookup table");
  }
}

}  // namespace
