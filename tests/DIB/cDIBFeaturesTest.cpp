// Features and attached controls: feature classes found by name, items that make a feature
// for their control, messages offered to the features before the control, and the items of
// the attached-control list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DIB/ContainerFixture.h"
#include "DIB/DIBHighlightFeature.h"
#include "DIB/DIBMoveableFeature.h"
#include "DIB/DIBShapeableFeature.h"
#include "DIB/cDIBFeatures.h"
#include "ui/model/TextForm.h"
#include "ui/model/TypeBuilder.h"

namespace dibtest {
namespace {

// Sees every message of its control and may keep left presses from it.
class TPressCatcher : public TDIBFeature {
 public:
  explicit TPressCatcher(ui::Component* owner) : TDIBFeature(owner) {}
  static const ui::TypeInfo& StaticType() {
    static const ui::TypeInfo type =
        ui::TypeBuilder<TPressCatcher>("TPressCatcher", TDIBFeature::StaticType())
            .Boolean("Catch", &TPressCatcher::Catch, &TPressCatcher::SetCatch)
            .Default(false)
            .Creatable()
            .Build();
    return type;
  }
  const ui::TypeInfo& Type() const override { return StaticType(); }
  std::string GetFeatureName() const override { return "Press catcher"; }
  bool Catch() const { return m_Catch; }
  void SetCatch(bool catchPresses) { m_Catch = catchPresses; }

  void HandleMessage(ui::Message& message, bool& handled) override {
    if (message.Msg != ui::WM_LBUTTONDOWN) return;
    ++presses;
    if (m_Catch) handled = true;
  }
  int presses = 0;

 private:
  bool m_Catch = false;
};

class Features : public ContainerFixture {
 protected:
  Features() {
    RegisterFeatureClass(TPressCatcher::StaticType());
    RegisterTestDIBClasses();
  }
  ~Features() override { UnregisterFeatureClass(TPressCatcher::StaticType()); }
  TPressCatcher& AddCatcher(bool catchPresses) {
    TDIBFeatureItem& item = control.DIBFeatures().Add();
    item.SetFeatureClassName("TPressCatcher");
    auto& feature = dynamic_cast<TPressCatcher&>(*item.Feature());
    feature.SetCatch(catchPresses);
    return feature;
  }
  std::string ErrorOf(TDIBFeatureItem& item, const std::string& name) {
    try {
      item.SetFeatureClassName(name);
    } catch (const EFeatureError& error) {
      return error.what();
    }
    return "no error";
  }

  SkinnedProbe& control = AddSkinned("control", ui::Bounds(0, 0, 20, 20));
};

TEST_F(Features, ClassesAreFoundByNameInAnyCaseAndOthersRaise) {
  TDIBFeatureItem& item = control.DIBFeatures().Add();
  EXPECT_EQ(item.DisplayName(), "DIB feature");
  item.SetFeatureClassName("tpresscatcher");
  ASSERT_NE(item.Feature(), nullptr);
  EXPECT_EQ(item.Feature()->Control(), &control);
  EXPECT_EQ(item.DisplayName(), "Press catcher");
  EXPECT_EQ(ErrorOf(item, "Press catcher"), "Press catcher has not been registered");
  EXPECT_EQ(item.FeatureClassName(), "tpresscatcher");  // unchanged
  EXPECT_NE(item.Feature(), nullptr);
  item.SetFeatureClassName("");
  EXPECT_EQ(item.Feature(), nullptr);
  EXPECT_EQ(item.DisplayName(), "DIB feature");
}

TEST_F(Features, TheLibrarysFeaturesAreRegisteredFromTheStart) {
  EXPECT_EQ(FindFeatureClass("tmoveabledib"), &TMoveableDIB::StaticType());
  EXPECT_EQ(FindFeatureClass("THIGHLIGHTDIB"), &THighlightDIB::StaticType());
  EXPECT_EQ(FindFeatureClass("TShapeableDIB"), &TShapeableDIB::StaticType());
  TDIBFeatureItem& item = control.DIBFeatures().Add();
  EXPECT_EQ(ErrorOf(item, "Moveable DIB"), "Moveable DIB has not been registered");
  for (const char* name : {"TMoveableDIB", "THighlightDIB", "TShapeableDIB"}) {
    item.SetFeatureClassName(name);
    EXPECT_EQ(item.Feature()->ClassName(), name);
    EXPECT_EQ(item.Feature()->Control(), &control);
  }
  EXPECT_EQ(item.DisplayName(), "Shapeable DIB");
}

TEST_F(Features, TheFirstFeatureThatHandlesAMessageKeepsItFromTheRest) {
  TPressCatcher& first = AddCatcher(true);
  TPressCatcher& second = AddCatcher(true);
  backend.Click(CX(5), CY(5));
  EXPECT_EQ(first.presses, 1);
  EXPECT_EQ(second.presses, 0);
  EXPECT_EQ(control.presses, 0);  // nor does the control get it
  control.DIBFeatures().Items(0).SetEnabled(false);
  backend.Click(CX(5), CY(5));
  EXPECT_EQ(first.presses, 1);
  EXPECT_EQ(second.presses, 1);
  EXPECT_EQ(control.presses, 0);
  second.SetCatch(false);
  backend.Click(CX(5), CY(5));
  EXPECT_EQ(control.presses, 1);
}

TEST_F(Features, WithoutFeaturesEveryMessageIsTheControls) {
  backend.Click(CX(5), CY(5));
  EXPECT_EQ(control.presses, 1);
}

TEST_F(Features, StoredItemsMakeTheirFeatures) {
  auto root = ui::ReadRootFromText(R"(TDIBContainer Stored {
  TTestDIBControl Knob {
    DIBFeatures = <
      item {
        FeatureClassName = "TPressCatcher"
        FeatureParameters = "kept"
      }
      item {
        Enabled = false
      }
    >
  }
})");
  auto& knob = root->RequireComponent<TTestDIBControl>("Knob");
  ASSERT_EQ(knob.DIBFeatures().Count(), 2);
  EXPECT_NE(dynamic_cast<TPressCatcher*>(knob.DIBFeatures().Items(0).Feature()), nullptr);
  EXPECT_EQ(knob.DIBFeatures().Items(0).FeatureParameters(), "kept");
  EXPECT_FALSE(knob.DIBFeatures().Items(1).Enabled());
}

TEST_F(Features, AttachedControlItemsNameOneControlEachAndAreNamedAfterIt) {
  SkinnedProbe& buddy = AddSkinned("buddy", ui::Bounds(30, 0, 10, 10));
  TControlItem& item = control.AttachedControls().Add();
  EXPECT_EQ(item.DisplayName(), "TControlItem");
  try {
    item.SetControl(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "You cannot set Control to nil");
  }
  item.SetControl(&buddy);
  EXPECT_EQ(item.DisplayName(), "buddy");
  item.SetControl(&buddy);  // its own control again is no duplicate
  TControlItem& copy = control.AttachedControls().Add();
  EXPECT_THROW(copy.Assign(item), EFeatureError);
  buddy.SetName("");
  EXPECT_EQ(item.DisplayName(), "TTestDIBControl");
}

}  // namespace
}  // namespace dibtest
