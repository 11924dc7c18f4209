// Drawing an image to a palette display through a palette's colour lookup table.

#include <algorithm>
#include <array>

#include "DIB/DIBPaletteTable.h"
#include "DIB/cDIB.h"
#include "DIB/cDIBPalette.h"

namespace {

// The pixel of every byte a lookup table may hold; bytes beyond the palette show black.
std::array<uint32_t, 256> PalettePixels(const TDIBPalette& palette) {
  std::array<uint32_t, 256> pixels{};
  std::ranges::transform(palette.Colors(), pixels.begin(), [](const ui::PaletteEntry& e) {
    return uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
  });
  return pixels;
}

// dib::LookupIndex of a pixel's red, green and blue bytes.
constexpr uint32_t LookupIndexOf(uint32_t pixel) {
  return ((pixel >> 2) & 0x3F) | ((pixel >> 4) & 0xFC0) | ((pixel >> 6) & 0x3F000);
}
static_assert(LookupIndexOf(0x00FC0804) == dib::LookupIndex(0xFC, 0x08, 0x04));

}  // namespace

void TAbstractSuperDIB::Render8Bit(ui::DeviceContext& dc, int32_t x, int32_t y, int32_t width,
                                   int32_t height, int32_t srcX, int32_t srcY, uint32_t /*rop*/,
                                   const TDIBPalette& palette) const {
  const std::span<const uint8_t> table = palette.LookupTable();
  if (table.size() != dib::kLookupTableSize) {
    throw EDIBError("Render8Bit can only be used with a palette containing a lookup table");
  }
  if (dc.BitsPerPixel() != 8) throw EDIBError("Render8Bit can only be used to blit to an 8 bit DC");
  if (srcX >= m_Width || srcY >= m_Height) return;
  // The requested area cut to this image, the destination moving with it.
  if (srcX < 0) {
    x -= srcX;
    width += srcX;
    srcX = 0;
  }
  if (srcY < 0) {
    y -= srcY;
    height += srcY;
    srcY = 0;
  }
  width = std::min(width, m_Width - srcX);
  height = std::min(height, m_Height - srcY);
  ui::Surface* surface = dc.GetSurface();
  if (width <= 0 || height <= 0 || m_Pixels == nullptr || surface == nullptr) return;

  const std::array<uint32_t, 256> shown = PalettePixels(palette);
  const ui::Rect target = dc.ToDevice({x, y, x + width, y + height});
  dc.ForEachVisiblePart(target, [&](const ui::Rect& part) {
    const int32_t columns = part.Width();
    for (int32_t row = part.Top; row < part.Bottom; ++row) {
      const uint32_t* from = ScanLine(srcY + row - target.Top) + srcX + (part.Left - target.Left);
      uint32_t* to = surface->ScanLine(row) + part.Left;
      for (int32_t n = 0; n < columns; ++n) to[n] = shown[table[LookupIndexOf(from[n])]];
    }
  });
}
