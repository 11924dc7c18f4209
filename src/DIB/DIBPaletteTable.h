#pragma once
// The colour lookup table of a palette display: for every colour of 6 bits per channel, the
// index of the nearest palette entry, so that drawing maps a pixel with one read.

#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/graphics/LogicalPalette.h"

namespace dib {

inline constexpr std::size_t kLookupTableSize = 64 * 64 * 64;

// Index of a colour in the table: red in the outermost, blue in the innermost position.
constexpr std::size_t LookupIndex(uint32_t red, uint32_t green, uint32_t blue) {
  return (red >> 2) * 4096 + (green >> 2) * 64 + (blue >> 2);
}

// Fills `table` (kLookupTableSize bytes): the entry at LookupIndex(4i, 4j, 4k) is the entry of
// `entries` (1 to 256 of them) nearest to the colour red 4i, green 4j, blue 4k: the smallest
// sum of squared channel differences, the lowest index among equally near ones.
void ComputeLookupTable(std::span<const ui::PaletteEntry> entries, std::span<uint8_t> table);

}  // namespace dib
