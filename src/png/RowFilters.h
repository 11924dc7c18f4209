#pragma once
// Each row of a PNG file is stored as the difference from a prediction made of its neighbours
// (none, left, above, their average, or the Paeth choice among left, above and above-left),
// named by the filter type byte in front of the row.

#include <cstddef>
#include <cstdint>
#include <span>

namespace png {

// Restores `row` in place, given the restored row above it (all zero above the first row);
// the left neighbour of a byte is `pixelBytes` before it. Throws Error for an unknown type.
void Unfilter(uint8_t type, std::span<uint8_t> row, std::span<const uint8_t> above,
              std::size_t pixelBytes);

}  // namespace png
