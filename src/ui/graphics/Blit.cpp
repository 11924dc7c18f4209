#include "ui/graphics/Blit.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

// Pixel under the centre of destination pixel i when sourceSize pixels cover destSize.
int32_t CentreSample(int32_t i, int32_t sourceSize, int32_t destSize) {
  return static_cast<int32_t>((int64_t{2} * i + 1) * sourceSize / (int64_t{2} * destSize));
}

}  // namespace

void BitBlt(DeviceContext& dest, int32_t x, int32_t y, int32_t width, int32_t height,
            const DeviceContext& source, int32_t srcX, int32_t srcY) {
  Surface* target = dest.GetSurface();
  const Surface* from = source.GetSurface();
  if (!target || !from || width <= 0 || height <= 0) return;
  const Rect destArea = dest.ToDevice(Bounds(x, y, width, height));
  const Rect sourceArea = source.ToDevice(Bounds(srcX, srcY, width, height));
  const int32_t dx = sourceArea.Left - destArea.Left, dy = sourceArea.Top - destArea.Top;
  const Rect readable = destArea.Intersect(from->BoundsRect().Offset(-dx, -dy));
  // Copying within one surface reads from a snapshot, whatever the overlap.
  const Surface snapshot = from == target ? *from : Surface();
  const Surface& input = from == target ? snapshot : *from;
  dest.ForEachVisiblePart(readable, [&](const Rect& part) {
    const auto count = static_cast<std::size_t>(part.Width());
    // Rows as they are stored, the bottom one first; whole rows of two surfaces of one width
    // follow each other in both, and go as one block.
    if (part.Width() == target->Width() && part.Width() == input.Width()) {
      const uint32_t* in = input.ScanLine(part.Bottom - 1 + dy);
      std::copy(in, in + count * static_cast<std::size_t>(part.Height()),
                target->ScanLine(part.Bottom - 1));
      return;
    }
    for (int32_t row = part.Bottom - 1; row >= part.Top; --row) {
      const uint32_t* in = input.ScanLine(row + dy) + part.Left + dx;
      std::copy(in, in + count, target->ScanLine(row) + part.Left);
    }
  });
}

void StretchBlt(DeviceContext& dest, const Rect& destRect, const Surface& source,
                const Rect& sourceRect) {
  Surface* target = dest.GetSurface();
  if (!target || destRect.IsEmpty() || sourceRect.IsEmpty()) return;
  const Rect destArea = dest.ToDevice(destRect);
  const Surface snapshot = &source == target ? source : Surface();
  const Surface& input = &source == target ? snapshot : source;
  std::vector<int32_t> columns(static_cast<std::size_t>(destArea.Width()));
  for (int32_t i = 0; i < destArea.Width(); ++i) {
    columns[static_cast<std::size_t>(i)] =
        sourceRect.Left + CentreSample(i, sourceRect.Width(), destArea.Width());
  }
  dest.ForEachVisiblePart(destArea, [&](const Rect& part) {
    for (int32_t row = part.Top; row < part.Bottom; ++row) {
      const int32_t sourceRow =
          sourceRect.Top + CentreSample(row - destArea.Top, sourceRect.Height(), destArea.Height());
      if (sourceRow < 0 || sourceRow >= input.Height()) continue;
      const uint32_t* in = input.ScanLine(sourceRow);
      uint32_t* out = target->ScanLine(row);
      for (int32_t x = part.Left; x < part.Right; ++x) {
        const int32_t column = columns[static_cast<std::size_t>(x - destArea.Left)];
        if (column >= 0 && column < input.Width()) out[x] = in[column];
      }
    }
  });
}

void StretchBlt(DeviceContext& dest, const Rect& destRect, const DeviceContext& source,
                const Rect& sourceRect) {
  if (const Surface* from = source.GetSurface()) {
    StretchBlt(dest, destRect, *from, source.ToDevice(sourceRect));
  }
}

}  // namespace ui
