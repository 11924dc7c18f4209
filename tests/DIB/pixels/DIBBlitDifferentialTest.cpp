// Every SIMD implementation against its fallback, what the plug-in draws without it (switched
// off, so that the next one below stands in): seeded random images (odd sizes, misaligned rows,
// gaps between rows, every opacity), the first difference reported, and one checksum per
// implementation over the whole run against the portable routines'; and every blend input
// exhaustively against the portable routines.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DIB/pixels/DIBBlit.h"
#include "DIB/pixels/DIBClip.h"
#include "DIB/pixels/DIBPixels.h"
#include "testsupport/DIB/BlitSwitch.h"
#include "testsupport/DIB/RandomPixels.h"

namespace {

using dib::BlitImplementation;
using dib::BlitKind;
using dib::kColorBits;
using dib::kMaskBits;

uint32_t Crc32(uint32_t crc, const std::vector<uint32_t>& words) {
  for (uint32_t word : words) {
    for (int byte = 0; byte < 4; ++byte) {
      crc ^= (word >> (8 * byte)) & 0xFF;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
  }
  return crc;
}

// What the plug-in draws where the processor lacks the implementation.
template <class Draw>
std::vector<uint32_t> Fallback(BlitImplementation implementation, const Draw& draw) {
  const dibtest::SwitchedOff off(implementation);
  return draw(implementation);
}

TEST(BlitDifferential, EverySimdImplementationMatchesItsFallbackOverRandomImages) {
  const std::vector<BlitImplementation> tested = dibtest::AvailableSimdImplementations();
  if (tested.empty()) GTEST_SKIP() << "no SIMD routines on this build";
  dibtest::RandomPixels random(20040);
  uint32_t portableSum = 0;
  std::vector<uint32_t> sums(tested.size(), 0);
  for (int run = 0; run < 4000; ++run) {
    const auto kind = static_cast<BlitKind>(random.Below(dib::kBlitKindCount));
    const auto width = static_cast<int32_t>(1 + random.Below(37));
    const auto height = static_cast<int32_t>(1 + random.Below(9));
    const auto gap = static_cast<int32_t>(random.Below(3));        // pixels no routine may touch
    const auto srcOffset = static_cast<int32_t>(random.Below(8));  // misaligns the rows
    const auto destOffset = static_cast<int32_t>(random.Below(8));
    const auto opacity = static_cast<uint8_t>(run % 256);
    const uint32_t key = random.Pixel();
    const int32_t stride = width + gap;
    std::vector<uint32_t> src =
        random.Image(static_cast<std::size_t>(stride * height + srcOffset), key);
    // A run of key colour, as transparent areas of real images have.
    const std::size_t runStart = random.Below(static_cast<uint32_t>(src.size()));
    const std::size_t runEnd = std::min(src.size(), runStart + random.Below(24));
    for (std::size_t i = runStart; i < runEnd; ++i)
      src[i] = (src[i] & kMaskBits) | (key & kColorBits);
    const std::vector<uint32_t> original =
        random.Image(static_cast<std::size_t>(stride * height + destOffset), key);

    const auto draw = [&](BlitImplementation implementation) {
      std::vector<uint32_t> dest = original;
      dib::RunBlit(
          dib::BlitRoutines(implementation), kind,
          {dest.data() + destOffset, stride, src.data() + srcOffset, stride, width, height},
          {opacity, key});
      return dest;
    };
    portableSum = Crc32(portableSum, draw(BlitImplementation::Portable));
    for (std::size_t i = 0; i < tested.size(); ++i) {
      const std::vector<uint32_t> actual = draw(tested[i]);
      ASSERT_EQ(actual, Fallback(tested[i], draw))
          << dib::BlitImplementationName(tested[i]) << ", run " << run << ", routine "
          << static_cast<int>(kind) << ", " << width << " x " << height << ", opacity " << +opacity;
      sums[i] = Crc32(sums[i], actual);
    }
  }
  for (std::size_t i = 0; i < tested.size(); ++i) {
    EXPECT_EQ(sums[i], portableSum) << dib::BlitImplementationName(tested[i]);
  }
}

// One long row per case: the portable result against every SIMD implementation's.
void ExpectSameRow(BlitKind kind, const std::vector<uint32_t>& src,
                   const std::vector<uint32_t>& dest, uint8_t opacity) {
  const auto draw = [&](BlitImplementation implementation) {
    std::vector<uint32_t> out = dest;
    dib::BlitRoutines(implementation)[static_cast<std::size_t>(kind)](
        out.data(), src.data(), static_cast<int32_t>(out.size()), {opacity, 0});
    return out;
  };
  const std::vector<uint32_t> expected = draw(BlitImplementation::Portable);
  for (BlitImplementation implementation : dibtest::AvailableSimdImplementations()) {
    ASSERT_EQ(draw(implementation), expected)
        << dib::BlitImplementationName(implementation) << ", routine " << static_cast<int>(kind)
        << ", opacity " << +opacity;
  }
}

TEST(BlitDifferential, EveryWeightOfEverySourceAndDestinationByteBlendsLikePortable) {
  if (dibtest::AvailableSimdImplementations().empty())
    GTEST_SKIP() << "no SIMD routines on this build";
  // Every source byte against every destination byte in blue, their complements in green;
  // mask of the source pixel given by the caller.
  std::vector<uint32_t> src(256 * 256), dest(256 * 256);
  const auto fill = [&](auto sourceMask) {
    for (uint32_t s = 0; s < 256; ++s) {
      for (uint32_t d = 0; d < 256; ++d) {
        src[s * 256 + d] = sourceMask(s, d) << 24 | (255 - s) << 8 | s;
        dest[s * 256 + d] = 0x5A000000u | (255 - d) << 8 | d;
      }
    }
  };
  fill([](uint32_t s, uint32_t d) { return s ^ d; });
  for (int a = 0; a < 256; ++a) {
    ExpectSameRow(BlitKind::Opacity, src, dest, static_cast<uint8_t>(a));
    ExpectSameRow(BlitKind::TransparentOpacity, src, dest, static_cast<uint8_t>(a));
  }
  for (uint32_t mask = 0; mask < 256; ++mask) {
    fill([mask](uint32_t, uint32_t) { return mask; });
    ExpectSameRow(BlitKind::Masked, src, dest, 255);
  }
  // Every mask with every opacity, the mask changing along the row.
  fill([](uint32_t s, uint32_t d) { return (s * 7 + d) & 0xFF; });
  for (int opacity = 0; opacity < 256; ++opacity) {
    ExpectSameRow(BlitKind::MaskedOpacity, src, dest, static_cast<uint8_t>(opacity));
  }
}

TEST(BlitDifferential, EveryMaskPairKeepsItsMaskThroughTheOpacityBlends) {
  if (dibtest::AvailableSimdImplementations().empty())
    GTEST_SKIP() << "no SIMD routines on this build";
  // Every source mask against every destination mask, under colours that change with both.
  std::vector<uint32_t> src(256 * 256), dest(256 * 256);
  for (uint32_t s = 0; s < 256; ++s) {
    for (uint32_t d = 0; d < 256; ++d) {
      src[s * 256 + d] = s << 24 | (d ^ 0x3C) << 16 | s << 8 | (s + d) % 256;
      dest[s * 256 + d] = d << 24 | s << 16 | (255 - d) << 8 | (s * 3) % 256;
    }
  }
  for (int a = 0; a < 256; ++a) {
    ExpectSameRow(BlitKind::Opacity, src, dest, static_cast<uint8_t>(a));
    ExpectSameRow(BlitKind::TransparentOpacity, src, dest, static_cast<uint8_t>(a));
  }
}

TEST(BlitDifferential, PixelsSharingSomeColourBytesWithTheKeyAreDrawn) {
  if (dibtest::AvailableSimdImplementations().empty())
    GTEST_SKIP() << "no SIMD routines on this build";
  // The key is 0: each pixel has every choice of its colour bytes zero, none, some or all,
  // its neighbours other choices, so that registers mix keyed, near-keyed and other pixels.
  std::vector<uint32_t> src(4096), dest(4096);
  for (uint32_t i = 0; i < src.size(); ++i) {
    const uint32_t zeroBytes = (i * 5 + i / 64) % 8;
    uint32_t pixel = (i * 0x9E3779B9u) | 0x01010101u;
    for (uint32_t byte = 0; byte < 3; ++byte) {
      if (zeroBytes & 1u << byte) pixel &= ~(0xFFu << 8 * byte);
    }
    src[i] = pixel;
    dest[i] = i * 0x01F3A5C7u;
  }
  for (int a : {0, 1, 127, 128, 200, 254}) {
    ExpectSameRow(BlitKind::TransparentOpacity, src, dest, static_cast<uint8_t>(a));
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
