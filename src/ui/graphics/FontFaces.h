#pragma once
// The embedded bitmap fonts (generated into FontGlyphs.cpp by tools/fontgen): 8-bit coverage
// glyphs, so that text has the same pixels on every platform.

#include <cstdint>
#include <span>

namespace ui {

struct Glyph {
  uint32_t code;    // Unicode code point; glyphs of a face are sorted by it
  int16_t left;     // from the pen position to the bitmap's left column
  int16_t top;      // from the baseline up to the bitmap's top row
  uint16_t width;   // bitmap columns
  uint16_t rows;    // bitmap rows
  int16_t advance;  // pen movement in pixels
  uint32_t offset;  // of the first coverage byte (rows top-down, width bytes each)
};

struct GlyphFace {
  int32_t pixelHeight;  // character height, as a negative font height gives it
  bool bold;
  int32_t ascent;   // baseline below the top of the text cell
  int32_t descent;  // below the baseline to the bottom of the cell
  std::span<const Glyph> glyphs;
};

std::span<const GlyphFace> EmbeddedFaces();
const uint8_t* EmbeddedCoverage();

}  // namespace ui
