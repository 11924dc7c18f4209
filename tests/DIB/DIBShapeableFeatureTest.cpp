// A skinned control's mouse area limited to what it draws. The test control draws a square of
// its Color with an inner square of its InnerColor (at 4..12 of its 16 x 16 pixels).

#include <gtest/gtest.h>

#include "DIB/DIBShapeableFeature.h"
#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {
namespace {

class ShapeableFeature : public ContainerFixture {
 protected:
  ShapeableFeature() {
    shaped.SetColor(ui::clBlue);
    shaped.SetInnerColor(ui::clWhite);
  }
  TShapeableDIB& AddShape() {
    TDIBFeatureItem& item = shaped.DIBFeatures().Add();
    item.SetFeatureClassName("TShapeableDIB");
    return dynamic_cast<TShapeableDIB&>(*item.Feature());
  }
  bool Hits(int32_t x, int32_t y) {
    return shaped.Perform(ui::CM_HITTEST, 0, ui::PointToLParam(x, y)) != 0;
  }
  void MaskLeftHalfWhenPainted() {
    shaped.OnPaint = ui::Bind<&ShapeableFeature::MaskLeftHalf>(this);
  }
  // Paints the mask bytes of the left half 200.
  void MaskLeftHalf(ui::Persistent*) {
    for (int32_t row = 0; row < shaped.Height(); ++row) {
      uint32_t* pixels = shaped.DIB()->ScanLine(row);
      for (int32_t x = 0; x < shaped.Width() / 2; ++x) pixels[x] |= 200u << 24;
    }
  }
  bool HitsCornerAndCentre(bool corner, bool centre) {
    return Hits(1, 1) == corner && Hits(15, 15) == corner && Hits(8, 8) == centre &&
           Hits(4, 4) == centre && Hits(3, 3) == corner;
  }

  SkinnedProbe& beneath = AddSkinned("beneath", ui::Bounds(30, 10, 40, 40));
  SkinnedProbe& shaped = AddSkinned("shaped", ui::Bounds(40, 20, 16, 16));
};

TEST_F(ShapeableFeature, TheBottomLeftPixelIsTheKeyAndPressesBesideTheShapeFallThrough) {
  AddShape();
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  backend.Click(CX(41), CY(21));
  EXPECT_EQ(beneath.presses, 1);
  EXPECT_EQ(shaped.presses, 0);
  backend.Click(CX(48), CY(28));
  EXPECT_EQ(shaped.presses, 1);
  EXPECT_EQ(beneath.presses, 1);
}

TEST_F(ShapeableFeature, AFixedKeyColourOrAMaskLevelChoosesOtherPixels) {
  TShapeableDIB& shape = AddShape();
  shape.SetTransparentMode(tmFixed);
  shape.SetTransparentColor(ui::clWhite);
  EXPECT_TRUE(HitsCornerAndCentre(true, false));
  MaskLeftHalfWhenPainted();
  shape.SetMaskLevel(199);
  shaped.Invalidate();
  EXPECT_TRUE(Hits(7, 1));
  EXPECT_FALSE(Hits(8, 1));
  shape.SetMaskLevel(200);  // above the level only
  shaped.Invalidate();
  EXPECT_TRUE(Hits(8, 1));  // no shape
}

TEST_F(ShapeableFeature, TheShapeIsMadeAgainOnlyAfterTheControlWasInvalidated) {
  AddShape();
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  const int paints = shaped.paints;
  shaped.SetInnerColor(ui::clBlue);  // nothing is drawn apart from the key colour now
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  EXPECT_EQ(shaped.paints, paints);
  shaped.SetLeft(44);  // a move draws nothing new
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  shaped.Invalidate();
  EXPECT_TRUE(HitsCornerAndCentre(true, true));  // no shape: every point is the control's
  shaped.SetInnerColor(ui::clWhite);
  shaped.SetWidth(20);
  EXPECT_TRUE(Hits(8, 8));
  EXPECT_FALSE(Hits(4, 4));  // the inner square is at 5..15 of 20 now
  EXPECT_EQ(shaped.DIB(), nullptr);
}

TEST_F(ShapeableFeature, TheFirstEnabledShapeAnswers) {
  AddShape();
  TShapeableDIB& second = AddShape();
  second.SetTransparentMode(tmFixed);
  second.SetTransparentColor(ui::clWhite);
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  shaped.DIBFeatures().Items(0).SetEnabled(false);
  EXPECT_TRUE(HitsCornerAndCentre(true, false));
}

}  // namespace
}  // namespace dibtest
