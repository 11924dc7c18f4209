// The 16-bit RSB file format: the header and the 565 and 4444 pixels written and read byte for
// byte, progress after every row, and damaged files refused without touching the image.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/cDIBFormat.h"
#include "ui/model/MemoryStream.h"

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> RsbFile(uint32_t width, uint32_t height, std::vector<uint32_t> counts,
                             const std::vector<uint16_t>& pixels, uint32_t version = 1) {
  std::vector<uint8_t> file;
  Put32(file, version);
  Put32(file, width);
  Put32(file, height);
  for (uint32_t count : counts) Put32(file, count);
  for (uint16_t pixel : pixels)
    file.push_back(static_cast<uint8_t>(pixel)), file.push_back(static_cast<uint8_t>(pixel >> 8));
  return file;
}

struct Progress {
  std::vector<int32_t> reports;
  void Report(TAbstractDIBFormat*, int32_t percent) { reports.push_back(percent); }
};

void Load(TDIBRSBFormat& format, const std::vector<uint8_t>& file) {
  ui::MemoryStream stream(file);
  format.LoadFromStream(stream);
}

TEST(DIBRsbFormat, WritesAnOpaqueImageAs565) {
  TMemoryDIB image(2, 1);
  image.ScanLine(0)[0] = 0x00FF0000;  // red
  image.ScanLine(0)[1] = 0x000000FF;  // blue
  TDIBRSBFormat format;
  format.SetDIB(&image);
  ui::MemoryStream stream;
  format.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes(), RsbFile(2, 1, {5, 6, 5, 0}, {0xF800, 0x001F}));
}

TEST(DIBRsbFormat, Reads565IntoTheTopBitsOfEachByte) {
  TMemoryDIB image;
  TDIBRSBFormat format;
  format.SetDIB(&image);
  Load(format, RsbFile(2, 2, {5, 6, 5, 0}, {0xF800, 0x07E0, 0x001F, 0xFFFF}));
  ASSERT_EQ(image.Width(), 2);
  EXPECT_EQ(image.ScanLine(0)[0], 0x00F80000u);
  EXPECT_EQ(image.ScanLine(0)[1], 0x0000FC00u);
  EXPECT_EQ(image.ScanLine(1)[0], 0x000000F8u);  // rows run from the top down
  EXPECT_EQ(image.ScanLine(1)[1], 0x00F8FCF8u);
  EXPECT_FALSE(image.Masked());
}

TEST(DIBRsbFormat, MaskedImageRoundTripsAs4444WithItsMask) {
  TMemoryDIB image(3, 1);
  image.ScanLine(0)[0] = 0xF0A0B0C0;
  image.ScanLine(0)[1] = 0x00102030;
  image.ScanLine(0)[2] = 0xFFFFFFFF;
  image.SetMasked(true);
  TDIBRSBFormat format;
  format.SetDIB(&image);
  ui::MemoryStream stream;
  format.SaveToStream(stream);
  EXPECT_EQ(stream.Bytes()[12], 4);
  EXPECT_EQ(stream.Bytes()[24], 4);
  TMemoryDIB read;
  format.SetDIB(&read);
  Load(format, stream.Bytes());
  EXPECT_TRUE(read.Masked());
  EXPECT_EQ(read.ScanLine(0)[0], 0xFFA0B0C0u);
  EXPECT_EQ(read.ScanLine(0)[1], 0x00102030u);
  EXPECT_EQ(read.ScanLine(0)[2], 0xFFF0F0F0u);
}

TEST(DIBRsbFormat, ReportsProgressAfterEveryRowEndingAt100) {
  TMemoryDIB image;
  TDIBRSBFormat format;
  format.SetDIB(&image);
  Progress progress;
  format.SetOnFormatProgress(ui::Bind<&Progress::Report>(&progress));
  Load(format, RsbFile(1, 4, {5, 6, 5, 0}, {1, 2, 3, 4}));
  EXPECT_EQ(progress.reports, (std::vector<int32_t>{25, 50, 75, 100}));
  progress.reports.clear();
  Load(format, RsbFile(3, 1, {5, 6, 5, 0}, {1, 2, 3}));
  EXPECT_EQ(progress.reports, (std::vector<int32_t>{100}));
}

TEST(DIBRsbFormat, DamagedFilesLeaveTheImageAsItWas) {
  TMemoryDIB image(2, 2);
  image.Fill(ui::clTeal);
  TDIBRSBFormat format;
  format.SetDIB(&image);
  try {
    Load(format, RsbFile(1, 1, {5, 6, 5, 0}, {0}, 2));
    FAIL();
  } catch (const EDIBFormatError& e) {
    EXPECT_STREQ(e.what(), "Only RSB version 1 is supported.");
  }
  EXPECT_THROW(Load(format, RsbFile(4, 4, {5, 6, 5, 0}, {1, 2, 3})), ui::StreamReadError);
  EXPECT_THROW(Load(format, RsbFile(1, 1, {5, 6}, {})), ui::StreamReadError);
  EXPECT_THROW(Load(format, RsbFile(70000, 1, {5, 6, 5, 0}, {})), EDIBFormatError);
  EXPECT_THROW(Load(format, RsbFile(0, 1, {5, 6, 5, 0}, {})), EDIBFormatError);
  EXPECT_THROW(Load(format, RsbFile(65535, 65535, {5, 6, 5, 0}, {})), ui::StreamReadError);
  EXPECT_THROW(Load(format, RsbFile(1, 1, {5, 6, 40, 0}, {1})), EDIBFormatError);
  EXPECT_THROW(Load(format, RsbFile(1, 1, {1, 1, 1, 0}, {1})), EDIBFormatError);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Pixels()[3], ui::ColorToPixel(ui::clTeal));
}

TEST(DIBRsbFormat, DescribesItselfAndIsRegistered) {
  TDIBRSBFormat format;
  EXPECT_TRUE(format.AcceptsLoadExtension(".rsb"));
  EXPECT_TRUE(format.AcceptsSaveExtension(".RsB"));
  EXPECT_FALSE(format.AcceptsLoadExtension(".bmp"));
  std::vector<std::string> filters;
  format.AddLoadFilter(filters);
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_NE(filters[0].find("(*.rsb)|*.rsb"), std::string::npos);
  ASSERT_FALSE(DIBFormats().empty());
  EXPECT_NE(dynamic_cast<TDIBRSBFormat*>(DIBFormats().front().get()), nullptr);
  EXPECT_THROW(Load(format, RsbFile(1, 1, {5, 6, 5, 0}, {1})), ui::AssertionError);
}

}  // namespace
