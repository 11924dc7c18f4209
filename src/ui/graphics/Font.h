#pragma once
// A font as controls describe it, drawn from the embedded DejaVu Sans faces (condensed at the
// small heights).

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/graphics/Color.h"
#include "ui/graphics/FontFaces.h"
#include "ui/graphics/Geometry.h"

namespace ui {

struct Font {
  std::string name = "MS Sans Serif";  // kept for the stored form; every name draws the same face
  int32_t height = -11;  // negative: character height in pixels; positive: text cell height
  Color color = clWindowText;
  bool bold = false;
  bool italic = false;  // drawn upright: no slanted face is embedded
  friend bool operator==(const Font&, const Font&) = default;
};

// The embedded face of the nearest size, bold or regular.
const GlyphFace& FaceFor(const Font& font);
// The glyph of a code point, or of '?' when the face has none.
const Glyph& GlyphFor(const GlyphFace& face, char32_t code);
// UTF-8 to code points; a malformed sequence gives U+FFFD for its first byte.
std::u32string DecodeUtf8(std::string_view text);

// Width of the advances and the height of the text cell.
Size TextExtent(const Font& font, std::string_view text);

}  // namespace ui
