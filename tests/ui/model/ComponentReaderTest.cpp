#include <gtest/gtest.h>

#include <functional>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/ValueWriter.h"

namespace {

using sample::TSampleComponent;

// A stream holding one TSampleComponent named Root whose property list `properties` writes.
std::vector<uint8_t> Root(const std::function<void(ui::ValueWriter&)>& properties,
                          const std::string& className = "TSampleComponent") {
  ui::MemoryStream stream;
  ui::ValueWriter writer(stream);
  writer.WriteSignature();
  writer.WriteName(className);
  writer.WriteName("Root");
  properties(writer);
  writer.WriteName({});
  writer.WriteMarker(false);
  return stream.Bytes();
}

template <class Error>
std::string ReadErrorOf(const std::vector<uint8_t>& bytes) {
  ui::MemoryStream stream(bytes);
  try {
    ui::ComponentReader(stream).ReadRoot();
  } catch (const Error& error) {
    return error.what();
  } catch (const ui::Exception& error) {
    return std::string("other error: ") + error.what();
  }
  return "no error";
}

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override { sample::RegisterSampleClasses(); }
};

TEST_F(BadInput, EveryTruncationOfAValidStreamRaisesAFrameworkError) {
  auto tree = ui::ReadRootFromText(sample::kSampleTreeText);
  ui::MemoryStream full;
  ui::ComponentWriter(full).WriteRoot(*tree);
  const std::vector<uint8_t>& bytes = full.Bytes();
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
    ui::MemoryStream stream(prefix);
    EXPECT_THROW(ui::ComponentReader(stream).ReadRoot(), ui::Exception) << length;
  }
}

TEST_F(BadInput, WrongSignatureIsNamed) {
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>({'T', 'P', 'F', '0', 1, 2}),
            "Not a component stream: the signature is missing");
}

TEST_F(BadInput, UnknownClassIsNamed) {
  EXPECT_EQ(ReadErrorOf<ui::ClassNotFoundError>(Root([](auto&) {}, "TNoSuchThing")),
            "Class TNoSuchThing not found");
}

TEST_F(BadInput, UnknownPropertyIsNamedWithItsComponent) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Font.Weight");
              w.WriteInteger(1);
            })),
            "Root: TSampleComponent has no property \"Font.Weight\"");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Count.x");
              w.WriteInteger(1);
            })),
            "Root: TSampleComponent has no property \"Count.x\"");
}

TEST_F(BadInput, ValueOfTheWrongTypeIsNamed) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Width");
              w.WriteString("wide");
            })),
            "The property \"Width\" of Root: TSampleComponent needs an integer, not a string");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Items");
              w.WriteInteger(1);
            })),
            "The property \"Items\" of Root: TSampleComponent needs a collection, not an integer");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Font");
              w.WriteInteger(1);
            })),
            "The property \"Font\" of Root: TSampleComponent holds an object; its properties are "
            "stored as \"Font.Name\"");
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Note");
              w.WriteInteger(1);
            })),
            "Expected a string in the stream, found an integer");
}

TEST_F(BadInput, ValueOutOfRangeIsNamed) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Width");
              w.WriteInteger(70000);
            })),
            "Value 70000 is out of range for property \"Width\" of Root: TSampleComponent "
            "(0..65535)");
}

TEST_F(BadInput, UnknownIdentifiersAreNamed) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Mode");
              w.WriteIdent("smFourth");
            })),
            "\"smFourth\" is not a value of property \"Mode\" of Root: TSampleComponent");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Options");
              const std::string elements[] = {"soA", "soZ"};
              w.WriteSet(elements);
            })),
            "\"soZ\" is not an element of property \"Options\" of Root: TSampleComponent");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Color");
              w.WriteIdent("clPlaid");
            })),
            "\"clPlaid\" is not a value of property \"Color\" of Root: TSampleComponent");
}

TEST_F(BadInput, PropertiesThatCannotBeReadAreRefused) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Handle");
              w.WriteInteger(1);
            })),
            "The property \"Handle\" of Root: TSampleComponent is read-only");
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("OnChange");
              w.WriteIdent("RootChange");
            })),
            "The property \"OnChange\" of Root: TSampleComponent is an event; handlers are "
            "connected in code, not stored");
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Count");
              w.WriteInteger(1);
              w.WriteName("count");
              w.WriteInteger(2);
            })),
            "The property \"count\" of Root: TSampleComponent is stored twice");
}

TEST_F(BadInput, AbsurdLengthIsRefused) {
  std::vector<uint8_t> bytes = Root([](ui::ValueWriter& w) {
    w.WriteName("Caption");
    w.WriteString("abc");
  });
  // The string's length field follows its name and tag.
  const std::string marker = "Caption";
  auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
  const size_t lengthOffset = static_cast<size_t>(at - bytes.begin()) + marker.size() + 1;
  for (size_t i = 0; i < 4; ++i) bytes[lengthOffset + i] = 0xFF;
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>(bytes).rfind("Stored length 4294967295 exceeds", 0),
            0u);
}

TEST_F(BadInput, UnknownValueTagIsRefused) {
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Count");
              const uint8_t tag = 0x7F;
              w.Target().WriteBuffer(&tag, 1);
            })),
            "Unknown value type 127 in the stream");
}

TEST_F(BadInput, ReferenceToAMissingComponentIsNamed) {
  EXPECT_EQ(ReadErrorOf<ui::InvalidPropertyError>(Root([](ui::ValueWriter& w) {
              w.WriteName("Buddy");
              w.WriteReference("Nobody");
            })),
            "The property \"Buddy\" of Root: TSampleComponent refers to the unknown component "
            "\"Nobody\"");
}

TEST_F(BadInput, DeepNestingIsRefused) {
  ui::MemoryStream stream;
  ui::ValueWriter w(stream);
  w.WriteSignature();
  for (int level = 0; level <= ui::kMaxNestingDepth + 1; ++level) {
    w.WriteName("TSampleComponent");
    w.WriteName({});
    w.WriteName({});  // no properties
    w.WriteMarker(true);
  }
  EXPECT_EQ(ReadErrorOf<ui::StreamReadError>(stream.Bytes()),
            "Components and collections are nested deeper than 64 levels");
}

TEST_F(BadInput, ClassOfAnExistingRootMustMatch) {
  TSampleComponent root(nullptr);
  ui::MemoryStream stream(Root([](auto&) {}, "TOther"));
  try {
    ui::ComponentReader(stream).ReadRoot(root);
    FAIL() << "no error";
  } catch (const ui::StreamReadError& error) {
    EXPECT_STREQ(error.what(), "The stream holds a TOther, not a TSampleComponent");
  }
}

TEST_F(BadInput, ClashingOrInvalidComponentNamesAreRefused) {
  EXPECT_EQ(ReadErrorOf<ui::ComponentNameError>(ui::TextToBinary(
                "TSampleComponent Root { TSampleComponent A {} TSampleComponent a {} }")),
            "A component named a already exists");
  ui::MemoryStream stream;
  ui::ValueWriter w(stream);
  w.WriteSignature();
  w.WriteName("TSampleComponent");
  w.WriteName("no name");
  EXPECT_EQ(ReadErrorOf<ui::ComponentNameError>(stream.Bytes()),
            "\"no name\" is not a valid component name");
}

TEST_F(BadInput, FailedChildIsDestroyedAndTheRootLeftOutOfTheLoadingState) {
  TSampleComponent root(nullptr);
  const auto bytes = ui::TextToBinary(
      "TSampleComponent Root { TSampleComponent Good {} TSampleComponent Bad { Width = -1 } }");
  ui::MemoryStream stream(bytes);
  EXPECT_THROW(ui::ComponentReader(stream).ReadRoot(root), ui::InvalidPropertyError);
  ASSERT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(root.Components(0).Name(), "Good");
  EXPECT_FALSE(root.HasState(ui::ComponentState::Loading));
  EXPECT_FALSE(root.Components(0).HasState(ui::ComponentState::Loading));
  EXPECT_EQ(root.loadedCount, 0);
}

}  // namespace
