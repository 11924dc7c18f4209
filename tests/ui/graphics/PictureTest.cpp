// Pictures read from bytes made in the test: bitmaps exactly, JPEG within its loss, and
// damaged data refused with an error.

#include <gtest/gtest.h>

#include <vector>

#include "testsupport/ui/JpegEncoder.h"
#include "ui/graphics/GraphicError.h"
#include "ui/graphics/Picture.h"

namespace {

using ui::Picture;

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A bitmap file whose pixel (x, y) has blue x, green y, red 0x80 and, at 32 bits, mask 0x40.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits, bool topDown) {
  const uint32_t stride = (static_cast<uint32_t>(width) * bits / 8u + 3) & ~3u;
  std::vector<uint8_t> file;
  file.push_back('B'), file.push_back('M');
  Put(file, 54 + stride * static_cast<uint32_t>(height), 4);
  Put(file, 0, 4), Put(file, 54, 4), Put(file, 40, 4);
  Put(file, static_cast<uint32_t>(width), 4);
  Put(file, static_cast<uint32_t>(topDown ? -height : height), 4);
  Put(file, 1, 2), Put(file, bits, 2), Put(file, 0, 4), Put(file, 0, 4);
  Put(file, 0, 4), Put(file, 0, 4), Put(file, 0, 4), Put(file, 0, 4);
  for (int32_t row = 0; row < height; ++row) {
    const int32_t y = topDown ? row : height - 1 - row;
    const std::size_t start = file.size();
    for (int32_t x = 0; x < width; ++x) {
      file.insert(file.end(), {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x80});
      if (bits == 32) file.push_back(0x40);
    }
    file.resize(start + stride, 0);
  }
  return file;
}

// A width x height JPEG of one colour.
std::vector<uint8_t> MakeJpeg(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  ui::Surface picture(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      picture.SetPixel(x, y, uint32_t{red} << 16 | uint32_t{green} << 8 | blue);
    }
  }
  return uitest::EncodeJpeg(picture, 95);
}

TEST(Picture, BitmapsReadExactlyBottomUpAndTopDown) {
  for (const bool topDown : {false, true}) {
    for (const uint16_t bits : {uint16_t{24}, uint16_t{32}}) {
      Picture picture;
      picture.LoadFromMemory(MakeBmp(5, 3, bits, topDown));
      ASSERT_EQ(picture.Format(), ui::PictureFormat::Bitmap);
      EXPECT_EQ(picture.BitsPerPixel(), bits);
      ASSERT_EQ(picture.Width(), 5);
      ASSERT_EQ(picture.Height(), 3);
      const uint32_t mask = bits == 32 ? 0x40000000 : 0;
      for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
          EXPECT_EQ(picture.Pixels().Pixel(x, y),
                    mask | 0x800000u | static_cast<uint32_t>(y << 8 | x))
              << x << "," << y << " bits " << bits << (topDown ? " top-down" : " bottom-up");
        }
      }
    }
  }
}

TEST(Picture, JpegDecodesToItsColourWithMaskZero) {
  Picture picture;
  picture.LoadFromMemory(MakeJpeg(20, 19, 200, 100, 50));
  ASSERT_EQ(picture.Format(), ui::PictureFormat::Jpeg);
  ASSERT_EQ(picture.Width(), 20);
  ASSERT_EQ(picture.Height(), 19);
  const uint32_t pixel = picture.Pixels().Pixel(7, 11);
  EXPECT_EQ(pixel >> 24, 0u);
  EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 200, 3);
  EXPECT_NEAR(static_cast<int>((pixel >> 8) & 0xFF), 100, 3);
  EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 50, 3);
}

TEST(Picture, DamagedDataRaisesAndKeepsThePreviousPicture) {
  Picture picture;
  picture.LoadFromMemory(MakeBmp(2, 2, 24, false));
  std::vector<uint8_t> jpeg = MakeJpeg(16, 16, 10, 20, 30);
  const std::vector<uint8_t> truncated(jpeg.begin(),
                                       jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2));
  EXPECT_THROW(picture.LoadFromMemory(truncated), ui::GraphicError);
  for (std::size_t i = 2; i < 40; ++i) jpeg[i] = 0x5A;  // the headers overwritten
  EXPECT_THROW(picture.LoadFromMemory(jpeg), ui::GraphicError);
  std::vector<uint8_t> bmp = MakeBmp(4, 4, 32, false);
  bmp.resize(bmp.size() - 1);
  EXPECT_THROW(picture.LoadFromMemory(bmp), ui::GraphicError);
  std::vector<uint8_t> huge = MakeBmp(1, 1, 24, false);
  huge[22] = 0xFF, huge[23] = 0xFF, huge[24] = 0xFF, huge[25] = 0x7F;  // height 2^31 - 1
  EXPECT_THROW(picture.LoadFromMemory(huge), ui::GraphicError);
  EXPECT_THROW(picture.LoadFromMemory(std::vector<uint8_t>{'G', 'I', 'F'}), ui::GraphicError);
  EXPECT_THROW(picture.LoadFromFile("/nonexistent/picture.jpg"), ui::GraphicError);
  EXPECT_EQ(picture.Format(), ui::PictureFormat::Bitmap);
  EXPECT_EQ(picture.Width(), 2);
}

TEST(Picture, JpegClaimingAHugeSizeRaisesBeforeAllocating) {
  std::vector<uint8_t> jpeg = MakeJpeg(8, 8, 10, 20, 30);
  // The frame header (FF C0, length, precision) is followed by height and width.
  for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = jpeg[i + 7] = 0xFF;
      jpeg[i + 6] = jpeg[i + 8] = 0xD8;  // 65496 x 65496
      break;
    }
  }
  ui::Picture picture;
  EXPECT_THROW(picture.LoadFromMemory(jpeg), ui::GraphicError);
}

#if !defined(_WIN32)
TEST(Picture, EndlessFileIsRefusedOnceTooLarge) {
  ui::Picture picture;
  EXPECT_THROW(picture.LoadFromFile("/dev/zero"), ui::GraphicError);
}
#endif

TEST(Picture, DrawsStretchedOverTheRectangle) {
  Picture picture;
  picture.LoadFromMemory(MakeBmp(2, 1, 24, false));
  ui::Surface surface(6, 2);
  ui::DeviceContext dc(&surface);
  picture.Draw(dc, {0, 0, 4, 2});
  EXPECT_EQ(surface.Pixel(1, 1), 0x800000u);
  EXPECT_EQ(surface.Pixel(2, 0), 0x800001u);
  EXPECT_EQ(surface.Pixel(4, 0), 0u);
}

}  // namespace
