// The image's "Data" stream: both forms, the way through the framework's binary and text
// streams, and damaged data refused without touching the image.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DIB/DIBRunLengthCompressor.h"
#include "DIB/cDIB.h"
#include "DIB/cDIBCompressor.h"
#include "testsupport/DIB/RandomPixels.h"
#include "ui/model/ClassRegistry.h"
#include "ui/model/Component.h"
#include "ui/model/ComponentReader.h"
#include "ui/model/ComponentWriter.h"
#include "ui/model/MemoryStream.h"
#include "ui/model/TextForm.h"
#include "ui/model/TypeBuilder.h"

namespace {

// A component that stores an image under "DIB", as image-list items do.
class TImageHolder : public ui::Component {
 public:
  explicit TImageHolder(ui::Component* owner) : ui::Component(owner) {}
  static const ui::TypeInfo& StaticType() {
    static const ui::TypeInfo type =
        ui::TypeBuilder<TImageHolder>("TImageHolder", ui::Component::StaticType())
            .Object("DIB", &TImageHolder::DIB)
            .Creatable()
            .Build();
    return type;
  }
  const ui::TypeInfo& Type() const override { return StaticType(); }
  TMemoryDIB& DIB() { return m_DIB; }

 private:
  TMemoryDIB m_DIB;
};

std::vector<uint8_t> DataOf(const TAbstractSuperDIB& image) {
  ui::MemoryStream stream;
  image.WriteData(stream);
  return stream.Bytes();
}

void ReadInto(TAbstractSuperDIB& image, const std::vector<uint8_t>& bytes) {
  ui::MemoryStream stream(bytes);
  image.ReadData(stream);
}

void FillNumbered(TAbstractSuperDIB& image) {
  const std::size_t count = std::size_t{image.Width()} * image.Height();
  for (std::size_t i = 0; i < count; ++i)
    image.Pixels()[i] = static_cast<uint32_t>(i * 0x01030507u);
}

bool SamePixels(const TAbstractSuperDIB& a, const TAbstractSuperDIB& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::memcmp(a.Pixels(), b.Pixels(), std::size_t{a.Width()} * a.Height() * 4) == 0;
}

TEST(DIBData, StoredSkinImageReadsBottomRowFirst) {
  std::vector<uint8_t> data{0x17, 0x00, 0x13, 0x00};
  for (uint32_t i = 0; i < 23 * 19; ++i) {
    for (int b = 0; b < 4; ++b) data.push_back(static_cast<uint8_t>(i >> (8 * b)));
  }
  ASSERT_EQ(data.size(), 1752u);
  TWinDIB image;
  ReadInto(image, data);
  EXPECT_EQ(image.Width(), 23);
  EXPECT_EQ(image.Height(), 19);
  EXPECT_EQ(image.ScanLine(18)[0], 0u);  // the first stored pixel is the bottom-left one
  EXPECT_EQ(image.ScanLine(0)[22], 23u * 19 - 1);
  EXPECT_EQ(DataOf(image), data);
}

TEST(DIBData, RoundTripsThroughTheBinaryAndTextForms) {
  ui::ClassRegistry::Register(TImageHolder::StaticType());
  TImageHolder holder(nullptr);
  TMemoryDIB& image = holder.DIB();
  image.SetSize(5, 3);
  FillNumbered(image);
  image.SetAngle(30);
  image.SetOpacity(77);
  image.SetScale(150);
  image.SetTransparentMode(tmFixed);
  image.SetTransparentColor(ui::clRed);
  image.SetImageFilename("skin.bmp");

  const std::string text = ui::WriteRootToText(holder);
  std::size_t at = 0;
  for (const char* name : {"DIB.Angle = 30", "DIB.AutoSize = false", "DIB.Height = 3", "DIB.Masked",
                           "DIB.Opacity = 77", "DIB.Scale", "DIB.Transparent =",
                           "DIB.TransparentColor = clRed", "DIB.TransparentMode = tmFixed",
                           "DIB.Width = 5", "DIB.Data", "DIB.ImageFilename = \"skin.bmp\""}) {
    const std::size_t found = text.find(name, at);
    ASSERT_NE(found, std::string::npos) << name << " in order in\n" << text;
    at = found;
  }

  TImageHolder fromText(nullptr);
  ui::ReadRootFromText(text, fromText);
  ui::MemoryStream binary;
  ui::ComponentWriter(binary).WriteRoot(holder);
  binary.SetPosition(0);
  TImageHolder fromBinary(nullptr);
  ui::ComponentReader(binary).ReadRoot(fromBinary);
  for (TImageHolder* read : {&fromText, &fromBinary}) {
    const TMemoryDIB& copy = read->DIB();
    EXPECT_TRUE(SamePixels(copy, image));
    EXPECT_EQ(copy.Angle(), 30);
    EXPECT_EQ(copy.Opacity(), 77);
    EXPECT_EQ(copy.ScaleY(), 150);
    EXPECT_EQ(copy.TransparentColor(), ui::clRed);
    EXPECT_EQ(copy.ImageFilename(), "skin.bmp");
    EXPECT_EQ(copy.DrawRoutine(), dib::BlitKind::Opacity);
  }
  ui::ClassRegistry::Unregister(TImageHolder::StaticType());
}

TEST(DIBData, AutoModeStoresTheBottomLeftColourAsTheKey) {
  TImageHolder holder(nullptr);
  holder.DIB().SetSize(2, 2);
  holder.DIB().Fill(ui::clWhite);
  holder.DIB().ScanLine(1)[0] = 0x00B7B6B6;
  TImageHolder read(nullptr);
  ui::ReadRootFromText(ui::WriteRootToText(holder), read);
  read.DIB().SetTransparentMode(tmFixed);
  EXPECT_EQ(read.DIB().TransparentColor(), ui::RGB(0xB7, 0xB6, 0xB6));
}

TEST(DIBData, MemoryImageWithoutStoredDataWritesAndReadsNothing) {
  TMemoryDIB image(2, 2);
  FillNumbered(image);
  image.SetStoreData(false);
  EXPECT_TRUE(DataOf(image).empty());
  TMemoryDIB target(3, 1);
  FillNumbered(target);
  const uint32_t before = target.Pixels()[2];
  ReadInto(target, {});
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Pixels()[2], before);
  TWinDIB window(1, 1);
  EXPECT_THROW(ReadInto(window, {}), ui::StreamReadError);
}

TEST(DIBData, ShortDataStartingWithTheSignatureIsUncompressed) {
  std::vector<uint8_t> data{'D', 'I', 'B', 'C', 'M', 'P'};
  data.resize(25, 0);
  TMemoryDIB image(1, 1);
  EXPECT_THROW(ReadInto(image, data), ui::StreamReadError);  // 0x4944 x 0x4342 pixels wanted
  data.resize(26, 0);
  try {
    ReadInto(image, data);
    FAIL();
  } catch (const EDIBCompressError& e) {
    EXPECT_STREQ(e.what(), "Could not find a suitable decompressor.");
  }
}

TEST(DIBData, MalformedDataLeavesTheImageAsItWas) {
  const std::vector<std::vector<uint8_t>> cases = {
      {0x01, 0x00, 0x01},                                   // shorter than the size
      {0x00, 0x00, 0x01, 0x00, 1, 2, 3, 4},                 // zero width
      {0x01, 0x00, 0x00, 0x00, 1, 2, 3, 4},                 // zero height
      {0x02, 0x00, 0x02, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9},  // four pixels, two present
      {0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8},     // 16 GiB wanted
  };
  for (const auto& data : cases) {
    TMemoryDIB image(3, 3);
    FillNumbered(image);
    TMemoryDIB before(3, 3);
    FillNumbered(before);
    EXPECT_THROW(ReadInto(image, data), ui::StreamReadError);
    EXPECT_TRUE(SamePixels(image, before));
  }
}

class DIBCompressedData : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisteredCompressors().push_back(std::make_unique<TDIBRunLengthCompressor>());
    SetCurrentCompressor(RegisteredCompressors().back().get());
  }
  void TearDown() override {
    SetCurrentCompressor(nullptr);
    RegisteredCompressors().clear();
  }
};

TEST_F(DIBCompressedData, FlatImageIsWrittenCompressedAndReadBack) {
  TMemoryDIB image(40, 30);
  image.Fill(ui::clSilver);
  image.ScanLine(3)[7] = 0x12345678;
  const std::vector<uint8_t> data = DataOf(image);
  ASSERT_GE(data.size(), 26u);
  EXPECT_EQ(std::memcmp(data.data(), "DIBCMP", 6), 0);
  EXPECT_EQ(std::memcmp(data.data() + 6, TDIBRunLengthCompressor::kId.data(), 16), 0);
  EXPECT_EQ(data[22] | data[23] << 8 | data[24] << 16 | data[25] << 24, 4 + 40 * 30 * 4);
  EXPECT_LT(data.size(), 100u);
  TWinDIB read;
  ReadInto(read, data);
  EXPECT_TRUE(SamePixels(read, image));
}

TEST_F(DIBCompressedData, IncompressibleImageIsWrittenUncompressed) {
  TMemoryDIB image(9, 7);
  FillNumbered(image);
  const std::vector<uint8_t> data = DataOf(image);
  EXPECT_EQ(data.size(), 4u + 9 * 7 * 4);
  EXPECT_EQ(data[0], 9);
}

TEST_F(DIBCompressedData, DamagedCompressedDataLeavesTheImageAsItWas) {
  TMemoryDIB flat(16, 16);
  flat.Fill(ui::clNavy);
  const std::vector<uint8_t> good = DataOf(flat);
  TMemoryDIB image(2, 2);
  FillNumbered(image);
  TMemoryDIB before(2, 2);
  FillNumbered(before);

  std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  EXPECT_THROW(ReadInto(image, truncated), EDIBCompressError);
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_THROW(ReadInto(image, trailing), EDIBCompressError);
  std::vector<uint8_t> huge = good;
  huge[25] = 0xFF;  // claims 4 GiB
  EXPECT_THROW(ReadInto(image, huge), ui::StreamReadError);
  std::vector<uint8_t> unknown = good;
  unknown[6] ^= 1;
  EXPECT_THROW(ReadInto(image, unknown), EDIBCompressError);
  EXPECT_TRUE(SamePixels(image, before));
}

TEST(DIBRunLength, DecodesWhatItCodesOverRandomRunsOfUnits) {
  dibtest::RandomPixels random(11);
  TDIBRunLengthCompressor compressor;
  TMemoryDIB unused;
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> data;
    const uint32_t units = 1 + random.Below(600);
    while (data.size() < units * 4) {
      const uint32_t pixel = random.Below(3) == 0 ? random.Pixel() : random.Below(2);
      const uint32_t run = random.Below(4) == 0 ? 1 + random.Below(300) : 1;
      for (uint32_t i = 0; i < run; ++i) {
        for (int b = 0; b < 4; ++b) data.push_back(static_cast<uint8_t>(pixel >> (8 * b)));
      }
    }
    std::vector<uint8_t> packed(data.size());
    const std::size_t count = compressor.Compress(unused, data, packed);
    if (count == 0) continue;
    ASSERT_LT(count, data.size());
    std::vector<uint8_t> unpacked(data.size());
    compressor.Decompress(unused, TDIBRunLengthCompressor::kId, std::span(packed).first(count),
                          unpacked);
    ASSERT_EQ(unpacked, data) << "round " << round;
  }
}

}  // namespace
