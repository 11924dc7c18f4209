#include "DIB/pixels/DIBStretch.h"

#include <algorithm>
#include <cstring>

namespace dib {
namespace {

// Source units per destination unit, 16 fraction bits: (whole << 16) | low 16 bits of the
// fraction, which is (source << 16) div dest.
int64_t Step(int32_t source, int32_t dest) {
  return (int64_t{source} << 16) / dest;
}

bool IsEmpty(int32_t width, int32_t height) {
  return width <= 0 || height <= 0;
}

}  // namespace

int32_t StretchSourceColumn(int32_t j, int32_t sourceWidth, int32_t destWidth) {
  return static_cast<int32_t>((j * Step(sourceWidth, destWidth)) >> 16);
}

int32_t StretchSourceRow(int32_t k, int32_t sourceHeight, int32_t destHeight) {
  if (k == 0) return 0;
  const int64_t whole = sourceHeight / destHeight;
  const int64_t fraction = Step(sourceHeight, destHeight) & 0xFFFF;
  const int64_t row = k * whole + (((k - 1) * fraction + 0xFFFF) >> 16);
  return static_cast<int32_t>(std::min<int64_t>(row, sourceHeight - 1));
}

void StretchPixels(const flux::MutablePixelView& dest, const flux::PixelView& source) {
  if (IsEmpty(dest.width, dest.height) || IsEmpty(source.width, source.height)) return;
  const int64_t step = Step(source.width, dest.width);
  const std::size_t rowBytes = static_cast<std::size_t>(dest.width) * sizeof(uint32_t);
  int32_t previousRow = -1;
  for (int32_t k = 0; k < dest.height; ++k) {
    uint32_t* out = dest.bits + static_cast<std::ptrdiff_t>(k) * dest.width;
    const int32_t row = StretchSourceRow(k, source.height, dest.height);
    if (row == previousRow) {
      std::memcpy(out, out - dest.width, rowBytes);  // a repeated source row: copy the last one
      continue;
    }
    const uint32_t* in = source.bits + static_cast<std::ptrdiff_t>(row) * source.width;
    // Column j takes source column (j * step) >> 16, the step added up column by column.
    int64_t position = 0;
    for (int32_t j = 0; j < dest.width; ++j, position += step) out[j] = in[position >> 16];
    previousRow = row;
  }
}

}  // namespace dib
