// Drawing images into images: clipping seen in the pixels, the rotation path's boxes, the
// special draws, stretching, and regions against a brute-force pixel test.

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "DIB/cDIB.h"
#include "testsupport/DIB/RandomPixels.h"

namespace {

constexpr uint32_t kUntouched = 0x11223344;

// Pixel (x, y) of the picture is 0xFF000000 | x << 8 | y: every pixel says where it came from.
void Number(TAbstractSuperDIB& image) {
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) {
      image.ScanLine(y)[x] = 0xFF000000u | static_cast<uint32_t>(x) << 8 | static_cast<uint32_t>(y);
    }
  }
}

void Clear(TAbstractSuperDIB& image) {
  for (int32_t y = 0; y < image.Height(); ++y) {
    std::fill_n(image.ScanLine(y), image.Width(), kUntouched);
  }
}

int CountChanged(const TAbstractSuperDIB& image) {
  int changed = 0;
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) changed += image.ScanLine(y)[x] != kUntouched;
  }
  return changed;
}

TEST(DIBDraw, NegativeDestinationDrawsTheVisibleSourceColumns) {
  TMemoryDIB source(20, 10);
  TMemoryDIB dest(100, 50);
  Number(source);
  Clear(dest);
  source.Draw(-5, -2, 20, 10, dest, 0, 0);
  for (int32_t x = 0; x < 15; ++x)
    EXPECT_EQ(dest.ScanLine(0)[x], 0xFF000002u | (static_cast<uint32_t>(x) + 5) << 8);
  EXPECT_EQ(dest.ScanLine(7)[14], 0xFF000000u | 19u << 8 | 9u);
  EXPECT_EQ(CountChanged(dest), 15 * 8);
}

TEST(DIBDraw, DestinationClipLimitsDrawingToItsSquare) {
  TWinDIB source(64, 64);
  TMemoryDIB dest(100, 100);
  Number(source);
  Clear(dest);
  dest.SetClipRect({10, 10, 19, 19});
  source.Draw(0, 0, 64, 64, dest);
  EXPECT_EQ(CountChanged(dest), 100);
  EXPECT_EQ(dest.ScanLine(10)[10], 0xFF000000u | 10u << 8 | 10u);
  EXPECT_EQ(dest.ScanLine(19)[19], 0xFF000000u | 19u << 8 | 19u);
}

TEST(DIBDraw, DestinationHearsOfADrawingOnlyWhenPixelsWereDrawn) {
  struct Counter {
    int count = 0;
    void Changed(ui::Persistent*) { ++count; }
  } counter;
  TMemoryDIB source(4, 4), dest(4, 4);
  Number(source);
  dest.SetOnChange(ui::Bind<&Counter::Changed>(&counter));
  source.Draw(4, 0, 4, 4, dest);
  source.Draw(0, 0, 0, 4, dest);
  EXPECT_EQ(counter.count, 0);
  source.Draw(3, 3, 4, 4, dest);
  EXPECT_EQ(counter.count, 1);
}

TEST(DIBDraw, TransparentDrawingSkipsTheStoredKeyColour) {
  TMemoryDIB source(2, 1), dest(2, 1);
  source.ScanLine(0)[0] = 0x12FF0000;  // red, any mask byte
  source.ScanLine(0)[1] = 0x1200FF00;
  source.SetTransparentMode(tmFixed);
  source.SetTransparentColor(ui::clRed);
  source.SetTransparent(true);
  Clear(dest);
  source.Draw(0, 0, 2, 1, dest);
  EXPECT_EQ(dest.ScanLine(0)[0], kUntouched);
  EXPECT_EQ(dest.ScanLine(0)[1], 0x0000FF00u);  // mask byte cleared
}

TEST(DIBDraw, DrawingAnImageIntoItselfReadsTheOriginalPixels) {
  TMemoryDIB image(6, 5), expected(6, 5), copy(6, 5);
  Number(image);
  Number(copy);
  Number(expected);
  copy.Draw(1, 1, 6, 5, expected);
  image.Draw(1, 1, 6, 5, image);
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(image.ScanLine(y)[x], expected.ScanLine(y)[x]);
  }
}

// The rotation path draws its whole target box: the transformed image and the background.
int DrawnBoxPixels(uint16_t width, uint16_t height, long double scale, int32_t drawWidth,
                   int32_t drawHeight) {
  TMemoryDIB source(width, height), dest(200, 200);
  source.Fill(ui::clWhite);
  source.SetAutoSize(true);
  source.SetScale(scale);
  Clear(dest);
  source.Draw(0, 0, drawWidth, drawHeight, dest);
  return CountChanged(dest);
}

TEST(DIBDraw, AutoSizeGrowsTheBoxToTheTransformedImage) {
  EXPECT_EQ(DrawnBoxPixels(20, 10, 200, 20, 10), 40 * 20);
  EXPECT_EQ(DrawnBoxPixels(5, 5, 150, 5, 5), 8 * 8);  // 7.5 rounded up to 8
}

TEST(DIBDraw, ScalesThatLeaveNoBoxDrawNothing) {
  struct Counter {
    int count = 0;
    void Changed(ui::Persistent*) { ++count; }
  } counter;
  const long double huge = std::numeric_limits<long double>::max();
  const long double absurd[] = {1e12L, huge, std::numeric_limits<long double>::infinity(),
                                std::numeric_limits<long double>::quiet_NaN(), 0.0L};
  for (const bool autoSize : {true, false}) {
    for (const long double scale : absurd) {
      TMemoryDIB source(4, 4), dest(8, 8);
      Number(source);
      source.SetAutoSize(autoSize);
      source.SetAngle(30);
      source.SetScale(scale);
      Clear(dest);
      dest.SetOnChange(ui::Bind<&Counter::Changed>(&counter));
      source.Draw(0, 0, 8, 8, dest);
      // A scale of 0 makes the image vanish whatever the box; the others only without one.
      if (autoSize || scale == 0.0L) {
        EXPECT_EQ(CountChanged(dest), 0) << autoSize << " " << static_cast<double>(scale);
      }
    }
  }
  EXPECT_EQ(counter.count, 4) << "only the drawings without AutoSize and with a scale";
}

TEST(DIBDraw, DrawCopyIgnoresSettingsAndRestoresThem) {
  TMemoryDIB source(3, 3), dest(3, 3);
  Number(source);
  source.SetAngle(90);
  source.SetOpacity(10);
  Clear(dest);
  source.DrawCopy(0, 0, 3, 3, dest);
  EXPECT_EQ(dest.ScanLine(2)[1], source.ScanLine(2)[1]);
  EXPECT_EQ(source.Angle(), 90);
  EXPECT_EQ(source.ScaleX(), 100);
  EXPECT_EQ(source.DrawRoutine(), dib::BlitKind::Opacity);
}

TEST(DIBDraw, SpecialDrawsLeaveTheSourcesSettingsAloneWhileTheyDraw) {
  // What the destination's change handler sees of the source in the middle of each drawing.
  struct Watcher {
    const TAbstractSuperDIB* source;
    std::vector<std::pair<dib::BlitKind, uint16_t>> seen;
    void Changed(ui::Persistent*) { seen.emplace_back(source->DrawRoutine(), source->Angle()); }
  };
  TMemoryDIB source(3, 3), dest(3, 3);
  source.SetAngle(90);
  source.SetOpacity(10);
  Watcher watcher{&source, {}};
  dest.SetOnChange(ui::Bind<&Watcher::Changed>(&watcher));
  source.DrawCopy(0, 0, 3, 3, dest);
  source.DrawAlpha(0, 0, 3, 3, dest);
  source.DrawMask(0, 0, 3, 3, dest);
  const std::pair own{dib::BlitKind::Opacity, uint16_t{90}};
  EXPECT_EQ(watcher.seen, (std::vector{own, own, own}));
}

TEST(DIBDraw, MaskDrawsFollowTheImagesRotation) {
  TMemoryDIB source(4, 4), dest(4, 4);
  for (uint32_t i = 0; i < 16; ++i) source.Pixels()[i] = (i + 1) << 24;
  source.SetAngle(180);
  source.DrawMask(0, 0, 4, 4, dest);
  // A half turn mirrors stored pixel (row, column) to (4 - row, 4 - column).
  EXPECT_EQ(dest.Pixels()[1 * 4 + 1], 0x10101010u);
  EXPECT_EQ(dest.Pixels()[3 * 4 + 2], 0x07070707u);
}

TEST(DIBDraw, AlphaAndMaskDrawsWriteOnlyFromTheMaskByte) {
  TMemoryDIB source(1, 1), dest(1, 1);
  source.Pixels()[0] = 0x7F010203;
  dest.Pixels()[0] = 0x00A0B0C0;
  source.DrawAlpha(0, 0, 1, 1, dest);
  EXPECT_EQ(dest.Pixels()[0], 0x7FA0B0C0u);
  source.DrawMask(0, 0, 1, 1, dest);
  EXPECT_EQ(dest.Pixels()[0], 0x7F7F7F7Fu);
  EXPECT_EQ(source.DrawRoutine(), dib::BlitKind::Copy);
}

TEST(DIBDraw, StretchingTwoByTwoToFourByFourDoublesEachPixel) {
  TMemoryDIB source(2, 2), dest(4, 4);
  Number(source);
  dest.StretchFrom(source);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dest.ScanLine(y)[x], source.ScanLine(y / 2)[x / 2]);
  }
}

TEST(DIBDraw, StretchingOneRowToThreeStaysInsideTheSource) {
  TMemoryDIB source(2, 1), dest(2, 3);
  Number(source);
  dest.StretchFrom(source);
  for (int32_t y = 0; y < 3; ++y) EXPECT_EQ(dest.ScanLine(y)[1], source.ScanLine(0)[1]);
}

template <class Inside>
void ExpectRegionIsInsidePixels(const TAbstractSuperDIB& image,
                                const std::optional<ui::Region>& region, Inside inside) {
  bool any = false;
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) {
      const bool expected = inside(image.ScanLine(y)[x]);
      any |= expected;
      ASSERT_EQ(region && region->Contains(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(region.has_value(), any);
  if (region) {
    const ui::Region whole(ui::Rect{0, 0, image.Width(), image.Height()});
    EXPECT_EQ(whole.Intersect(*region), *region);
  }
}

TEST(DIBDraw, RegionsHoldExactlyTheInsidePixels) {
  dibtest::RandomPixels random(7);
  for (int round = 0; round < 20; ++round) {
    const auto width = static_cast<uint16_t>(1 + random.Below(70));
    const auto height = static_cast<uint16_t>(1 + random.Below(40));
    TMemoryDIB image(width, height);
    const uint32_t key = random.Pixel() & dib::kColorBits;
    const std::vector<uint32_t> pixels = random.Image(std::size_t{width} * height, key);
    std::copy(pixels.begin(), pixels.end(), image.Pixels());
    const auto threshold = static_cast<uint8_t>(random.Byte());
    ExpectRegionIsInsidePixels(image, image.MaskToRegion(threshold),
                               [&](uint32_t p) { return dib::MaskOf(p) > threshold; });
    const ui::Color color = ui::PixelToColor(key);
    ExpectRegionIsInsidePixels(image, image.ColorToRegion(color),
                               [&](uint32_t p) { return (p & dib::kColorBits) != key; });
  }
}

TEST(DIBDraw, RegionsOfManyRunsAndOfNoPixelAtAll) {
  TMemoryDIB image(64, 64);  // a checkerboard: 2048 runs, joined in several batches
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) image.ScanLine(y)[x] = (x + y) % 2 ? 0xFF000000u : 0u;
  }
  ExpectRegionIsInsidePixels(image, image.MaskToRegion(0),
                             [](uint32_t p) { return dib::MaskOf(p) > 0; });
  image.Fill(ui::clBlack);
  EXPECT_FALSE(image.MaskToRegion(0));
  EXPECT_FALSE(image.ColorToRegion(ui::clBlack));
  EXPECT_FALSE(TMemoryDIB().MaskToRegion(0));
}

}  // namespace

// Tiling against drawing each copy on its own under a clip narrowed to the area, the way a
// tiled slider track used to be drawn: random pixels, every routine, a rotated tile, an area
// that leaves the image and a clip that cuts into it.
TEST(DIBDraw, TilingDrawsWhatDrawingEachCopyUnderANarrowedClipDraws) {
  dibtest::RandomPixels random(7);
  const auto fill = [&random](TAbstractSuperDIB& image) {
    const std::vector<uint32_t> pixels =
        random.Image(std::size_t{image.Width()} * image.Height(), 0x00C0FFEE);
    std::copy(pixels.begin(), pixels.end(), image.Pixels());
  };
  struct Setting {
    uint8_t opacity;
    bool masked, transparent;
    uint16_t angle;
  };
  for (const Setting setting :
       {Setting{255, false, false, 0}, Setting{128, false, false, 0}, Setting{255, true, false, 0},
        Setting{90, true, false, 0}, Setting{255, false, true, 0}, Setting{200, false, true, 0},
        Setting{255, false, false, 90}}) {
    TMemoryDIB tile(5, 3), tiled(40, 20), reference(40, 20);
    fill(tile);
    fill(tiled);
    reference.CopyPixelsFrom(tiled);
    tile.SetOpacity(setting.opacity);
    tile.SetMasked(setting.masked);
    tile.SetTransparentMode(tmFixed);
    tile.SetTransparentColor(ui::Color(0xEEFFC0));
    tile.SetTransparent(setting.transparent);
    tile.SetAngle(setting.angle);
    const dib::InclusiveRect clip{3, 2, 35, 17};
    tiled.SetClipRect(clip);
    tile.DrawTiled(-4, 1, 38, 13, tiled);
    reference.SetClipRect({3, 2, 33, 13});  // the clip and the area (-4, 1) to (33, 13)
    for (int32_t y = 1; y <= 13; y += 3) {
      for (int32_t x = -4; x <= 33; x += 5) tile.Draw(x, y, 5, 3, reference);
    }
    EXPECT_EQ(tiled.ClipRect(), clip);
    for (int32_t y = 0; y < 20; ++y) {
      ASSERT_TRUE(std::equal(tiled.ScanLine(y), tiled.ScanLine(y) + 40, reference.ScanLine(y)))
          << "opacity " << int{setting.opacity} << " masked " << setting.masked << " transparent "
          << setting.transparent << " angle " << setting.angle << " row " << y;
    }
  }
}
