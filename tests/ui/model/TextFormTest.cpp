#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "testsupport/ui/SampleComponents.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/Exception.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/ValueWriter.h"

namespace {

using sample::TSampleComponent;

class TextForm : public ::testing::Test {
 protected:
  void SetUp() override { sample::RegisterSampleClasses(); }
};

std::string TextOf(const std::vector<uint8_t>& binary) {
  ui::MemoryStream stream(binary);
  return ui::BinaryToText(stream);
}

std::string ParseError(std::string_view text) {
  try {
    ui::TextToBinary(text);
  } catch (const ui::StreamReadError& error) {
    return error.what();
  }
  return "no error";
}

TEST_F(TextForm, BinaryToTextToBinaryGivesTheSameBytes) {
  auto tree = ui::ReadRootFromText(sample::kSampleTreeText);
  ui::MemoryStream binary;
  ui::ComponentWriter(binary).WriteRoot(*tree);
  const std::string text = TextOf(binary.Bytes());
  EXPECT_EQ(ui::TextToBinary(text), binary.Bytes());
}

TEST_F(TextForm, ShowsEachKindOfValue) {
  TSampleComponent root(nullptr);
  root.SetName("Root");
  root.SetMode(sample::Mode::Second);
  root.SetOptions(0b011);
  root.SetRatio(0.1);
  root.SetFactor(0.25f);
  root.SetScale(2.5L);
  root.SetCaption("a\"b\\c\n\x01");
  root.SetBuddy(&root);
  root.data = {0xAB, 0x01};
  root.Font().SetColor(0x0000FF);
  root.Items().Add();
  EXPECT_EQ(ui::WriteRootToText(root),
            "TSampleComponent Root {\n"
            "  Width = 0\n"
            "  Mode = smSecond\n"
            "  Ratio = 0.1d\n"
            "  Scale = 2.5\n"
            "  Factor = 0.25f\n"
            "  Caption = \"a\\\"b\\\\c\\n\\x01\"\n"
            "  Options = [soA, soB]\n"
            "  Color = clBlack\n"
            "  Font.Color = clRed\n"
            "  Items = <\n"
            "    item {\n"
            "      Caption = \"\"\n"
            "      Font.Color = clBlack\n"
            "    }\n"
            "  >\n"
            "  Buddy = @Root\n"
            "  Data = (\n"
            "    AB01\n"
            "  )\n"
            "}\n");
}

TEST_F(TextForm, FloatsRoundTripExactlyAtTheirPrecision) {
  const long double extended[] = {1.0L / 3.0L, std::numeric_limits<long double>::denorm_min(),
                                  std::numeric_limits<long double>::max(), -0.0L, 1e-4000L};
  const double doubles[] = {0.1, 1.0 / 3.0, std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::max()};
  const float singles[] = {0.1f, std::numeric_limits<float>::denorm_min(), 16777217.0f};
  ui::MemoryStream binary;
  ui::ValueWriter writer(binary);
  writer.WriteSignature();
  writer.WriteName("TSampleComponent");
  writer.WriteName({});
  int n = 0;
  auto add = [&](long double value, ui::FloatPrecision precision) {
    writer.WriteName("V" + std::to_string(n++));
    writer.WriteFloat(value, precision);
  };
  for (long double v : extended) add(v, ui::FloatPrecision::Extended);
  for (double v : doubles) add(static_cast<long double>(v), ui::FloatPrecision::Double);
  for (float v : singles) add(static_cast<long double>(v), ui::FloatPrecision::Single);
  add(std::numeric_limits<long double>::infinity(), ui::FloatPrecision::Double);
  add(-std::numeric_limits<long double>::infinity(), ui::FloatPrecision::Single);
  add(std::numeric_limits<long double>::quiet_NaN(), ui::FloatPrecision::Extended);
  writer.WriteName({});
  writer.WriteMarker(false);
  const std::string text = TextOf(binary.Bytes());
  EXPECT_NE(text.find("V5 = 0.1d\n"), std::string::npos) << text;
  EXPECT_NE(text.find("V9 = 0.1f\n"), std::string::npos) << text;
  EXPECT_NE(text.find("V12 = +infd\n"), std::string::npos) << text;
  EXPECT_NE(text.find("V13 = -inff\n"), std::string::npos) << text;
  EXPECT_NE(text.find("V14 = +nan\n"), std::string::npos) << text;
  EXPECT_EQ(ui::TextToBinary(text), binary.Bytes()) << text;
}

TEST_F(TextForm, AcceptsCommentsHexIntegersAndNamedValues) {
  auto root = ui::ReadRootFromText(
      "\xEF\xBB\xBF// a description\n"
      "TSampleComponent Root { // the root\n"
      "  Count = 0x1F\n"
      "  Color = clbtnface\n"
      "  Scale = 3\n"
      "  Font.Glyph = ( 0a 0B\n 0c )\n"
      "}\n");
  auto& sample = dynamic_cast<TSampleComponent&>(*root);
  EXPECT_EQ(sample.Count(), 31);
  EXPECT_EQ(sample.Color(), -16777201);
  EXPECT_EQ(sample.Scale(), 3.0L);
  EXPECT_EQ(sample.Font().glyph, (std::vector<uint8_t>{10, 11, 12}));
}

TEST_F(TextForm, SyntaxErrorsNameLineAndColumn) {
  EXPECT_EQ(ParseError("TSampleComponent {\n  Count 5\n}"),
            "Line 2, column 9: Expected '=' after the property name");
  EXPECT_EQ(ParseError("TSampleComponent {\n  Caption = \"open\n}"),
            "Line 2, column 13: Unterminated string");
  EXPECT_EQ(ParseError("TSampleComponent { Caption = \"\\q\" }"),
            "Line 1, column 30: Unknown escape in a string");
  EXPECT_EQ(ParseError("TSampleComponent { Data = (ABC) }"),
            "Line 1, column 30: Expected two hexadecimal digits");
  EXPECT_EQ(ParseError("TSampleComponent { TSampleComponent {} Count = 1 }"),
            "Line 1, column 40: Properties must come before child components");
  EXPECT_EQ(ParseError("TSampleComponent { Count = 99999999999999999999 }"),
            "Line 1, column 28: Invalid integer 99999999999999999999");
  EXPECT_EQ(ParseError("TSampleComponent { Ratio = 1.5x }"),
            "Line 1, column 28: Invalid number 1.5x");
  EXPECT_EQ(ParseError("TSampleComponent { } extra"),
            "Line 1, column 22: Text after the end of the component");
  EXPECT_EQ(ParseError("TSampleComponent { Items = < thing {} > }"),
            "Line 1, column 30: Expected 'item' or '>' in a collection");
  EXPECT_EQ(ParseError("TSampleComponent { Count = # }"),
            "Line 1, column 28: Unexpected character '#'");
}

TEST_F(TextForm, DeepNestingIsRefusedByTheParser) {
  std::string text;
  for (int i = 0; i <= ui::kMaxNestingDepth + 1; ++i) text += "TSampleComponent {";
  for (int i = 0; i <= ui::kMaxNestingDepth + 1; ++i) text += "}";
  EXPECT_NE(ParseError(text).find("Nested deeper than 64 levels"), std::string::npos);
}

TEST_F(TextForm, CollectionsInTheDeepestComponentAreAccepted) {
  // Components and collections have separate depth limits, in the text as in the binary form.
  std::string text;
  for (int i = 0; i <= ui::kMaxNestingDepth; ++i) text += "TSampleComponent {";
  text += "Items = <item {}>";
  for (int i = 0; i <= ui::kMaxNestingDepth; ++i) text += "}";
  const auto binary = ui::TextToBinary(text);
  EXPECT_EQ(ui::TextToBinary(TextOf(binary)), binary);
  EXPECT_NO_THROW(ui::ReadRootFromText(text));
}

TEST_F(TextForm, BinaryThatTextCannotShowIsRefused) {
  ui::MemoryStream binary;
  ui::ValueWriter writer(binary);
  writer.WriteSignature();
  writer.WriteName("TSampleComponent");
  writer.WriteName({});
  writer.WriteName("Mode");
  writer.WriteIdent("true");
  binary.SetPosition(0);
  try {
    ui::BinaryToText(binary);
    FAIL() << "no error";
  } catch (const ui::StreamReadError& error) {
    EXPECT_STREQ(error.what(), "The identifier \"true\" is a reserved word of the text form");
  }
}

}  // namespace
