// The lookup table against the plain nearest-entry search, over every colour of the grid, for
// the grey ramp, random palettes and palettes full of ties.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DIB/DIBPaletteTable.h"
#include "testsupport/DIB/PaletteTestSupport.h"

namespace {

using Palette = std::vector<ui::PaletteEntry>;

void ExpectTableMatchesReference(const Palette& palette) {
  std::vector<uint8_t> table(dib::kLookupTableSize);
  dib::ComputeLookupTable(palette, table);
  int mismatches = 0;
  for (uint32_t i = 0; i < 64; ++i) {
    for (uint32_t j = 0; j < 64; ++j) {
      for (uint32_t k = 0; k < 64; ++k) {
        const uint8_t expected = dibtest::NearestEntry(
            palette, static_cast<int>(4 * i), static_cast<int>(4 * j), static_cast<int>(4 * k));
        const uint8_t got = table[dib::LookupIndex(4 * i, 4 * j, 4 * k)];
        if (got != expected && ++mismatches <= 5) {
          ADD_FAILURE() << "colour (" << 4 * i << ", " << 4 * j << ", " << 4 * k << "): entry "
                        << int{got} << ", expected " << int{expected};
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

Palette GreyRamp() {
  Palette palette;
  for (int i = 0; i < 235; ++i) {
    const auto level = static_cast<uint8_t>(255 - i);
    palette.push_back({level, level, level, 0});
  }
  return palette;
}

// `count` entries whose channels are drawn from `levels`: few distinct values give many
// duplicates and equally near entries.
Palette RandomPalette(uint32_t seed, std::size_t count, const std::vector<uint8_t>& levels) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> pick(0, levels.size() - 1);
  Palette palette(count);
  for (ui::PaletteEntry& e : palette)
    e = {levels[pick(random)], levels[pick(random)], levels[pick(random)], 0};
  return palette;
}

std::vector<uint8_t> AllLevels() {
  std::vector<uint8_t> levels(256);
  for (int v = 0; v < 256; ++v) levels[static_cast<std::size_t>(v)] = static_cast<uint8_t>(v);
  return levels;
}

TEST(PaletteTableTest, GreyRampMapsEachColourToTheNearestGrey) {
  const Palette ramp = GreyRamp();
  std::vector<uint8_t> table(dib::kLookupTableSize);
  dib::ComputeLookupTable(ramp, table);
  EXPECT_EQ(table[dib::LookupIndex(252, 252, 252)], 3);  // grey 252
  EXPECT_EQ(table[dib::LookupIndex(0, 0, 0)], 234);      // the darkest grey is 21
  EXPECT_EQ(table[dib::LookupIndex(0, 0, 252)], 171);    // mean 84: grey 84
  ExpectTableMatchesReference(ramp);
}

TEST(PaletteTableTest, EquallyNearEntriesGoToTheLowestIndex) {
  // Black is 8 away from entries 1 and 2 and exactly entries 3 and 4.
  const Palette palette = {
      {200, 200, 200, 0}, {0, 8, 0, 0}, {8, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
  std::vector<uint8_t> table(dib::kLookupTableSize);
  dib::ComputeLookupTable(std::span(palette).first(3), table);
  EXPECT_EQ(table[dib::LookupIndex(0, 0, 0)], 1);
  dib::ComputeLookupTable(palette, table);
  EXPECT_EQ(table[dib::LookupIndex(0, 0, 0)], 3);
  ExpectTableMatchesReference(palette);
}

TEST(PaletteTableTest, MatchesTheReferenceForRandomPalettes) {
  ExpectTableMatchesReference(RandomPalette(1, 235, AllLevels()));
  ExpectTableMatchesReference(RandomPalette(2, 235, {0, 4, 8, 128, 132, 252, 255}));
  ExpectTableMatchesReference(RandomPalette(3, 1, AllLevels()));
  ExpectTableMatchesReference(RandomPalette(4, 256, {0, 32, 64, 96, 128, 160, 192, 224, 255}));
}

}  // namespace
