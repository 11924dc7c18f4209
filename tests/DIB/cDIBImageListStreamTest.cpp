#include <gtest/gtest.h>

#include <string>

#include "DIB/cDIBBorder.h"
#include "DIB/cDIBImageList.h"
#include "testsupport/DIB/ImageLinkHost.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"

using dibtest::TImageLinkHost;

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

std::unique_ptr<ui::Component> ReadText(const std::string& text) {
  dibtest::RegisterClasses();
  return ui::ReadRootFromText(text);
}

std::vector<uint8_t> WriteBinary(ui::Component& root) {
  ui::MemoryStream stream;
  ui::ComponentWriter(stream).WriteRoot(root);
  return stream.Bytes();
}

std::unique_ptr<ui::Component> ReadBinary(const std::vector<uint8_t>& bytes) {
  ui::MemoryStream stream(bytes);
  return ui::ComponentReader(stream).ReadRoot();
}

void ExpectStoredForm(ui::Component& root) {
  auto& host = dynamic_cast<TImageLinkHost&>(root);
  auto& list = root.RequireComponent<TDIBImageList>("DIBImageList1");
  TDIBImages& images = list.DIBImages();
  ASSERT_EQ(images.Count(), 3);

  TDIBImagesItem& first = images.Items(0);
  ASSERT_EQ(first.DIB().Width(), 3);
  ASSERT_EQ(first.DIB().Height(), 2);
  EXPECT_EQ(first.DIB().Pixels()[0], 0xFF0000FFu);  // bottom-left, stored first
  EXPECT_EQ(first.DIB().Pixels()[5], 0xC0B0A090u);
  EXPECT_TRUE(first.DIB().Masked());
  EXPECT_EQ(first.DIB().Opacity(), 200);
  EXPECT_EQ(first.DisplayName(), "SliderHrz1");
  EXPECT_EQ(first.TemplateFilename(), "{6B29FC40-CA47-1067-B31D-00DD010662DA}:0");

  TDIBImagesItem& onDemand = images.Items(1);
  EXPECT_EQ(onDemand.ImageRetrieval(), irLoadOnDemand);
  EXPECT_FALSE(onDemand.Loaded());
  EXPECT_EQ(onDemand.DisplayName(), "OnDemand");
  EXPECT_EQ(onDemand.TemplateFilename(), "");

  TDIBImagesItem& pointer = images.Items(2);
  EXPECT_EQ(pointer.DIB().Angle(), 90);
  EXPECT_EQ(pointer.DIB().ScaleY(), 150.0L);
  EXPECT_EQ(pointer.DIB().Pixels()[0], 0x44332211u);

  EXPECT_EQ(host.IndexMain().DIBImageList(), &list);
  EXPECT_EQ(host.IndexMain().DIBIndex(), 2);
  EXPECT_EQ(host.IndexMain().GetImage()->Pixels(), pointer.DIB().Pixels());
  EXPECT_EQ(host.IndexPointer().DIBImageList(), nullptr);
  EXPECT_EQ(host.IndexPointer().DIBIndex(), -1);

  auto& border = root.RequireComponent<TDIBBorder>("Border1");
  EXPECT_EQ(border.DIBImageList(), &list);
  EXPECT_FALSE(border.BorderLeft().AutoCalcSize());
  EXPECT_EQ(border.BorderLeft().DrawStyle(), dsStretch);
  EXPECT_EQ(border.BorderLeft().Size(), 4);
  EXPECT_EQ(border.BorderLeft().ImageSize(), 3);
  EXPECT_EQ(border.BorderTop().ImageMiddle().DIBImageList(), &list);
}

TEST(ImageListStreamTest, StoredFormSurvivesBinaryAndTextRoundTrips) {
  std::unique_ptr<ui::Component> fromText = ReadText(dibtest::kStoredFormText);
  ExpectStoredForm(*fromText);

  // Writing never reads the on-demand image's missing file.
  const std::vector<uint8_t> binary = WriteBinary(*fromText);
  std::unique_ptr<ui::Component> fromBinary = ReadBinary(binary);
  ExpectStoredForm(*fromBinary);
  EXPECT_EQ(WriteBinary(*fromBinary), binary);

  const std::string text = ui::WriteRootToText(*fromBinary);
  EXPECT_NE(text.find("IndexMain.DIBImageList = @DIBImageList1"), std::string::npos);
  EXPECT_NE(text.find("BorderLeft.ImageMiddle.DIBIndex = 0"), std::string::npos);
  EXPECT_NE(text.find("DIB.ImageFilename = \"skins\\\\missing.bmp\""), std::string::npos);
  std::unique_ptr<ui::Component> again = ReadText(text);
  ExpectStoredForm(*again);
  EXPECT_EQ(ui::WriteRootToText(*again), text);
}

TEST(ImageListStreamTest, AStoredImageClaimingAnAbsurdSizeIsRefusedBeforeAllocating) {
  std::string text = Replace(dibtest::kStoredFormText, "DIB.Height = 2", "DIB.Height = 65535");
  text = Replace(text, "DIB.Width = 3", "DIB.Width = 65535");
  try {
    ReadText(text);
    FAIL() << "read a 65535 x 65535 image";
  } catch (const EDIBError& error) {
    EXPECT_NE(std::string(error.what()).find("65535 x 65535"), std::string::npos) << error.what();
  }
}

TEST(ImageListStreamTest, AStoredLinkBeyondTheListIsKeptButShowsNothing) {
  std::unique_ptr<ui::Component> root = ReadText(
      Replace(dibtest::kStoredFormText, "IndexMain.DIBIndex = 2", "IndexMain.DIBIndex = 7"));
  auto& host = dynamic_cast<TImageLinkHost&>(*root);
  EXPECT_EQ(host.IndexMain().DIBIndex(), 7);
  EXPECT_FALSE(host.IndexMain().IsValid());
  EXPECT_EQ(host.IndexMain().GetImage(), nullptr);
  root->RequireComponent<TDIBImageList>("DIBImageList1").DIBImages().Delete(0);
  EXPECT_EQ(host.IndexMain().DIBIndex(), 6);
}

TEST(ImageListStreamTest, AnImageToLoadOnStartWhoseFileIsMissingFailsTheRead) {
  EXPECT_THROW(ReadText(Replace(dibtest::kStoredFormText, "irLoadOnDemand", "irLoadOnStart")),
               ui::Exception);
}

}  // namespace
