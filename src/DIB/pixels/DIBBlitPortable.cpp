// Straightforward rows, one pixel at a time: the reference for every other implementation
// and the fallback where there is no SIMD.

#include <cstring>

#include "DIB/pixels/DIBBlendPixel.h"
#include "DIB/pixels/DIBBlitTables.h"

namespace dib::detail {
namespace {

void CopyRow(uint32_t* dest, const uint32_t* src, int32_t count, const BlitSettings&) {
  if (count > 0) std::memcpy(dest, src, static_cast<std::size_t>(count) * sizeof(uint32_t));
}

// Rows whose pixel rule needs nothing but the two pixels and the settings.
template <uint32_t (*Rule)(uint32_t, uint32_t, const BlitSettings&)>
void RuleRow(uint32_t* dest, const uint32_t* src, int32_t count, const BlitSettings& settings) {
  for (int32_t i = 0; i < count; ++i) dest[i] = Rule(src[i], dest[i], settings);
}

uint32_t OpacityRule(uint32_t s, uint32_t d, const BlitSettings& b) {
  return pixel::Opacity(s, d, b.opacity);
}
uint32_t MaskedRule(uint32_t s, uint32_t d, const BlitSettings&) {
  return pixel::Masked(s, d);
}
uint32_t MaskedOpacityRule(uint32_t s, uint32_t d, const BlitSettings& b) {
  return pixel::MaskedOpacity(s, d, b.opacity);
}
uint32_t TransparentRule(uint32_t s, uint32_t d, const BlitSettings& b) {
  return pixel::Transparent(s, d, b.key);
}
uint32_t TransparentOpacityRule(uint32_t s, uint32_t d, const BlitSettings& b) {
  return pixel::TransparentOpacity(s, d, b.key, b.opacity);
}
uint32_t AlphaRule(uint32_t s, uint32_t d, const BlitSettings&) {
  return pixel::Alpha(s, d);
}
uint32_t MaskAsGreyRule(uint32_t s, uint32_t, const BlitSettings&) {
  return pixel::MaskAsGrey(s);
}

}  // namespace

const BlitTable& PortableBlitTable() {
  static const BlitTable table = {
      CopyRow,
      RuleRow<OpacityRule>,
      RuleRow<MaskedRule>,
      RuleRow<MaskedOpacityRule>,
      RuleRow<TransparentRule>,
      RuleRow<TransparentOpacityRule>,
      RuleRow<AlphaRule>,
      RuleRow<MaskAsGreyRule>,
  };
  return table;
}

}  // namespace dib::detail
