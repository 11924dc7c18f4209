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
    for (int32_t y = 0; y < m_Image.Height(); ++y) {
      for (int32_t x = 0; x < m_Image.Width(); ++x)
        m_Image.ScanLine(y)[x] = static_cast<uint32_t>(random());
    }
    dibtest::ReadStored(m_Palette, "DIBPaletteColors", dibtest::ColourfulBytes());
    m_Palette.SetUseTable(true);
    std::fill(m_Screen.Bits(), m_Screen.Bits() + 40 * 30, kUntouched);
    m_Dc.SetBitsPerPixel(8);
  }

  // The brute-force nearest entry of the image's pixel, as a colour.
  uint32_t Expected(int32_t x, int32_t y) const {
    const uint32_t p = m_Image.ScanLine(y)[x];
    const auto channel = [p](int shift) { return static_cast<int>((p >> shift) & 0xFC); };
    return PixelOf(m_Palette.Colors()[dibtest::NearestEntry(m_Palette.Colors(), channel(16),
                                                            channel(8), channel(0))]);
  }

  TMemoryDIB m_Image{20, 10};
  TDIBPalette& m_Palette = ui::Create<TDIBPalette>(*m_Form);
  ui::Surface m_Screen{40, 30};
  ui::DeviceContext m_Dc{&m_Screen};
};

TEST_F(Render8BitTest, EveryPixelShowsItsNearestPaletteColour) {
  m_Image.Render8Bit(m_Dc, 3, 4, 20, 10, 0, 0, 0, m_Palette);
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const bool inside = x >= 3 && x < 23 && y >= 4 && y < 14;
      ASSERT_EQ(m_Screen.Pixel(x, y), inside ? Expected(x - 3, y - 4) : kUntouched)
          << x << "," << y;
    }
  }
}

TEST_F(Render8BitTest, TheAreaIsCutToTheImageAndTheClip) {
  m_Dc.SetOrigin({1, 0});
  m_Dc.IntersectClipRect({0, 0, 10, 100});                      // device columns 1..10
  m_Image.Render8Bit(m_Dc, -2, 0, 30, 3, 15, 8, 0, m_Palette);  // 5 columns and 2 rows are left
  for (int32_t y = 0; y < 30; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      const bool inside = x >= 1 && x < 4 && y < 2;
      ASSERT_EQ(m_Screen.Pixel(x, y), inside ? Expected(x + 1 + 15, y + 8) : kUntouched)
          << x << "," << y;
    }
  }
  m_Image.Render8Bit(m_Dc, 0, 0, 5, 5, 20, 0, 0, m_Palette);  // from beyond the image: nothing
  m_Image.Render8Bit(m_Dc, 0, 0, 5, 5, -5, 0, 0, m_Palette);  // nothing of the image is asked for
  EXPECT_EQ(m_Screen.Pixel(5, 5), kUntouched);
}

TEST_F(Render8BitTest, NeedsATableAndAnEightBitDevice) {
  try {
    m_Dc.SetBitsPerPixel(32);
    m_Image.Render8Bit(m_Dc, 0, 0, 5, 5, 0, 0, 0, m_Palette);
    ADD_FAILURE() << "a 32-bit device was accepted";
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "Render8Bit can only be used to blit to an 8 bit DC");
  }
  m_Palette.SetUseTable(false);
  try {
    m_Image.Render8Bit(m_Dc, 0, 0, 5, 5, 0, 0, 0, m_Palette);
    ADD_FAILURE() << "a palette without a table was accepted";
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "Render8Bit can only be used with a palette containing a lookup table");
  }
}

}  // namespace
