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
    m_Shaped.SetColor(ui::clBlue);
    m_Shaped.SetInnerColor(ui::clWhite);
  }
  TShapeableDIB& AddShape() {
    TDIBFeatureItem& item = m_Shaped.DIBFeatures().Add();
    item.SetFeatureClassName("TShapeableDIB");
    return dynamic_cast<TShapeableDIB&>(*item.Feature());
  }
  bool Hits(int32_t x, int32_t y) {
    return m_Shaped.Perform(ui::CM_HITTEST, 0, ui::PointToLParam(x, y)) != 0;
  }
  void MaskLeftHalfWhenPainted() {
    m_Shaped.OnPaint = ui::Bind<&ShapeableFeature::MaskLeftHalf>(this);
  }
  // Paints the mask bytes of the left half 200.
  void MaskLeftHalf(ui::Persistent*) {
    for (int32_t row = 0; row < m_Shaped.Height(); ++row) {
      uint32_t* pixels = m_Shaped.DIB()->ScanLine(row);
      for (int32_t x = 0; x < m_Shaped.Width() / 2; ++x) pixels[x] |= 200u << 24;
    }
  }
  bool HitsCornerAndCentre(bool corner, bool centre) {
    return Hits(1, 1) == corner && Hits(15, 15) == corner && Hits(8, 8) == centre &&
           Hits(4, 4) == centre && Hits(3, 3) == corner;
  }

  SkinnedProbe& m_Beneath = AddSkinned("beneath", ui::Bounds(30, 10, 40, 40));
  SkinnedProbe& m_Shaped = AddSkinned("shaped", ui::Bounds(40, 20, 16, 16));
};

TEST_F(ShapeableFeature, TheBottomLeftPixelIsTheKeyAndPressesBesideTheShapeFallThrough) {
  AddShape();
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  m_Backend.Click(CX(41), CY(21));
  EXPECT_EQ(m_Beneath.presses, 1);
  EXPECT_EQ(m_Shaped.presses, 0);
  m_Backend.Click(CX(48), CY(28));
  EXPECT_EQ(m_Shaped.presses, 1);
  EXPECT_EQ(m_Beneath.presses, 1);
}

TEST_F(ShapeableFeature, AFixedKeyColourOrAMaskLevelChoosesOtherPixels) {
  TShapeableDIB& shape = AddShape();
  shape.SetTransparentMode(tmFixed);
  shape.SetTransparentColor(ui::clWhite);
  EXPECT_TRUE(HitsCornerAndCentre(true, false));
  MaskLeftHalfWhenPainted();
  shape.SetMaskLevel(199);
  m_Shaped.Invalidate();
  EXPECT_TRUE(Hits(7, 1));
  EXPECT_FALSE(Hits(8, 1));
  shape.SetMaskLevel(200);  // above the level only
  m_Shaped.Invalidate();
  EXPECT_TRUE(Hits(8, 1));  // no shape
}

TEST_F(ShapeableFeature, TheShapeIsMadeAgainOnlyAfterTheControlWasInvalidated) {
  AddShape();
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  const int paints = m_Shaped.paints;
  m_Shaped.SetInnerColor(ui::clBlue);  // nothing is drawn apart from the key colour now
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  EXPECT_EQ(m_Shaped.paints, paints);
  m_Shaped.SetLeft(44);  // a move draws nothing new
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  m_Shaped.Invalidate();
  EXPECT_TRUE(HitsCornerAndCentre(true, true));  // no shape: every point is the control's
  m_Shaped.SetInnerColor(ui::clWhite);
  m_Shaped.SetWidth(20);
  EXPECT_TRUE(Hits(8, 8));
  EXPECT_FALSE(Hits(4, 4));  // the inner square is at 5..15 of 20 now
  EXPECT_EQ(m_Shaped.DIB(), nullptr);
}

TEST_F(ShapeableFeature, TheFirstEnabledShapeAnswers) {
  AddShape();
  TShapeableDIB& second = AddShape();
  second.SetTransparentMode(tmFixed);
  second.SetTransparentColor(ui::clWhite);
  EXPECT_TRUE(HitsCornerAndCentre(false, true));
  m_Shaped.DIBFeatures().Items(0).SetEnabled(false);
  EXPECT_TRUE(HitsCornerAndCentre(true, false));
}

}  // namespace
}  // namespace dibtest
