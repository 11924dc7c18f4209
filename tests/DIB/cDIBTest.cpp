// The image's settings, size, pixel operations, views, assignment, change notification and
// file imports.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/cDIB.h"
#include "testsupport/DIB/BmpTestFile.h"
#include "ui/graphics/GraphicError.h"
#include "ui/model/TypeInfo.h"

namespace {

struct ChangeCounter {
  int count = 0;
  void Changed(ui::Persistent*) { ++count; }
  ui::TNotifyEvent Handler() { return ui::Bind<&ChangeCounter::Changed>(this); }
};

void SetViaProperty(TAbstractSuperDIB& image, const char* name, int64_t value) {
  image.Type().FindProperty(name)->setOrdinal(image, value);
}

TEST(DIBImage, SettersReduceTheAngleAndNotifyOnlyOfADifferentValue) {
  TMemoryDIB image;
  ChangeCounter counter;
  image.SetOnChange(counter.Handler());
  image.SetOpacity(255);
  image.SetAngle(360);
  EXPECT_EQ(counter.count, 0);
  SetViaProperty(image, "Angle", 370);
  EXPECT_EQ(image.Angle(), 10);
  SetViaProperty(image, "Angle", 65535);
  EXPECT_EQ(image.Angle(), 15);
  image.SetScaleX(150);
  image.SetScale(100);  // differs from ScaleX only
  EXPECT_EQ(image.ScaleX(), 100);
  EXPECT_EQ(counter.count, 4);
}

TEST(DIBImage, SizeOfZeroBecomesOneAndClipIsOrderedAndClamped) {
  TMemoryDIB image;
  image.SetSize(0, 5);
  EXPECT_EQ(image.Width(), 1);
  EXPECT_EQ(image.Height(), 5);
  EXPECT_EQ(image.ClipRect().Bottom, 4);
  image.SetSize(10, 8);
  image.SetClipRect({12, 6, -3, 2});
  const dib::InclusiveRect clip = image.ClipRect();
  EXPECT_EQ(clip.Left, 0);
  EXPECT_EQ(clip.Top, 2);
  EXPECT_EQ(clip.Right, 9);
  EXPECT_EQ(clip.Bottom, 6);
}

TEST(DIBImage, KeyColourIsTheBottomLeftPixelInAutoModeAndResolvedWhenFixed) {
  TMemoryDIB image(3, 2);
  image.Fill(ui::clBtnFace);
  EXPECT_EQ(image.Pixels()[1], ui::ColorToPixel(ui::ColorToRGB(ui::clBtnFace)));
  image.ScanLine(1)[0] = 0x00B7B6B6;  // bytes B6 B6 B7: blue, green, red
  EXPECT_EQ(image.TransparentColor(), ui::RGB(0xB7, 0xB6, 0xB6));
  image.SetTransparentMode(tmFixed);
  EXPECT_EQ(image.TransparentColor(), ui::clBlack);
  image.SetTransparentColor(ui::clBtnFace);
  EXPECT_EQ(image.TransparentColor(), ui::ColorToRGB(ui::clBtnFace));
}

TEST(DIBImage, NestedUpdatesFireOneChangeAndAnUnmatchedEndRaises) {
  TMemoryDIB image;
  ChangeCounter counter;
  image.SetOnChange(counter.Handler());
  image.BeginUpdate();
  image.BeginUpdate();
  image.SetOpacity(10);
  image.EndUpdate();
  EXPECT_EQ(counter.count, 0);
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::Opacity);  // selected even while updating
  image.EndUpdate();
  EXPECT_EQ(counter.count, 1);
  try {
    image.EndUpdate();
    FAIL();
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "EndUpdate without BeginUpdate");
  }
  EXPECT_EQ(image.UpdateCount(), 0);
}

TEST(DIBImage, RoutineFollowsOpacityMaskAndKeyWithMaskWinning) {
  TMemoryDIB image;
  image.SetTransparent(true);
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::Transparent);
  image.SetMasked(true);
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::Masked);
  image.SetOpacity(128);
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::MaskedOpacity);
  image.SetMasked(false);
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::TransparentOpacity);
  EXPECT_EQ(image.DrawRoutineOwner(), &image);
}

TEST(DIBImage, ResettingTheSettingsAlsoResetsTheRoutine) {
  TWinDIB image(2, 1);
  image.SetOpacity(128);
  image.SetMasked(true);
  image.ResetProperties();
  EXPECT_EQ(image.DrawRoutine(), dib::BlitKind::Copy);
  // Drawn as a plain copy, not blended with opacity 255 (which would turn 0 into 1).
  image.Fill(ui::clBlack);
  TWinDIB dest(2, 1);
  dest.Fill(ui::clWhite);
  image.Draw(0, 0, 2, 1, dest);
  EXPECT_EQ(*dest.ScanLine(0), 0u);
}

TEST(DIBImage, AWindowImageResizedAgainKeepsItsStorage) {
  TWinDIB image(100, 50);
  const uint32_t* storage = image.Pixels();
  image.SetSize(10, 10);
  image.SetSize(50, 100);
  EXPECT_EQ(image.Pixels(), storage);
  EXPECT_EQ(image.ClipRect(), (dib::InclusiveRect{0, 0, 49, 99}));
  image.Canvas().brush = {ui::clRed, ui::BrushStyle::Solid};
  image.Canvas().FillRect({0, 0, 50, 100});  // the context draws on the reshaped surface
  EXPECT_EQ(*image.ScanLine(99) & dib::kColorBits, 0xFF0000u);
  EXPECT_EQ(*(image.ScanLine(0) + 49) & dib::kColorBits, 0xFF0000u);
}

TEST(DIBImage, FillRectClipsToTheImageWithoutNotifying) {
  TMemoryDIB image(4, 3);
  ChangeCounter counter;
  image.Fill(ui::clBlack);
  image.SetOnChange(counter.Handler());
  image.FillRect(ui::clRed, -2, 1, 4, 10);  // columns 0..1 of rows 1..2
  image.FillRect(ui::clRed, 4, 0, 5, 5);    // outside
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      const bool inside = x < 2 && y >= 1;
      EXPECT_EQ(image.ScanLine(y)[x], inside ? 0x00FF0000u : 0u) << x << "," << y;
    }
  }
  EXPECT_EQ(counter.count, 0);
  image.FillAlpha(0x80);
  EXPECT_EQ(image.ScanLine(2)[0], 0x80FF0000u);
  EXPECT_EQ(counter.count, 1);
}

TEST(DIBImage, CopyingPropertiesToAnythingElseRaises) {
  TMemoryDIB image;
  ui::Persistent other;
  try {
    image.CopyPropertiesTo(other);
    FAIL();
  } catch (const EDIBError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TAbstractDIB to a Persistent");
  }
  EXPECT_THROW(other.Assign(image), ui::AssignError);
}

TEST(DIBImage, AViewShowsTheSourcePixelsAndSettingsAndFreesNothing) {
  TMemoryDIB source(3, 2);
  source.Fill(ui::clBlue);
  source.SetOpacity(40);
  {
    TWinDIB view(source);
    EXPECT_FALSE(view.OwnsPixels());
    EXPECT_TRUE(view.HasImage());
    EXPECT_EQ(view.Pixels(), source.Pixels());
    EXPECT_EQ(view.Width(), 3);
    EXPECT_EQ(view.Opacity(), 40);
    EXPECT_EQ(view.DrawRoutineOwner(), &source);
    // A new size no longer fits the shown pixels: the view lets go of them.
    view.SetSize(30, 20);
    EXPECT_EQ(view.Pixels(), nullptr);
    view.Fill(ui::clRed);
  }
  EXPECT_EQ(source.Pixels()[5], 0x000000FFu);
}

TEST(DIBImage, AssignCopiesPixelsSettingsAndFileNames) {
  TMemoryDIB source(2, 2);
  source.Fill(ui::clLime);
  source.SetMasked(true);
  source.SetImageFilename("a.bmp");
  TMemoryDIB target;
  ChangeCounter counter;
  target.SetOnChange(counter.Handler());
  target.Assign(source);
  EXPECT_EQ(target.Width(), 2);
  EXPECT_EQ(target.Pixels()[3], 0x0000FF00u);
  EXPECT_TRUE(target.Masked());
  EXPECT_EQ(target.ImageFilename(), "a.bmp");
  EXPECT_NE(target.Pixels(), source.Pixels());
  EXPECT_GE(counter.count, 1);

  TWinDIB window;
  window.Assign(source);
  EXPECT_EQ(window.Pixels()[0], 0x0000FF00u);
}

TEST(DIBImage, CanvasDrawingRunsChanged) {
  TWinDIB image(4, 4);
  ChangeCounter counter;
  image.SetOnChange(counter.Handler());
  image.Canvas().brush.color = ui::clRed;
  image.Canvas().FillRect({0, 0, 2, 2});
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(image.ScanLine(0)[0] & dib::kColorBits, 0x00FF0000u);
}

TEST(DIBImage, A32BitBitmapImportsItsMaskAndOthersBecomeOpaque) {
  TMemoryDIB image;
  image.LoadImageFromFile(
      dibtest::WriteBmp("dib_import32.bmp", 3, 2, 32, {1, 2, 3, 0x40}).string());
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_TRUE(image.Masked());
  EXPECT_EQ(image.Pixels()[0], 0x40030201u);
  EXPECT_NE(image.ImageFilename().find("dib_import32.bmp"), std::string::npos);

  TMemoryDIB opaque;
  opaque.LoadImageFromFile(dibtest::WriteBmp("dib_import24.bmp", 2, 2, 24, {1, 2, 3}).string());
  EXPECT_FALSE(opaque.Masked());
  EXPECT_EQ(opaque.Pixels()[3], 0xFF030201u);
}

TEST(DIBImage, MaskImportTakesTheStretchedBlueBytes) {
  TMemoryDIB image;
  EXPECT_THROW(image.LoadMaskFromFile("unused.bmp"), EDIBError);
  image.SetSize(4, 3);
  image.Fill(ui::clRed);
  image.LoadMaskFromFile(dibtest::WriteBmp("dib_mask.bmp", 1, 1, 24, {0x90, 0x10, 0x20}).string());
  for (int i = 0; i < 12; ++i) EXPECT_EQ(image.Pixels()[i], 0x90FF0000u);
  EXPECT_FALSE(image.Masked());
  EXPECT_NE(image.MaskFilename().find("dib_mask.bmp"), std::string::npos);
}

TEST(DIBImage, AFailedImportLeavesTheImageAsItWas) {
  TMemoryDIB image(5, 4);
  EXPECT_THROW(image.LoadImageFromFile("/nonexistent/picture.bmp"), ui::GraphicError);
  EXPECT_EQ(image.Width(), 5);
  EXPECT_TRUE(image.ImageFilename().empty());
}

}  // namespace
