// Highlighting a skinned control while it is hovered or has the keyboard: its own opacity is
// given back when both have ended, and never one that was not saved.

#include <gtest/gtest.h>

#include "DIB/DIBHighlightFeature.h"
#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {
namespace {

using platform::MouseButton;

class HighlightFeature : public ContainerFixture {
 protected:
  HighlightFeature() { m_Knob.SetOpacity(100); }
  void AddHighlight() {
    TDIBFeatureItem& item = m_Knob.DIBFeatures().Add();
    item.SetFeatureClassName("THighlightDIB");
    dynamic_cast<THighlightDIB&>(*item.Feature()).SetHighlightOpacity(230);
  }
  void Over() { m_Backend.MouseMove(CX(45), CY(25)); }
  void Away() { m_Backend.MouseMove(CX(150), CY(70)); }

  SkinnedProbe& m_Knob = AddSkinned("knob", ui::Bounds(40, 20, 16, 16), 0);
  SkinnedProbe& m_Other = AddSkinned("other", ui::Bounds(80, 20, 16, 16), 1);
};

TEST_F(HighlightFeature, HoverHighlightsUntilTheMouseLeaves) {
  AddHighlight();
  Over();
  EXPECT_EQ(m_Knob.Opacity(), 230);
  Away();
  EXPECT_EQ(m_Knob.Opacity(), 100);
}

TEST_F(HighlightFeature, TheKeyboardHighlightsUntilItGoesAndHoverDuringFocusChangesNothing) {
  AddHighlight();
  m_Knob.Perform(ui::WM_SETFOCUS);
  ASSERT_TRUE(m_Knob.Focused());
  EXPECT_EQ(m_Knob.Opacity(), 230);
  Over();
  Away();
  EXPECT_EQ(m_Knob.Opacity(), 230);
  m_Other.Perform(ui::WM_SETFOCUS);  // takes the keyboard from the knob
  EXPECT_FALSE(m_Knob.Focused());
  EXPECT_EQ(m_Knob.Opacity(), 100);
}

TEST_F(HighlightFeature, APressAndReleaseOverTheControlKeepsTheHighlightUntilTheMouseLeaves) {
  AddHighlight();
  Over();
  m_Backend.MouseDown(MouseButton::Left, CX(45), CY(25));
  m_Backend.MouseUp(MouseButton::Left, CX(45), CY(25));
  EXPECT_FALSE(m_Knob.MouseCapture());
  EXPECT_EQ(m_Knob.Opacity(), 230);
  Away();
  EXPECT_EQ(m_Knob.Opacity(), 230);  // it has the keyboard now
  m_Other.Perform(ui::WM_SETFOCUS);
  EXPECT_EQ(m_Knob.Opacity(), 100);
}

// The mouse came over the control before the feature did: its leaving ends a highlight that
// never began and must not put in an opacity that was never saved.
TEST_F(HighlightFeature, AnEndWithoutABeginningLeavesTheOpacityAlone) {
  Over();
  AddHighlight();
  Away();
  EXPECT_EQ(m_Knob.Opacity(), 100);
  Over();
  EXPECT_EQ(m_Knob.Opacity(), 230);
  Away();
  EXPECT_EQ(m_Knob.Opacity(), 100);
}

}  // namespace
}  // namespace dibtest
