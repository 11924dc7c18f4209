#include "ui/graphics/Font.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

const GlyphFace& FaceFor(const Font& font) {
  const auto distance = [&font](const GlyphFace& face) {
    const int32_t size = font.height < 0 ? face.pixelHeight : face.ascent + face.descent;
    return std::abs(size - std::abs(font.height)) * 2 + (face.bold != font.bold ? 1 : 0);
  };
  const std::span<const GlyphFace> faces = EmbeddedFaces();
  return *std::min_element(faces.begin(), faces.end(), [&](const GlyphFace& a, const GlyphFace& b) {
    return distance(a) < distance(b);
  });
}

const Glyph& GlyphFor(const GlyphFace& face, char32_t code) {
  const auto find = [&face](char32_t c) {
    return std::lower_bound(face.glyphs.begin(), face.glyphs.end(), c,
                            [](const Glyph& g, char32_t value) { return g.code < value; });
  };
  auto at = find(code);
  if (at == face.glyphs.end() || at->code != code) at = find(U'?');
  return at != face.glyphs.end() ? *at : face.glyphs.front();  // every face has '?'
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string codes;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : (lead >> 5) == 6  ? 2
                               : (lead >> 4) == 14 ? 3
                               : (lead >> 3) == 30 ? 4
                                                   : 0;
    const unsigned leadBits = length <= 1 ? lead : lead & (0x7Fu >> length);
    char32_t code = length == 0 ? U'\0' : static_cast<char32_t>(leadBits);
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    codes.push_back(valid ? code : U'\uFFFD');
    i += valid ? length : 1;
  }
  return codes;
}

Size TextExtent(const Font& font, std::string_view text) {
  const GlyphFace& face = FaceFor(font);
  int32_t width = 0;
  for (char32_t code : DecodeUtf8(text)) width += GlyphFor(face, code).advance;
  return {width, face.ascent + face.descent};
}

}  // namespace ui
