// Moving a skinned control with the keys and the mouse: steps of SnapSize, the allowed
// directions, the buttons that drag, the border a drag starts from, and attached controls that
// move along.

#include <gtest/gtest.h>

#include "DIB/DIBMoveableFeature.h"
#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {
namespace {

using platform::MouseButton;

class MoveableFeature : public ContainerFixture {
 protected:
  MoveableFeature() {
    TDIBFeatureItem& item = m_Knob.DIBFeatures().Add();
    item.SetFeatureClassName("TMoveableDIB");
    m_Moving = dynamic_cast<TMoveableDIB*>(item.Feature());
    m_Knob.AttachedControls().Add().SetControl(&m_Buddy);
  }
  ui::Point KnobAt() const { return {m_Knob.Left(), m_Knob.Top()}; }
  ui::Point BuddyAt() const { return {m_Buddy.Left(), m_Buddy.Top()}; }

  SkinnedProbe& m_Knob = AddSkinned("knob", ui::Bounds(40, 20, 16, 16), 0);
  SkinnedProbe& m_Buddy = AddSkinned("buddy", ui::Bounds(100, 20, 10, 10));
  TMoveableDIB* m_Moving = nullptr;
};

TEST_F(MoveableFeature, ADragMovesInWholeStepsCutTowardsZeroAndTakesAttachedControlsAlong) {
  m_Moving->SetSnapSize(4);
  m_Backend.MouseMove(CX(45), CY(25));
  m_Backend.MouseDown(MouseButton::Left, CX(45), CY(25));
  m_Backend.MouseMove(CX(52), CY(25));  // 7 to the right
  EXPECT_EQ(KnobAt(), (ui::Point{44, 20}));
  EXPECT_EQ(BuddyAt(), (ui::Point{104, 20}));
  m_Backend.MouseMove(CX(42), CY(22));  // from 3 right of the press, 7 to the left and 3 up
  EXPECT_EQ(KnobAt(), (ui::Point{40, 20}));
  m_Backend.MouseMove(CX(44), CY(33));  // 1 left of the press point, 8 down
  EXPECT_EQ(KnobAt(), (ui::Point{40, 28}));
  EXPECT_EQ(BuddyAt(), (ui::Point{100, 28}));
  m_Backend.MouseUp(MouseButton::Left, CX(44), CY(33));
  EXPECT_FALSE(m_Moving->Dragging());
  m_Backend.MouseMove(CX(70), CY(60));
  EXPECT_EQ(KnobAt(), (ui::Point{40, 28}));
}

TEST_F(MoveableFeature, ArrowKeysMoveByOneStepInTheAllowedDirections) {
  m_Moving->SetSnapSize(3);
  m_Backend.Click(CX(45), CY(25));  // takes the keyboard; a drag of nothing
  ASSERT_TRUE(m_Knob.Focused());
  ASSERT_EQ(KnobAt(), (ui::Point{40, 20}));
  m_Backend.PressKey(ui::VK_RIGHT);
  m_Backend.PressKey(ui::VK_DOWN);
  EXPECT_EQ(KnobAt(), (ui::Point{43, 23}));
  EXPECT_EQ(BuddyAt(), (ui::Point{103, 23}));
  m_Moving->SetAllowVertical(false);
  m_Backend.PressKey(ui::VK_UP);
  m_Backend.PressKey(ui::VK_LEFT);
  m_Backend.PressKey(ui::VK_LEFT);
  EXPECT_EQ(KnobAt(), (ui::Point{37, 23}));
  m_Moving->SetAllowHorizontal(false);
  m_Backend.PressKey(ui::VK_LEFT);
  EXPECT_EQ(KnobAt(), (ui::Point{37, 23}));
}

TEST_F(MoveableFeature, OnlyTheChosenButtonsDragAndOnlyTheirReleaseEndsTheDrag) {
  m_Moving->SetMouseButtons(1 << ui::mbMiddle);
  m_Backend.MouseMove(CX(45), CY(25));
  m_Backend.MouseDown(MouseButton::Left, CX(45), CY(25));
  m_Backend.MouseMove(CX(50), CY(25));
  m_Backend.MouseUp(MouseButton::Left, CX(50), CY(25));
  EXPECT_EQ(KnobAt(), (ui::Point{40, 20}));
  m_Backend.MouseDown(MouseButton::Middle, CX(50), CY(25));
  m_Backend.MouseDown(MouseButton::Left, CX(50), CY(25));
  m_Backend.MouseUp(MouseButton::Left, CX(50), CY(25));  // not the one that started it
  m_Backend.MouseMove(CX(52), CY(26));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 21}));
  m_Backend.MouseUp(MouseButton::Middle, CX(52), CY(26));
  EXPECT_FALSE(m_Moving->Dragging());
}

// Without capture, a right or middle button may be let go over another control; the next move
// over this one comes without it and must not drag.
TEST_F(MoveableFeature, ADragWithAnUncapturedButtonEndsAtAMoveWithoutThatButton) {
  m_Moving->SetMouseButtons(1 << ui::mbRight);
  m_Backend.MouseMove(CX(45), CY(25));
  m_Backend.MouseDown(MouseButton::Right, CX(45), CY(25));
  m_Backend.MouseMove(CX(47), CY(25));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
  m_Backend.MouseMove(CX(150), CY(70));  // off the control
  m_Backend.MouseUp(MouseButton::Right, CX(150), CY(70));
  m_Backend.MouseMove(CX(50), CY(30));
  EXPECT_FALSE(m_Moving->Dragging());
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
  m_Backend.MouseMove(CX(53), CY(31));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
}

// A border of 3 pixels: the inner 10 x 10 of the 16 x 16 control does not start a drag.
TEST_F(MoveableFeature, WithABorderOnlyAPressNearTheEdgeStartsADrag) {
  m_Moving->SetBorderSize(3);
  m_Backend.MouseMove(CX(48), CY(28));
  m_Backend.MouseDown(MouseButton::Left, CX(48), CY(28));
  EXPECT_FALSE(m_Moving->Dragging());
  m_Backend.MouseUp(MouseButton::Left, CX(48), CY(28));
  for (const ui::Point edge : {ui::Point{42, 28}, ui::Point{53, 28}, ui::Point{48, 35}}) {
    m_Backend.MouseDown(MouseButton::Left, CX(edge.X), CY(edge.Y));
    EXPECT_TRUE(m_Moving->Dragging()) << edge.X << "," << edge.Y;
    m_Backend.MouseUp(MouseButton::Left, CX(edge.X), CY(edge.Y));
  }
}

}  // namespace
}  // namespace dibtest
