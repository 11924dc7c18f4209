#include <gtest/gtest.h>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/Exception.h"
#include "ui/model/TypeBuilder.h"
#include "ui/model/TypeInfo.h"

namespace {

using sample::TSampleComponent;
using sample::TSampleFont;

TEST(Persistent, AssignsWhenTheTargetKnowsTheSource) {
  TSampleFont source;
  source.SetSize(20);
  source.glyph = {1, 2};
  TSampleFont target;
  target.Assign(source);
  EXPECT_EQ(target.Size(), 20);
  EXPECT_EQ(target.glyph, source.glyph);
}

TEST(Persistent, AssignErrorNamesSourceThenTarget) {
  TSampleComponent component(nullptr);
  TSampleFont font;
  try {
    font.Assign(component);
    FAIL() << "no error";
  } catch (const ui::AssignError& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TSampleComponent to a TSampleFont");
  }
  EXPECT_THROW(component.Assign(font), ui::AssignError);
}

TEST(Persistent, ClassNameAndAncestryComeFromTheTypeInfo) {
  TSampleComponent component(nullptr);
  EXPECT_EQ(component.ClassName(), "TSampleComponent");
  EXPECT_TRUE(component.InheritsFrom(ui::Component::StaticType()));
  EXPECT_TRUE(component.InheritsFrom(ui::Persistent::StaticType()));
  EXPECT_FALSE(component.InheritsFrom(TSampleFont::StaticType()));
}

TEST(Persistent, PropertiesListAncestorsFirstAndFindIgnoresCase) {
  const ui::TypeInfo& type = TSampleComponent::StaticType();
  const auto properties = type.Properties();
  ASSERT_GE(properties.size(), 2u);
  EXPECT_EQ(properties[0]->name, "Tag");
  EXPECT_EQ(properties[1]->name, "Count");
  ASSERT_NE(type.FindProperty("fOnT"), nullptr);
  EXPECT_EQ(type.FindProperty("fOnT")->kind, ui::PropertyKind::Object);
  EXPECT_EQ(type.FindProperty("Missing"), nullptr);
}

TEST(Persistent, FindGivesAnAncestorsOwnPropertyInAnyCaseAndNoNearMiss) {
  const ui::TypeInfo& type = TSampleComponent::StaticType();
  const ui::PropertyInfo* tag = ui::Component::StaticType().FindProperty("Tag");
  ASSERT_NE(tag, nullptr);
  EXPECT_EQ(type.FindProperty("tAG"), tag);
  EXPECT_EQ(type.FindProperty("TAG"), tag);
  EXPECT_EQ(type.FindProperty("COUNT"), type.FindProperty("Count"));
  for (const char* near : {"Ta", "Tags", "Tag ", "", "Count.Tag"}) {
    EXPECT_EQ(type.FindProperty(near), nullptr) << near;
  }
  EXPECT_EQ(ui::Component::StaticType().FindProperty("Count"), nullptr);  // not upwards
}

TEST(Persistent, BuilderDerivesRangesFromTheValueType) {
  const ui::TypeInfo& type = TSampleComponent::StaticType();
  EXPECT_EQ(type.FindProperty("Width")->minValue, 0);
  EXPECT_EQ(type.FindProperty("Width")->maxValue, 65535);
  EXPECT_EQ(type.FindProperty("Small")->minValue, -128);
  EXPECT_EQ(type.FindProperty("Letter")->maxValue, 255);
  EXPECT_EQ(type.FindProperty("Mode")->maxValue, 2);
  EXPECT_EQ(type.FindProperty("Scale")->precision, ui::FloatPrecision::Extended);
  EXPECT_EQ(type.FindProperty("Ratio")->precision, ui::FloatPrecision::Double);
  EXPECT_TRUE(type.FindProperty("Handle")->IsReadOnly());
}

// Publishes two of its base's properties, the second with a default of its own.
class TSampleCounter : public TSampleComponent {
 public:
  using TSampleComponent::TSampleComponent;
  static const ui::TypeInfo& StaticType() {
    static const ui::TypeInfo type =
        ui::TypeBuilder<TSampleCounter>("TSampleCounter", ui::Component::StaticType())
            .Publish<TSampleComponent>("Caption")
            .Publish<TSampleComponent>("count")
            .Default(7)
            .Build();
    return type;
  }
  const ui::TypeInfo& Type() const override { return StaticType(); }
};

TEST(Persistent, AClassMayPublishSomeOfItsBasesPropertiesInAnOrderOfItsOwn) {
  const auto properties = TSampleCounter::StaticType().Properties();
  ASSERT_EQ(properties.size(), 3u);  // after Tag
  EXPECT_EQ(properties[1]->name, "Caption");
  EXPECT_EQ(properties[2]->name, "Count");
  TSampleCounter counter(nullptr);
  counter.SetCount(7);
  EXPECT_TRUE(properties[2]->IsDefault(counter));
  EXPECT_FALSE(TSampleComponent::StaticType().FindProperty("Count")->IsDefault(counter));
}

TEST(Persistent, CharacterAbove127KeepsItsCode) {
  TSampleComponent component(nullptr);
  const ui::PropertyInfo& letter = *TSampleComponent::StaticType().FindProperty("Letter");
  letter.setOrdinal(component, 0xE9);
  EXPECT_EQ(letter.getOrdinal(component), 0xE9);
}

TEST(Persistent, DuplicatePropertyNamesAreRefused) {
  ui::PropertyInfo clash;
  clash.name = "tag";  // Component already has Tag
  EXPECT_THROW(ui::TypeInfo("TBad", &ui::Component::StaticType(), {clash}, nullptr),
               ui::AssertionError);
  ui::PropertyInfo first;
  first.name = "Speed";
  clash.name = "SPEED";
  EXPECT_THROW(ui::TypeInfo("TBad", nullptr, {first, clash}, nullptr), ui::AssertionError);
}

TEST(Persistent, AssertionErrorNamesItsSource) {
  try {
    ui::Assert(false, "DIB\\cDIB");
    FAIL() << "no error";
  } catch (const ui::AssertionError& error) {
    EXPECT_EQ(error.Source(), "DIB\\cDIB");
    EXPECT_STREQ(error.what(), "Assertion failure (DIB\\cDIB)");
  }
}

}  // namespace
