#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/TypeInfo.h"

namespace {

using sample::Log;
using sample::TSampleComponent;
using sample::TSampleItem;

// Root owns Middle, Leaf and an unnamed one; Leaf is stored inside Middle.
struct Tree {
  std::unique_ptr<TSampleComponent> root = std::make_unique<TSampleComponent>(nullptr);
  TSampleComponent& middle = ui::Create<TSampleComponent>(*root);
  TSampleComponent& leaf = ui::Create<TSampleComponent>(*root);
  TSampleComponent& unnamed = ui::Create<TSampleComponent>(*root);

  Tree() {
    root->SetName("Root");
    middle.SetName("Middle");
    leaf.SetName("Leaf");
    leaf.SetParentComponent(&middle);
    root->SetCount(-70000);
    root->SetSmall(-5);
    root->SetWidth(65535);
    root->SetBig(INT64_MIN);
    root->SetLetter('\xE9');
    root->SetMode(sample::Mode::Third);
    root->SetVisible(false);
    root->SetRatio(0.1);
    root->SetScale(1.0L / 3.0L);
    root->SetFactor(1.5f);
    root->SetCaption("Tab\there \"quoted\" \xC3\xA9");
    root->SetOptions(0b101);
    root->SetColor(0xC0C0C0);
    root->SetSecret(99);
    root->Font().SetSize(12);
    root->Font().SetStyle(sample::fsItalic);
    root->Font().SetColor(255);
    root->Font().glyph = {0xDE, 0xAD, 0xBE, 0xEF};
    auto& first = static_cast<TSampleItem&>(root->Items().Add());
    first.SetCaption("first");
    first.SetWeight(3);
    first.SetBuddy(&leaf);
    first.Font().SetSize(9);
    root->Items().Add();
    root->SetBuddy(&leaf);  // stored before Leaf: resolved only after the tree is read
    root->data = {0, 1, 2, 3};
    root->note = "note";
    middle.SetWidth(1);
    leaf.SetWidth(2);
    leaf.SetScale(std::numeric_limits<long double>::infinity());
    leaf.SetColor(-16777201);
    leaf.SetBuddy(root.get());
    unnamed.SetWidth(3);
    unnamed.SetScale(-0.0L);
  }
};

std::vector<uint8_t> Write(ui::Component& root) {
  ui::MemoryStream stream;
  ui::ComponentWriter(stream).WriteRoot(root);
  return stream.Bytes();
}

std::unique_ptr<ui::Component> Read(const std::vector<uint8_t>& bytes) {
  ui::MemoryStream stream(bytes);
  return ui::ComponentReader(stream).ReadRoot();
}

TSampleComponent& Find(ui::Component& root, const std::string& name) {
  return root.RequireComponent<TSampleComponent>(name);
}

void ExpectSameTree(TSampleComponent& read) {
  Tree original;
  TSampleComponent& root = *original.root;
  EXPECT_EQ(read.Name(), "Root");
  EXPECT_EQ(read.Count(), root.Count());
  EXPECT_EQ(read.Small(), root.Small());
  EXPECT_EQ(read.Width(), root.Width());
  EXPECT_EQ(read.Big(), root.Big());
  EXPECT_EQ(read.Letter(), root.Letter());
  EXPECT_EQ(read.Mode(), root.Mode());
  EXPECT_EQ(read.Visible(), root.Visible());
  EXPECT_EQ(std::bit_cast<uint64_t>(read.Ratio()), std::bit_cast<uint64_t>(root.Ratio()));
  EXPECT_EQ(read.Scale(), root.Scale());
  EXPECT_EQ(read.Factor(), root.Factor());
  EXPECT_EQ(read.Caption(), root.Caption());
  EXPECT_EQ(read.Options(), root.Options());
  EXPECT_EQ(read.Color(), root.Color());
  EXPECT_EQ(read.Secret(), 0) << "not stored";
  EXPECT_EQ(read.Font().Size(), 12);
  EXPECT_EQ(read.Font().Style(), sample::fsItalic);
  EXPECT_EQ(read.Font().Color(), 255);
  EXPECT_EQ(read.Font().glyph, root.Font().glyph);
  EXPECT_EQ(read.data, root.data);
  EXPECT_EQ(read.note, "note");

  ASSERT_EQ(read.ComponentCount(), 3);
  TSampleComponent& middle = Find(read, "Middle");
  TSampleComponent& leaf = Find(read, "Leaf");
  auto& unnamed = dynamic_cast<TSampleComponent&>(read.Components(2));
  EXPECT_EQ(middle.Parent(), &read);  // read inside the root
  EXPECT_EQ(leaf.Parent(), &middle);
  EXPECT_EQ(middle.Width(), 1);
  EXPECT_EQ(leaf.Width(), 2);
  EXPECT_TRUE(std::isinf(leaf.Scale()));
  EXPECT_EQ(leaf.Color(), -16777201);
  EXPECT_EQ(unnamed.Name(), "");
  EXPECT_TRUE(unnamed.Scale() == 0 && std::signbit(unnamed.Scale()));

  EXPECT_EQ(read.Buddy(), &leaf);
  EXPECT_EQ(leaf.Buddy(), &read);
  ASSERT_EQ(read.Items().Count(), 2);
  EXPECT_EQ(read.Items().Item(0).Caption(), "first");
  EXPECT_EQ(read.Items().Item(0).Weight(), 3);
  EXPECT_EQ(read.Items().Item(0).Buddy(), &leaf);
  EXPECT_EQ(read.Items().Item(0).Font().Size(), 9);
  EXPECT_EQ(read.Items().Item(1).Caption(), "");
}

class ComponentStream : public ::testing::Test {
 protected:
  void SetUp() override {
    sample::RegisterSampleClasses();
    Log().clear();
  }
};

TEST_F(ComponentStream, BinaryRoundTripKeepsEveryKindOfProperty) {
  Tree tree;
  auto read = Read(Write(*tree.root));
  ExpectSameTree(dynamic_cast<TSampleComponent&>(*read));
}

TEST_F(ComponentStream, TextRoundTripKeepsEveryKindOfProperty) {
  Tree tree;
  const std::string text = ui::WriteRootToText(*tree.root);
  auto read = ui::ReadRootFromText(text);
  ExpectSameTree(dynamic_cast<TSampleComponent&>(*read));
  EXPECT_EQ(ui::WriteRootToText(*read), text);
}

TEST_F(ComponentStream, HandWrittenSampleTextReadsAsTheSampleTree) {
  auto read = ui::ReadRootFromText(sample::kSampleTreeText);
  auto& root = dynamic_cast<TSampleComponent&>(*read);
  // The text gives a decimal Scale; the tree has 1/3 exactly.
  Tree tree;
  EXPECT_EQ(root.Scale(), tree.root->Scale());
  EXPECT_EQ(ui::WriteRootToText(root), ui::WriteRootToText(*tree.root));
}

TEST_F(ComponentStream, DefaultsNotStoredPropertiesAndEventsAreLeftOut) {
  TSampleComponent plain(nullptr);
  plain.SetSecret(5);
  const std::string text = ui::WriteRootToText(plain);
  EXPECT_EQ(text,
            "TSampleComponent {\n"
            "  Width = 0\n"
            "  Scale = 100.0\n"
            "  Color = clBlack\n"
            "  Font.Color = clBlack\n"
            "  Items = <>\n"
            "}\n");
}

TEST_F(ComponentStream, LoadedRunsOnceForEachComponentParentsFirstAfterReferences) {
  Tree tree;
  const auto bytes = Write(*tree.root);
  Log().clear();
  auto read = Read(bytes);
  std::vector<std::string> loaded;
  for (const auto& entry : Log()) {
    if (entry.starts_with("Loaded")) loaded.push_back(entry);
  }
  EXPECT_EQ(loaded, (std::vector<std::string>{"Loaded Root", "Loaded Middle", "Loaded Leaf",
                                              "Loaded TSampleComponent"}));
  auto& root = dynamic_cast<TSampleComponent&>(*read);
  EXPECT_EQ(root.loadedCount, 1);
  EXPECT_TRUE(root.loadingSeenInLoaded);
  EXPECT_FALSE(root.HasState(ui::ComponentState::Loading));
  EXPECT_FALSE(root.HasState(ui::ComponentState::Reading));
  for (int i = 0; i < root.ComponentCount(); ++i) {
    auto& child = dynamic_cast<TSampleComponent&>(root.Components(i));
    EXPECT_EQ(child.loadedCount, 1);
    EXPECT_FALSE(child.HasState(ui::ComponentState::Loading));
  }
}

TEST_F(ComponentStream, ReadsIntoAnExistingRootOfTheStoredClass) {
  Tree tree;
  const auto bytes = Write(*tree.root);
  TSampleComponent target(nullptr);
  ui::MemoryStream stream(bytes);
  ui::ComponentReader(stream).ReadRoot(target);
  ExpectSameTree(target);
}

TEST_F(ComponentStream, ReaderStopsAtTheEndOfTheRoot) {
  Tree tree;
  ui::MemoryStream stream;
  ui::ComponentWriter writer(stream);
  writer.WriteRoot(*tree.root);
  writer.Values().WriteString("after");
  stream.SetPosition(0);
  ui::ComponentReader reader(stream);
  reader.ReadRoot();
  EXPECT_EQ(reader.Values().ReadString(), "after");
}

TEST_F(ComponentStream, PropertyListsCarryClassDefinedContent) {
  // How a template or a feature's parameters use the writer and reader directly.
  TSampleComponent source(nullptr);
  source.SetWidth(7);
  source.note = "kept";
  ui::MemoryStream stream;
  ui::ComponentWriter writer(stream);
  writer.Values().WriteString("TSampleComponent");
  writer.WritePropertyList(source);
  writer.WriteProperty(source, *TSampleComponent::StaticType().FindProperty("Count"));
  writer.WriteProperty(source, *TSampleComponent::StaticType().FindProperty("Font"));
  stream.SetPosition(0);
  ui::ComponentReader reader(stream);
  EXPECT_EQ(reader.Values().ReadString(), "TSampleComponent");
  TSampleComponent target(nullptr);
  target.SetCount(9);
  target.Font().SetSize(12);
  reader.ReadPropertyList(target);
  EXPECT_EQ(target.Width(), 7);
  EXPECT_EQ(target.note, "kept");
  EXPECT_EQ(reader.Values().ReadName(), "Count");
  EXPECT_EQ(reader.Values().ReadInteger(), 0);
  // One property is its whole value: a nested object's defaults are written too.
  const std::string name = reader.Values().ReadName();
  EXPECT_EQ(name, "Font.Size");
  reader.ReadPropertyValue(target, name);
  EXPECT_EQ(target.Font().Size(), 8);
}

TEST_F(ComponentStream, ReferenceOutsideTheRootCannotBeWritten) {
  TSampleComponent outside(nullptr);
  outside.SetName("Outside");
  TSampleComponent root(nullptr);
  root.SetBuddy(&outside);
  EXPECT_THROW(Write(root), ui::StreamWriteError);
  TSampleComponent unnamedTarget(nullptr);
  root.SetBuddy(&unnamedTarget);
  EXPECT_THROW(Write(root), ui::StreamWriteError);
}

TEST_F(ComponentStream, ValuesThatHaveNoNameCannotBeWritten) {
  TSampleComponent root(nullptr);
  root.SetMode(static_cast<sample::Mode>(7));
  EXPECT_THROW(Write(root), ui::StreamWriteError);
  root.SetMode(sample::Mode::First);
  root.SetOptions(0x80);
  EXPECT_THROW(Write(root), ui::StreamWriteError);
}

}  // namespace
