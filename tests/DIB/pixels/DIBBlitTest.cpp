// The blit routines' arithmetic, each rule checked on every implementation.

#include <gtest/gtest.h>

#include <vector>

#include "DIB/pixels/DIBBlit.h"
#include "testsupport/DIB/BlitSwitch.h"

namespace {

using dib::BlitImplementation;
using dib::BlitKind;

uint32_t Argb(uint32_t mask, uint32_t red, uint32_t green, uint32_t blue) {
  return mask << 24 | red << 16 | green << 8 | blue;
}

class BlitRule : public ::testing::TestWithParam<BlitImplementation> {
 protected:
  void SetUp() override {
    if (!dib::BlitImplementationAvailable(GetParam())) GTEST_SKIP() << "not on this machine";
  }

  // One pixel blended over another, in a row that reaches the widest SIMD step and its tail.
  uint32_t Blend(BlitKind kind, uint32_t s, uint32_t d, uint8_t opacity = 255, uint32_t key = 0) {
    std::vector<uint32_t> src(13, s), dest(13, d);
    dib::BlitRoutines(GetParam())[static_cast<std::size_t>(kind)](dest.data(), src.data(), 13,
                                                                  {opacity, key});
    for (uint32_t p : dest) EXPECT_EQ(p, dest[0]) << "SIMD steps and the tail disagree";
    return dest[0];
  }
};

TEST_P(BlitRule, OpacityBlendsWithPlusOneAndKeepsTheDestinationMask) {
  // (200 * 128 + 100 * 127) >> 8 = 149, then + 1.
  EXPECT_EQ(Blend(BlitKind::Opacity, Argb(7, 200, 200, 200), Argb(9, 100, 100, 100), 128),
            Argb(9, 150, 150, 150));
  EXPECT_EQ(Blend(BlitKind::Opacity, Argb(0, 0, 0, 0), Argb(0x80, 0, 0, 0), 0),
            Argb(0x80, 1, 1, 1));
}

TEST_P(BlitRule, MaskedWeighsBySourceMaskAndNeverGivesZero) {
  EXPECT_EQ(Blend(BlitKind::Masked, Argb(255, 255, 255, 255), Argb(3, 0, 0, 0)),
            Argb(3, 255, 255, 255));
  EXPECT_EQ(Blend(BlitKind::Masked, Argb(0, 9, 9, 9), Argb(4, 255, 0, 255)), Argb(4, 255, 1, 255));
  EXPECT_EQ(Blend(BlitKind::Masked, Argb(255, 0, 0, 0), Argb(0, 0, 0, 0)), Argb(0, 1, 1, 1));
}

TEST_P(BlitRule, MaskedOpacityScalesTheMaskByOpacity) {
  // a = (200 * 128) >> 8 = 100: (250 * 100 + 50 * 155) >> 8 = 127, + 1.
  EXPECT_EQ(Blend(BlitKind::MaskedOpacity, Argb(200, 250, 250, 250), Argb(1, 50, 50, 50), 128),
            Argb(1, 128, 128, 128));
}

TEST_P(BlitRule, TransparentSkipsTheKeyWhateverItsMaskAndClearsTheMaskElsewhere) {
  const uint32_t red = Argb(0, 255, 0, 0);
  EXPECT_EQ(Blend(BlitKind::Transparent, Argb(0x5A, 255, 0, 0), Argb(8, 1, 2, 3), 255, red),
            Argb(8, 1, 2, 3));
  EXPECT_EQ(Blend(BlitKind::Transparent, Argb(0xFF, 255, 0, 1), Argb(8, 1, 2, 3), 255, red),
            Argb(0, 255, 0, 1));
}

TEST_P(BlitRule, TransparentKeyIgnoresTheKeysOwnMaskByte) {
  EXPECT_EQ(
      Blend(BlitKind::Transparent, Argb(0, 4, 5, 6), Argb(8, 1, 2, 3), 255, Argb(0xEE, 4, 5, 6)),
      Argb(8, 1, 2, 3));
}

TEST_P(BlitRule, TransparentOpacityBlendsAndTakesTheSourceMask) {
  const uint32_t key = Argb(0, 1, 1, 1);
  EXPECT_EQ(Blend(BlitKind::TransparentOpacity, Argb(0x33, 200, 200, 200), Argb(9, 100, 100, 100),
                  128, key),
            Argb(0x33, 150, 150, 150));
  EXPECT_EQ(
      Blend(BlitKind::TransparentOpacity, Argb(0x33, 1, 1, 1), Argb(9, 100, 100, 100), 128, key),
      Argb(9, 100, 100, 100));
}

TEST_P(BlitRule, AlphaAndMaskAsGreyMoveOnlyTheMask) {
  EXPECT_EQ(Blend(BlitKind::Alpha, Argb(0x42, 1, 2, 3), Argb(0, 7, 8, 9)), Argb(0x42, 7, 8, 9));
  EXPECT_EQ(Blend(BlitKind::MaskAsGrey, Argb(0x42, 1, 2, 3), Argb(0, 7, 8, 9)),
            Argb(0x42, 0x42, 0x42, 0x42));
}

TEST_P(BlitRule, CopyTakesAllFourBytes) {
  EXPECT_EQ(Blend(BlitKind::Copy, Argb(1, 2, 3, 4), Argb(5, 6, 7, 8)), Argb(1, 2, 3, 4));
}

INSTANTIATE_TEST_SUITE_P(Implementations, BlitRule, ::testing::ValuesIn(dib::kBlitImplementations),
                         [](const auto& instance) {
                           return dib::BlitImplementationName(instance.param);
                         });

TEST(BlitSelection, MaskedWinsOverTransparentAndOpacityPicksTheBlend) {
  EXPECT_EQ(dib::SelectBlitKind(255, true, true), BlitKind::Masked);
  EXPECT_EQ(dib::SelectBlitKind(254, true, true), BlitKind::MaskedOpacity);
  EXPECT_EQ(dib::SelectBlitKind(255, false, true), BlitKind::Transparent);
  EXPECT_EQ(dib::SelectBlitKind(0, false, true), BlitKind::TransparentOpacity);
  EXPECT_EQ(dib::SelectBlitKind(255, false, false), BlitKind::Copy);
  EXPECT_EQ(dib::SelectBlitKind(128, false, false), BlitKind::Opacity);
}

TEST(BlitRows, RunBlitStepsRowsByTheirStrides) {
  // Bottom-up 3 x 2 images: drawing the top row first means a negative stride.
  std::vector<uint32_t> src = {1, 2, 3, 4, 5, 6}, dest(6, 0);
  dib::RunBlit(BlitKind::Copy, {dest.data() + 3, -3, src.data() + 3, -3, 2, 2}, {});
  EXPECT_EQ(dest, (std::vector<uint32_t>{1, 2, 0, 4, 5, 0}));
}

TEST(BlitRows, TheBestAvailableImplementationIsActiveAndUnavailableOnesFallBack) {
  BlitImplementation best = BlitImplementation::Portable;
  for (BlitImplementation implementation : dib::kBlitImplementations) {
    if (dib::BlitImplementationAvailable(implementation)) best = implementation;
    EXPECT_EQ(&dib::BlitRoutines(implementation), &dib::BlitRoutines(best))
        << dib::BlitImplementationName(implementation);
  }
  EXPECT_EQ(dib::ActiveBlitImplementation(), best);
}

TEST(BlitSwitch, TheActiveImplementationSwitchedOffGivesWayToTheNextOneAndReturns) {
  const BlitImplementation best = dib::ActiveBlitImplementation();
  if (best == BlitImplementation::Portable) GTEST_SKIP() << "no SIMD routines on this build";
  {
    const dibtest::SwitchedOff off(best);
    EXPECT_FALSE(dib::BlitImplementationSwitchedOn(best));
    EXPECT_LT(dib::ActiveBlitImplementation(), best);
    EXPECT_EQ(&dib::BlitRoutines(best), &dib::BlitRoutines(dib::ActiveBlitImplementation()));
  }
  EXPECT_TRUE(dib::BlitImplementationSwitchedOn(best));
  EXPECT_EQ(dib::ActiveBlitImplementation(), best);
}

TEST(BlitSwitch, RoutinesAnImplementationLacksComeFromTheNextOneOnBelowIt) {
  const std::vector<BlitImplementation> levels = dibtest::AvailableSimdImplementations();
  // Every pair of a level and one below it that is not Portable, which stays on.
  for (std::size_t lower = 0; lower < levels.size(); ++lower) {
    for (std::size_t upper = lower + 1; upper < levels.size(); ++upper) {
      const dib::BlitTable before = dib::BlitRoutines(levels[upper]);
      const dib::BlitTable lowerRows = dib::BlitRoutines(levels[lower]);
      const dibtest::SwitchedOff off(levels[lower]);
      const dib::BlitTable below = dib::BlitRoutines(levels[lower]);  // now the next one on
      const dib::BlitTable after = dib::BlitRoutines(levels[upper]);
      for (std::size_t kind = 0; kind < dib::kBlitKindCount; ++kind) {
        const bool borrowed = before[kind] == lowerRows[kind];
        EXPECT_EQ(after[kind], borrowed ? below[kind] : before[kind])
            << dib::BlitImplementationName(levels[upper]) << " without "
            << dib::BlitImplementationName(levels[lower]) << ", routine " << kind;
      }
    }
  }
  // Nothing is faster than memcpy: every level copies with Portable's routine.
  for (BlitImplementation level : levels) {
    EXPECT_EQ(dib::BlitRoutines(level)[0], dib::BlitRoutines(BlitImplementation::Portable)[0]);
  }
}

TEST(BlitSwitch, ARoutineALevelBorrowsIsTheNextLevelsNotOneFurtherDown) {
  std::vector<BlitImplementation> chain = {BlitImplementation::Portable};
  for (BlitImplementation level : dibtest::AvailableSimdImplementations()) chain.push_back(level);
  for (std::size_t upper = 2; upper < chain.size(); ++upper) {
    const dib::BlitTable& rows = dib::BlitRoutines(chain[upper]);
    const dib::BlitTable& next = dib::BlitRoutines(chain[upper - 1]);
    for (std::size_t further = 0; further + 1 < upper; ++further) {
      const dib::BlitTable& lower = dib::BlitRoutines(chain[further]);
      for (std::size_t kind = 0; kind < dib::kBlitKindCount; ++kind) {
        if (rows[kind] == lower[kind]) {
          EXPECT_EQ(rows[kind], next[kind])
              << dib::BlitImplementationName(chain[upper]) << ", routine " << kind;
        }
      }
    }
  }
}

#if defined(FLUX_ASSERTIONS)
TEST(BlitRowsDeathTest, RunBlitStopsOnJobsItCannotDraw) {
  std::vector<uint32_t> pixels(8, 0);
  uint32_t* const p = pixels.data();
  EXPECT_DEATH(dib::RunBlit(BlitKind::Copy, {p, 4, p + 4, 4, -1, 1}, {}), "columns >= 0");
  EXPECT_DEATH(dib::RunBlit(BlitKind::Copy, {p, 4, p + 4, 4, 4, -1}, {}), "rows >= 0");
  EXPECT_DEATH(dib::RunBlit(BlitKind::Copy, {nullptr, 4, p + 4, 4, 4, 1}, {}), "nullptr");
  // Each row of src starts one pixel into its row of dest.
  EXPECT_DEATH(dib::RunBlit(BlitKind::Masked, {p, 2, p + 1, 2, 2, 2}, {}), "Apart");
  EXPECT_DEATH(dib::SwitchBlitImplementation(BlitImplementation::Portable, false), "Portable");
}
#endif

TEST(BlitRows, EmptyJobsDrawNothingWhateverTheirPointers) {
  dib::RunBlit(BlitKind::Copy, {nullptr, 0, nullptr, 0, 0, 5}, {});
  dib::RunBlit(BlitKind::Copy, {nullptr, 0, nullptr, 0, 5, 0}, {});
}

}  // namespace
