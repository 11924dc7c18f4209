// PNG files: pictures written and read back, rows read under each filter type, and damaged or
// unsupported files refused with a message that says what is wrong.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>

#include "png/Format.h"
#include "png/Png.h"

namespace {

using png::Channels;
using png::Picture;
using Bytes = std::vector<uint8_t>;

// Channel bytes from a small set, so that the predictors often tie and the sums wrap.
Picture RandomPicture(int32_t width, int32_t height, unsigned seed, uint32_t kept = ~0u) {
  static constexpr std::array<uint8_t, 7> kBytes{0, 1, 2, 127, 128, 254, 255};
  std::mt19937 random(seed);
  Picture picture{width, height, {}};
  for (int32_t i = 0; i < width * height; ++i) {
    uint32_t pixel = 0;
    for (int channel = 0; channel < 4; ++channel) pixel = pixel << 8 | kBytes[random() % 7];
    picture.pixels.push_back(pixel & kept);
  }
  return picture;
}

Bytes Header(uint32_t width, uint32_t height, uint8_t colour = 6, uint8_t depth = 8,
             uint8_t interlace = 0) {
  Bytes header;
  png::format::AppendBigEndian(header, width);
  png::format::AppendBigEndian(header, height);
  header.insert(header.end(), {depth, colour, 0, 0, interlace});
  return header;
}

Bytes Deflated(const Bytes& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  Bytes compressed(size);
  compress(compressed.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()));
  compressed.resize(size);
  return compressed;
}

// A file of these chunks; by default a 1 × 1 RGBA picture whose IDAT holds `rows` deflated.
Bytes FileOf(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes file(png::format::kSignature.begin(), png::format::kSignature.end());
  for (const auto& [type, data] : chunks) png::format::AppendChunk(file, type, data);
  return file;
}
Bytes WithRows(const Bytes& rows, const Bytes& header = Header(1, 1)) {
  return FileOf({{"IHDR", header}, {"IDAT", Deflated(rows)}, {"IEND", {}}});
}

// The nearest of left, above and above-left to left + above - aboveLeft; the first on a tie.
int Paeth(int a, int b, int c) {
  const std::array<int, 3> candidates{a, b, c};
  return *std::min_element(candidates.begin(), candidates.end(), [&](int x, int y) {
    return std::abs(a + b - c - x) < std::abs(a + b - c - y);
  });
}

// `picture` with row y stored under filter types[y % types.size()].
Bytes Filtered(const Picture& picture, Channels channels, const Bytes& types) {
  const std::size_t pixelBytes = channels == Channels::Rgba ? 4 : 3;
  Bytes stored, above(static_cast<std::size_t>(picture.width) * pixelBytes);
  for (int32_t y = 0; y < picture.height; ++y) {
    Bytes row;
    for (int32_t x = 0; x < picture.width; ++x) {
      for (std::size_t i = 0; i < pixelBytes; ++i)  // red, green, blue, alpha
        row.push_back(static_cast<uint8_t>(picture.Pixel(x, y) >> (48 - 8 * i) % 32));
    }
    const uint8_t type = types[static_cast<std::size_t>(y) % types.size()];
    stored.push_back(type);
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int a = i >= pixelBytes ? row[i - pixelBytes] : 0, b = above[i];
      const int c = i >= pixelBytes ? above[i - pixelBytes] : 0;
      const std::array<int, 5> predictions{0, a, b, (a + b) / 2, Paeth(a, b, c)};
      stored.push_back(static_cast<uint8_t>(row[i] - predictions[type]));
    }
    above = row;
  }
  return WithRows(stored, Header(static_cast<uint32_t>(picture.width),
                                 static_cast<uint32_t>(picture.height), pixelBytes == 4 ? 6 : 2));
}

template <typename Work>
void ExpectRefused(Work work, const std::string& reason) {
  try {
    work();
    ADD_FAILURE() << "accepted, though: " << reason;
  } catch (const png::Error& error) {
    EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
  }
}
void ExpectRefused(const Bytes& file, const std::string& reason) {
  ExpectRefused([&] { png::Decode(file); }, reason);
}

TEST(Png, PicturesOfOddSizesComeBackAsWritten) {
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{3, 5}, std::pair{33, 1}}) {
    const Picture picture = RandomPicture(width, height, static_cast<unsigned>(width + height));
    EXPECT_EQ(png::Decode(png::Encode(picture, Channels::Rgba)), picture);
    EXPECT_EQ(png::Decode(png::Encode(picture)),
              RandomPicture(width, height, static_cast<unsigned>(width + height), 0xFFFFFF))
        << "RGB keeps no alpha";
  }
  // Width 300, height 2, 8-bit RGBA; IEND's CRC is the same in every PNG file.
  const Bytes file = png::Encode(RandomPicture(300, 2, 1), Channels::Rgba);
  EXPECT_EQ(Bytes(file.begin() + 16, file.begin() + 29), Header(300, 2));
  EXPECT_EQ(Bytes(file.end() - 8, file.end()), (Bytes{'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
}

TEST(Png, FilesComeBackAsWrittenAndErrorsNameTheFile) {
  const std::string file = ::testing::TempDir() + "png_test.png";
  const Picture picture = RandomPicture(5, 3, 2);
  png::WriteFile(file, picture, Channels::Rgba);
  EXPECT_EQ(png::ReadFile(file), picture);
  std::remove(file.c_str());
  ExpectRefused([&] { png::ReadFile(file); }, file + ": cannot open");
  ExpectRefused([&] { png::WriteFile(file, Picture{2, 2, {1}}); }, file + ": cannot encode");
}

TEST(Png, RowsStoredUnderEachFilterReadBack) {
  for (const auto& [channels, kept] :
       {std::pair{Channels::Rgb, 0xFFFFFFu}, std::pair{Channels::Rgba, ~0u}}) {
    const Picture picture = RandomPicture(6, 5, 3, kept);
    for (uint8_t type = 0; type <= 4; ++type)
      EXPECT_EQ(png::Decode(Filtered(picture, channels, {type})), picture) << int{type};
    EXPECT_EQ(png::Decode(Filtered(picture, channels, {4, 3, 2, 1, 0})), picture) << "mixed";
  }
  // Paeth's ties: above-left 1 with above 3 and left 0 (above wins), or above 0, left 3 (left).
  for (const uint32_t above : {0x03030303u, 0u}) {
    const Picture tie{2, 2, {0x01010101, above, 0x03030303 - above, 0x80808080}};
    EXPECT_EQ(png::Decode(Filtered(tie, Channels::Rgba, {4})), tie);
  }
}

TEST(Png, EveryTruncationIsRefused) {
  const Bytes file = png::Encode(RandomPicture(6, 4, 4), Channels::Rgba);
  for (auto end = file.begin(); end != file.end(); ++end)
    ExpectRefused(Bytes(file.begin(), end),
                  end - file.begin() < 8 ? "no PNG signature" : "truncated");
}

TEST(Png, DamagedFilesAreRefusedSayingWhatIsWrong) {
  Bytes file = png::Encode(RandomPicture(6, 4, 5));
  file[file.size() - 20] ^= 1;  // in IDAT's data
  ExpectRefused(file, "corrupt chunk IDAT: bad CRC");
  file[1] = 'Q';
  ExpectRefused(file, "no PNG signature");
  ExpectRefused(FileOf({{"IHDR", Header(1, 1)}, {"IDAT", {1, 2, 3, 4}}, {"IEND", {}}}), "zlib");
  Bytes cut = Deflated({0, 1, 2, 3, 4});
  cut.pop_back();
  ExpectRefused(FileOf({{"IHDR", Header(1, 1)}, {"IDAT", cut}, {"IEND", {}}}), "IDAT ends before");
  ExpectRefused(WithRows({0, 1, 2, 3}), "IDAT holds fewer than the 5 bytes");
  ExpectRefused(WithRows({0, 1, 2, 3, 4, 5}), "IDAT holds more than the 5 bytes");
  ExpectRefused(WithRows({5, 1, 2, 3, 4}), "unknown row filter type 5");
  ExpectRefused(WithRows({0, 1, 2, 3, 4}, Header(0x10000, 0x10000)), "too short to hold");
  ExpectRefused(FileOf({{"IHDR", Header(1, 1)}, {"IEND", {}}}), "no IDAT chunk");
  ExpectRefused(FileOf({{"IHDR", Header(1, 1)}, {"XDAT", {}}}), "unexpected chunk XDAT");
}

TEST(Png, OtherKindsOfPngAreRefused) {
  ExpectRefused(WithRows({0, 1}, Header(1, 1, 3)), "colour type 3");
  ExpectRefused(WithRows(Bytes(9), Header(1, 1, 6, 16)), "bit depth 16");
  ExpectRefused(WithRows(Bytes(5), Header(1, 1, 6, 8, 1)), "interlace 1");
}

}  // namespace
