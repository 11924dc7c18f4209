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
    TDIBFeatureItem& item = knob.DIBFeatures().Add();
    item.SetFeatureClassName("TMoveableDIB");
    moving = dynamic_cast<TMoveableDIB*>(item.Feature());
    knob.AttachedControls().Add().SetControl(&buddy);
  }
  ui::Point KnobAt() const { return {knob.Left(), knob.Top()}; }
  ui::Point BuddyAt() const { return {buddy.Left(), buddy.Top()}; }

  SkinnedProbe& knob = AddSkinned("knob", ui::Bounds(40, 20, 16, 16), 0);
  SkinnedProbe& buddy = AddSkinned("buddy", ui::Bounds(100, 20, 10, 10));
  TMoveableDIB* moving = nullptr;
};

TEST_F(MoveableFeature, ADragMovesInWholeStepsCutTowardsZeroAndTakesAttachedControlsAlong) {
  moving->SetSnapSize(4);
  backend.MouseMove(CX(45), CY(25));
  backend.MouseDown(MouseButton::Left, CX(45), CY(25));
  backend.MouseMove(CX(52), CY(25));  // 7 to the right
  EXPECT_EQ(KnobAt(), (ui::Point{44, 20}));
  EXPECT_EQ(BuddyAt(), (ui::Point{104, 20}));
  backend.MouseMove(CX(42), CY(22));  // from 3 right of the press, 7 to the left and 3 up
  EXPECT_EQ(KnobAt(), (ui::Point{40, 20}));
  backend.MouseMove(CX(44), CY(33));  // 1 left of the press point, 8 down
  EXPECT_EQ(KnobAt(), (ui::Point{40, 28}));
  EXPECT_EQ(BuddyAt(), (ui::Point{100, 28}));
  backend.MouseUp(MouseButton::Left, CX(44), CY(33));
  EXPECT_FALSE(moving->Dragging());
  backend.MouseMove(CX(70), CY(60));
  EXPECT_EQ(KnobAt(), (ui::Point{40, 28}));
}

TEST_F(MoveableFeature, ArrowKeysMoveByOneStepInTheAllowedDirections) {
  moving->SetSnapSize(3);
  backend.Click(CX(45), CY(25));  // takes the keyboard; a drag of nothing
  ASSERT_TRUE(knob.Focused());
  ASSERT_EQ(KnobAt(), (ui::Point{40, 20}));
  backend.PressKey(ui::VK_RIGHT);
  backend.PressKey(ui::VK_DOWN);
  EXPECT_EQ(KnobAt(), (ui::Point{43, 23}));
  EXPECT_EQ(BuddyAt(), (ui::Point{103, 23}));
  moving->SetAllowVertical(false);
  backend.PressKey(ui::VK_UP);
  backend.PressKey(ui::VK_LEFT);
  backend.PressKey(ui::VK_LEFT);
  EXPECT_EQ(KnobAt(), (ui::Point{37, 23}));
  moving->SetAllowHorizontal(false);
  backend.PressKey(ui::VK_LEFT);
  EXPECT_EQ(KnobAt(), (ui::Point{37, 23}));
}

TEST_F(MoveableFeature, OnlyTheChosenButtonsDragAndOnlyTheirReleaseEndsTheDrag) {
  moving->SetMouseButtons(1 << ui::mbMiddle);
  backend.MouseMove(CX(45), CY(25));
  backend.MouseDown(MouseButton::Left, CX(45), CY(25));
  backend.MouseMove(CX(50), CY(25));
  backend.MouseUp(MouseButton::Left, CX(50), CY(25));
  EXPECT_EQ(KnobAt(), (ui::Point{40, 20}));
  backend.MouseDown(MouseButton::Middle, CX(50), CY(25));
  backend.MouseDown(MouseButton::Left, CX(50), CY(25));
  backend.MouseUp(MouseButton::Left, CX(50), CY(25));  // not the one that started it
  backend.MouseMove(CX(52), CY(26));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 21}));
  backend.MouseUp(MouseButton::Middle, CX(52), CY(26));
  EXPECT_FALSE(moving->Dragging());
}

// Without capture, a right or middle button may be let go over another control; the next move
// over this one comes without it and must not drag.
TEST_F(MoveableFeature, ADragWithAnUncapturedButtonEndsAtAMoveWithoutThatButton) {
  moving->SetMouseButtons(1 << ui::mbRight);
  backend.MouseMove(CX(45), CY(25));
  backend.MouseDown(MouseButton::Right, CX(45), CY(25));
  backend.MouseMove(CX(47), CY(25));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
  backend.MouseMove(CX(150), CY(70));  // off the control
  backend.MouseUp(MouseButton::Right, CX(150), CY(70));
  backend.MouseMove(CX(50), CY(30));
  EXPECT_FALSE(moving->Dragging());
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
  backend.MouseMove(CX(53), CY(31));
  EXPECT_EQ(KnobAt(), (ui::Point{42, 20}));
}

// A border of 3 pixels: the inner 10 x 10 of the 16 x 16 control does not start a drag.
TEST_F(MoveableFeature, WithABorderOnlyAPressNearTheEdgeStartsADrag) {
  moving->SetBorderSize(3);
  backend.MouseMove(CX(48), CY(28));
  backend.MouseDown(MouseButton::Left, CX(48), CY(28));
  EXPECT_FALSE(moving->Dragging());
  backend.MouseUp(MouseButton::Left, CX(48), CY(28));
  for (const ui::Point edge : {ui::Point{42, 28}, ui::Point{53, 28}, ui::Point{48, 35}}) {
    backend.MouseDown(MouseButton::Left, CX(edge.X), CY(edge.Y));
    EXPECT_TRUE(moving->Dragging()) << edge.X << "," << edge.Y;
    backend.MouseUp(MouseButton::Left, CX(edge.X), CY(edge.Y));
  }
}

}  // namespace
}  // namespace dibtest
