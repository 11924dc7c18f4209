// The SSE2 routines against the portable ones: seeded random images (odd sizes, misaligned
// rows, every opacity), one checksum over the whole run, the first difference reported.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/DIBBlit.h"
#include "DIB/DIBClip.h"
#include "RandomPixels.h"

namespace {

using dib::BlitImplementation;
using dib::BlitKind;

uint32_t Crc32(uint32_t crc, const std::vector<uint32_t>& words) {
  for (uint32_t word : words) {
    for (int byte = 0; byte < 4; ++byte) {
      crc ^= (word >> (8 * byte)) & 0xFF;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
  }
  return crc;
}

TEST(BlitDifferential, Sse2MatchesPortableOverRandomImages) {
  if (!dib::HasSse2()) GTEST_SKIP() << "no SSE2 routines on this build";
  dibtest::RandomPixels random(20040);
  uint32_t portableSum = 0, sse2Sum = 0;
  for (int run = 0; run < 3000; ++run) {
    const auto kind = static_cast<BlitKind>(random.Below(dib::kBlitKindCount));
    const auto width = static_cast<int32_t>(1 + random.Below(37));
    const auto height = static_cast<int32_t>(1 + random.Below(9));
    const auto offset = static_cast<int32_t>(random.Below(4));  // misaligns the rows
    const auto opacity = static_cast<uint8_t>(run % 256);
    const uint32_t key = random.Pixel();
    const std::size_t count = static_cast<std::size_t>(width * height + offset);
    const std::vector<uint32_t> src = random.Image(count, key);
    const std::vector<uint32_t> original = random.Image(count, key);

    const auto draw = [&](BlitImplementation implementation) {
      std::vector<uint32_t> dest = original;
      dib::RunBlit(dib::BlitRoutines(implementation), kind,
                   {dest.data() + offset, width, src.data() + offset, width, width, height},
                   {opacity, key});
      return dest;
    };
    const std::vector<uint32_t> expected = draw(BlitImplementation::Portable);
    const std::vector<uint32_t> actual = draw(BlitImplementation::Sse2);
    ASSERT_EQ(actual, expected) << "run " << run << ", routine " << static_cast<int>(kind) << ", "
                                << width << " x " << height << ", opacity " << +opacity;
    portableSum = Crc32(portableSum, expected);
    sse2Sum = Crc32(sse2Sum, actual);
  }
  EXPECT_EQ(sse2Sum, portableSum);
}

TEST(BlitDifferential, Sse2OpacityBlendMatchesForEveryByteTriple) {
  if (!dib::HasSse2()) GTEST_SKIP() << "no SSE2 routines on this build";
  // Every source byte against every destination byte, in the blue byte, for each weight.
  std::vector<uint32_t> src(256 * 256), dest(256 * 256);
  for (uint32_t s = 0; s < 256; ++s) {
    for (uint32_t d = 0; d < 256; ++d) {
      src[s * 256 + d] = s | 0xFF000000u;
      dest[s * 256 + d] = d;
    }
  }
  for (int a = 0; a < 256; ++a) {
    std::vector<uint32_t> portable = dest, sse2 = dest;
    const dib::BlitSettings settings{static_cast<uint8_t>(a), 0};
    const auto kind = static_cast<std::size_t>(BlitKind::Opacity);
    dib::BlitRoutines(BlitImplementation::Portable)[kind](portable.data(), src.data(), 65536,
                                                          settings);
    dib::BlitRoutines(BlitImplementation::Sse2)[kind](sse2.data(), src.data(), 65536, settings);
    ASSERT_EQ(sse2, portable) << "opacity " << a;
  }
}

TEST(BlitDifferential, ClippedDrawsTouchOnlyTheClippedArea) {
  dibtest::RandomPixels random(7);
  const int32_t sw = 13, sh = 7, dw = 11, dh = 9;
  const std::vector<uint32_t> src = random.Image(sw * sh, 0);
  const auto at = [](int32_t width, int32_t height, int32_t x, int32_t y) {
    return static_cast<std::size_t>((height - 1 - y) * width + x);  // picture to storage
  };
  for (int run = 0; run < 500; ++run) {
    std::vector<uint32_t> dest(dw * dh, 0xDEADBEEF);
    const auto destX = static_cast<int32_t>(random.Below(30)) - 15;
    const auto destY = static_cast<int32_t>(random.Below(30)) - 15;
    const auto area =
        dib::ClipDraw(destX, destY, sw, sh, 0, 0, sw, sh, dw, dh, {0, 0, dw - 1, dh - 1});
    if (!area) continue;
    dib::RunBlit(BlitKind::Copy,
                 dib::MakeBlitJob(*area, {dest.data(), dw, dh}, {src.data(), sw, sh}), {});
    for (int32_t y = 0; y < dh; ++y) {
      for (int32_t x = 0; x < dw; ++x) {
        const int32_t sx = x - destX, sy = y - destY;
        const bool drawn = sx >= 0 && sx < sw && sy >= 0 && sy < sh;
        const uint32_t expected = drawn ? src[at(sw, sh, sx, sy)] : 0xDEADBEEF;
        ASSERT_EQ(dest[at(dw, dh, x, y)], expected)
            << x << "," << y << " at " << destX << "," << destY;
      }
    }
  }
}

}  // namespace
