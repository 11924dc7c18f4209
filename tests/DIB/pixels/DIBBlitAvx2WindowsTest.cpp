// The AVX2 rows in the Windows builds, which compile them with measures of their own against
// misaligned 32-byte stack slots: chosen wherever the processor has AVX2, drawing whole images
// as the portable rows do, and their speed against the portable rows in the same run printed as
// "ratio blit_<kind>_avx2_vs_portable <AVX2 time / portable time>". Speed is only printed: these
// tests run on shared machines.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "DIB/pixels/DIBBlit.h"
#include "testsupport/DIB/RandomPixels.h"

namespace {

using dib::BlitImplementation;

TEST(BlitAvx2OnWindows, IsActiveWhereverTheProcessorHasAvx2) {
  __builtin_cpu_init();
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 on this processor";
  EXPECT_TRUE(dib::BlitImplementationAvailable(BlitImplementation::Avx2));
  EXPECT_EQ(dib::ActiveBlitImplementation(), BlitImplementation::Avx2);
}

constexpr int32_t kWidth = 512;
constexpr int32_t kRows = 256;

struct TimedDraw {
  double seconds;  // the fastest of a few runs
  std::vector<uint32_t> drawn;
};

TimedDraw Draw(dib::BlitRow row, const std::vector<uint32_t>& src,
               const std::vector<uint32_t>& dest, const dib::BlitSettings& settings) {
  TimedDraw best{1e9, {}};
  for (int run = 0; run < 9; ++run) {
    std::vector<uint32_t> drawn = dest;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t y = 0; y < kRows; ++y) {
      row(drawn.data() + y * kWidth, src.data() + y * kWidth, kWidth, settings);
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = {std::min(best.seconds, took.count()), std::move(drawn)};
  }
  return best;
}

TEST(BlitAvx2OnWindows, RowsDrawWholeImagesAsThePortableOnesDo) {
  if (!dib::BlitImplementationAvailable(BlitImplementation::Avx2)) GTEST_SKIP() << "no AVX2";
  static constexpr const char* kNames[dib::kBlitKindCount] = {
      "copy",  "opacity",      "masked", "masked_opacity", "transparent", "transparent_opacity",
      "alpha", "mask_as_grey",
  };
  dibtest::RandomPixels random(5);
  const uint32_t key = random.Pixel();
  const std::vector<uint32_t> src = random.Image(kWidth * kRows, key);
  const std::vector<uint32_t> dest = random.Image(kWidth * kRows, key);
  const dib::BlitSettings settings{128, key};
  for (std::size_t kind = 0; kind < dib::kBlitKindCount; ++kind) {
    const TimedDraw portable =
        Draw(dib::BlitRoutines(BlitImplementation::Portable)[kind], src, dest, settings);
    const TimedDraw avx2 =
        Draw(dib::BlitRoutines(BlitImplementation::Avx2)[kind], src, dest, settings);
    ASSERT_EQ(avx2.drawn, portable.drawn) << kNames[kind];
    std::printf("ratio blit_%s_avx2_vs_portable %.3f\n", kNames[kind],
                avx2.seconds / portable.seconds);
  }
}

}  // namespace
