// Features and attached controls: feature classes found by name, items that make a feature
// for their control, messages offered to the features before the control, and the items of
// the attached-control list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DIB/DIBHighlightFeature.h"
#include "DIB/DIBMoveableFeature.h"
#include "DIB/DIBShapeableFeature.h"
#include "DIB/cDIBFeatures.h"
#include "testsupport/DIB/ContainerFixture.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"
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
    if (message.msg != ui::WM_LBUTTONDOWN) return;
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
    TDIBFeatureItem& item = m_Control.DIBFeatures().Add();
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

  SkinnedProbe& m_Control = AddSkinned("control", ui::Bounds(0, 0, 20, 20));
};

TEST_F(Features, ClassesAreFoundByNameInAnyCaseAndOthersRaise) {
  TDIBFeatureItem& item = m_Control.DIBFeatures().Add();
  EXPECT_EQ(item.DisplayName(), "DIB feature");
  item.SetFeatureClassName("tpresscatcher");
  ASSERT_NE(item.Feature(), nullptr);
  EXPECT_EQ(item.Feature()->Control(), &m_Control);
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
  TDIBFeatureItem& item = m_Control.DIBFeatures().Add();
  EXPECT_EQ(ErrorOf(item, "Moveable DIB"), "Moveable DIB has not been registered");
  for (const char* name : {"TMoveableDIB", "THighlightDIB", "TShapeableDIB"}) {
    item.SetFeatureClassName(name);
    EXPECT_EQ(item.Feature()->ClassName(), name);
    EXPECT_EQ(item.Feature()->Control(), &m_Control);
  }
  EXPECT_EQ(item.DisplayName(), "Shapeable DIB");
}

TEST_F(Features, AFeatureBelongsToItsControlAndGoesWithItsItemOrWithTheControl) {
  TDIBFeatureItem& item = m_Control.DIBFeatures().Add();
  item.SetFeatureClassName("TPressCatcher");
  EXPECT_EQ(item.Feature()->Owner(), &m_Control);
  item.SetFeatureClassName("TMoveableDIB");  // the first one goes
  ASSERT_EQ(m_Control.ComponentCount(), 1);
  EXPECT_EQ(&m_Control.Components(0), item.Feature());
  // Written on its own, the control stores its feature through the item only.
  EXPECT_EQ(ui::WriteRootToText(m_Control).find("TMoveableDIB {"), std::string::npos);
  m_Control.DIBFeatures().Delete(0);
  EXPECT_EQ(m_Control.ComponentCount(), 0);
  SkinnedProbe& other = AddSkinned("other", ui::Bounds(30, 0, 20, 20));
  other.DIBFeatures().Add().SetFeatureClassName("TPressCatcher");
  delete &other;  // with its feature, once
}

TEST_F(Features, TheFirstFeatureThatHandlesAMessageKeepsItFromTheRest) {
  TPressCatcher& first = AddCatcher(true);
  TPressCatcher& second = AddCatcher(true);
  m_Backend.Click(CX(5), CY(5));
  EXPECT_EQ(first.presses, 1);
  EXPECT_EQ(second.presses, 0);
  EXPECT_EQ(m_Control.presses, 0);  // nor does the control get it
  m_Control.DIBFeatures().Items(0).SetEnabled(false);
  m_Backend.Click(CX(5), CY(5));
  EXPECT_EQ(first.presses, 1);
  EXPECT_EQ(second.presses, 1);
  EXPECT_EQ(m_Control.presses, 0);
  second.SetCatch(false);
  m_Backend.Click(CX(5), CY(5));
  EXPECT_EQ(m_Control.presses, 1);
}

TEST_F(Features, WithoutFeaturesEveryMessageIsTheControls) {
  m_Backend.Click(CX(5), CY(5));
  EXPECT_EQ(m_Control.presses, 1);
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

// A container with one control whose items carry each feature with settings of its own.
class StoredFeatures : public Features {
 protected:
  StoredFeatures() {
    TDIBFeatures& features = m_Knob.DIBFeatures();
    auto& moving = Make<TMoveableDIB>(features.Add(), "tmoveabledib");
    moving.SetSnapSize(4);
    moving.SetAllowVertical(false);
    moving.SetMouseButtons(1 << ui::mbLeft | 1 << ui::mbMiddle);
    TDIBFeatureItem& highlightItem = features.Add();
    Make<THighlightDIB>(highlightItem, "THighlightDIB").SetHighlightOpacity(90);
    highlightItem.SetEnabled(false);
    highlightItem.SetFeatureParameters("kept");
    auto& shape = Make<TShapeableDIB>(features.Add(), "TShapeableDIB");
    shape.SetTransparentMode(tmFixed);
    shape.SetTransparentColor(ui::clWhite);
    shape.SetMaskLevel(7);
    features.Add();  // no feature
  }
  template <class F>
  static F& Make(TDIBFeatureItem& item, const std::string& name) {
    item.SetFeatureClassName(name);
    return dynamic_cast<F&>(*item.Feature());
  }
  template <class F>
  static F& FeatureOf(TTestDIBControl& control, int index) {
    auto* feature = dynamic_cast<F*>(control.DIBFeatures().Items(index).Feature());
    if (feature == nullptr) throw std::runtime_error("no such feature");
    EXPECT_EQ(feature->Control(), &control);
    return *feature;
  }
  static void ExpectSettingsOf(TTestDIBControl& control) {
    const TDIBFeatures& features = control.DIBFeatures();
    ASSERT_EQ(features.Count(), 4);
    const auto& moving = FeatureOf<TMoveableDIB>(control, 0);
    EXPECT_EQ(features.Items(0).FeatureClassName(), "tmoveabledib");
    EXPECT_EQ(moving.SnapSize(), 4);
    EXPECT_FALSE(moving.AllowVertical());
    EXPECT_TRUE(moving.AllowHorizontal());
    EXPECT_EQ(moving.MouseButtons(), 1 << ui::mbLeft | 1 << ui::mbMiddle);
    EXPECT_EQ(FeatureOf<THighlightDIB>(control, 1).HighlightOpacity(), 90);
    EXPECT_FALSE(features.Items(1).Enabled());
    const auto& shape = FeatureOf<TShapeableDIB>(control, 2);
    EXPECT_EQ(shape.TransparentMode(), tmFixed);
    EXPECT_EQ(shape.TransparentColor(), ui::clWhite);
    EXPECT_EQ(shape.MaskLevel(), 7);
    EXPECT_EQ(features.Items(3).Feature(), nullptr);
  }
  std::unique_ptr<ui::Component> m_Root =
      ui::ReadRootFromText("TDIBContainer Stored {\n  TTestDIBControl Knob {\n  }\n}");
  TTestDIBControl& m_Knob = m_Root->RequireComponent<TTestDIBControl>("Knob");
};

TEST_F(StoredFeatures, FeaturesAreRecreatedWithTheirSettingsFromTheBinaryForm) {
  ui::MemoryStream binary;
  ui::ComponentWriter(binary).WriteRoot(*m_Root);
  binary.SetPosition(0);
  std::unique_ptr<ui::Component> read = ui::ComponentReader(binary).ReadRoot();
  ExpectSettingsOf(read->RequireComponent<TTestDIBControl>("Knob"));
}

TEST_F(StoredFeatures, FeaturesAreRecreatedWithTheirSettingsFromTheTextForm) {
  const std::string text = ui::WriteRootToText(*m_Root);
  EXPECT_NE(text.find("DIBFeatureParameters = ("), std::string::npos);
  std::unique_ptr<ui::Component> read = ui::ReadRootFromText(text);
  auto& copy = read->RequireComponent<TTestDIBControl>("Knob");
  ExpectSettingsOf(copy);
  EXPECT_EQ(copy.DIBFeatures().Items(1).FeatureParameters(), "kept");
  EXPECT_EQ(ui::WriteRootToText(*read), text);
}

TEST_F(StoredFeatures, AssignedItemsMakeTheirOwnFeaturesWithTheSourcesSettings) {
  auto& other = ui::Create<TTestDIBControl>(*m_Root);
  other.SetParentComponent(m_Root.get());
  other.DIBFeatures().Assign(m_Knob.DIBFeatures());
  ExpectSettingsOf(other);
  EXPECT_NE(other.DIBFeatures().Items(0).Feature(), m_Knob.DIBFeatures().Items(0).Feature());
}

// Every shorter piece of good settings, and settings of another kind, are refused with a
// framework error; the item keeps the feature and settings it had.
TEST_F(StoredFeatures, MalformedSettingsAreRefusedAndChangeNothing) {
  ui::MemoryStream good;
  m_Knob.DIBFeatures().Items(0).WriteFeatureParameters(good);
  TDIBFeatureItem& item = m_Control.DIBFeatures().Add();
  auto& kept = Make<TMoveableDIB>(item, "TMoveableDIB");
  kept.SetSnapSize(9);
  auto expectRefused = [&](std::vector<uint8_t> bytes, const std::string& error) {
    ui::MemoryStream data(bytes);
    try {
      item.ReadFeatureParameters(data);
      ADD_FAILURE() << "read " << bytes.size() << " bytes";
    } catch (const ui::Exception& e) {
      if (!error.empty()) {
        EXPECT_EQ(e.what(), error);
      }
    }
    EXPECT_EQ(item.Feature(), &kept);
    EXPECT_EQ(item.FeatureClassName(), "TMoveableDIB");
    EXPECT_EQ(kept.SnapSize(), 9);
  };
  const std::vector<uint8_t>& bytes = good.Bytes();
  for (size_t size = 0; size < bytes.size(); ++size) {
    expectRefused({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)}, "");
  }
  auto settingsOf = [](const std::string& name, ui::Component& feature) {
    ui::MemoryStream data;
    ui::ComponentWriter writer(data);
    writer.Values().WriteString(name);
    writer.WriteRoot(feature);
    return data.Bytes();
  };
  THighlightDIB highlight(nullptr);
  expectRefused(settingsOf("TNoSuchFeature", highlight), "TNoSuchFeature has not been registered");
  expectRefused(settingsOf("", highlight), "Stored feature parameters name no feature class");
  expectRefused(settingsOf("TMoveableDIB", highlight),
                "Stored feature parameters of TMoveableDIB hold a THighlightDIB");
  TMoveableDIB moving(nullptr);
  std::vector<uint8_t> withChild = settingsOf("TMoveableDIB", moving);
  withChild.back() = 1;  // the end of the children becomes the start of one
  expectRefused(withChild, "Stored feature parameters hold components");
}

// Read settings are applied when the control has been read: settings naming a class that is
// not there fail the whole read.
TEST_F(Features, StoredSettingsOfAnUnknownClassFailTheRead) {
  try {
    ui::ReadRootFromText(R"(TDIBContainer Stored {
  TTestDIBControl Knob {
    DIBFeatures = <
      item {
        FeatureClassName = "TMoveableDIB"
        DIBFeatureParameters = (
          0B0300000078797A
        )
      }
    >
  }
})");
    ADD_FAILURE() << "read";
  } catch (const EFeatureError& error) {
    EXPECT_STREQ(error.what(), "xyz has not been registered");
  }
}

TEST_F(Features, AttachedControlItemsNameOneControlEachAndAreNamedAfterIt) {
  SkinnedProbe& buddy = AddSkinned("buddy", ui::Bounds(30, 0, 10, 10));
  TControlItem& item = m_Control.AttachedControls().Add();
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
  TControlItem& copy = m_Control.AttachedControls().Add();
  EXPECT_THROW(copy.Assign(item), EFeatureError);
  buddy.SetName("");
  EXPECT_EQ(item.DisplayName(), "TTestDIBControl");
}

}  // namespace
}  // namespace dibtest
