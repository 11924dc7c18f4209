// SSE2 rows: four pixels per step in 16-bit lanes, the rest through the per-pixel rules,
// so every routine gives the same bits as the portable one.

#include "DIB/pixels/DIBBlitTables.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include "DIB/pixels/DIBBlendPixel.h"

namespace dib::detail {
namespace {

__m128i Load(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void Store(uint32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

__m128i Splat(uint32_t value) {
  return _mm_set1_epi32(static_cast<int>(value));
}

// The weights of two pixels' source and destination bytes, in 16-bit lanes (blue, green, red,
// mask each).
struct Weights {
  __m128i source;
  __m128i destination;
};

// (s * a + d * (255 - a)) >> 8 per colour lane: the sum is at most 65025, so it fits an
// unsigned 16-bit lane, and the result at most 254. The mask lane takes one of its two bytes
// whole, weighed 256 and 0 (at most 65280).
__m128i Blend16(__m128i s, __m128i d, Weights w) {
  return _mm_srli_epi16(
      _mm_add_epi16(_mm_mullo_epi16(s, w.source), _mm_mullo_epi16(d, w.destination)), 8);
}

// Four pixels; low weighs pixels 0 and 1, high pixels 2 and 3. The colour bytes get their
// "+ 1" after packing: none is above 254 before it.
__m128i Blend4(__m128i s, __m128i d, Weights low, Weights high) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lowHalf = Blend16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), low);
  const __m128i highHalf = Blend16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), high);
  return _mm_add_epi8(_mm_packus_epi16(lowHalf, highHalf), Splat(0x00010101));
}

// Lanes of one pixel: a on the colour lanes, the mask lane's weight given.
__m128i ColorWeights(uint32_t a, int16_t mask) {
  const auto w = static_cast<int16_t>(a);
  return _mm_setr_epi16(w, w, w, mask, w, w, w, mask);
}

enum class MaskFrom { Destination, Source };

// The same colour weight a for every pixel.
Weights OpacityWeights(uint8_t a, MaskFrom maskFrom) {
  const int16_t sourceMask = maskFrom == MaskFrom::Source ? 256 : 0;
  return {ColorWeights(a, sourceMask),
          ColorWeights(255u - a, static_cast<int16_t>(256 - sourceMask))};
}

// Per-pixel source weights (colour lanes a, mask lane 0) with the destination's weights beside
// them, the destination's mask kept.
Weights KeepingDestinationMask(__m128i sourceWeights) {
  return {sourceWeights, _mm_sub_epi16(ColorWeights(255, 256), sourceWeights)};
}

// Each pixel's mask byte on its colour lanes, 0 on its mask lane: the mask alone and the mask
// in both 16-bit halves, interleaved by 32 bits.
struct MaskSpread {
  explicit MaskSpread(__m128i s)
      : mask(_mm_srli_epi32(s, 24)), pairs(_mm_or_si128(mask, _mm_slli_epi32(mask, 16))) {}
  __m128i Low() const { return _mm_unpacklo_epi32(pairs, mask); }
  __m128i High() const { return _mm_unpackhi_epi32(pairs, mask); }
  __m128i mask;
  __m128i pairs;
};

// All ones in the pixels whose colour equals the key.
__m128i KeyPixels(__m128i s, __m128i key) {
  return _mm_cmpeq_epi32(_mm_and_si128(s, Splat(kColorBits)), key);
}

__m128i Select(__m128i where, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(where, ifSet), _mm_andnot_si128(where, ifClear));
}

// Four pixels at a time, then the remainder one by one.
template <typename Kernel>
void SimdRow(uint32_t* dest, const uint32_t* src, int32_t count, const BlitSettings& settings) {
  const Kernel kernel(settings);
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) Store(dest + i, kernel.Four(Load(src + i), Load(dest + i)));
  for (; i < count; ++i) dest[i] = kernel.One(src[i], dest[i]);
}

struct OpacityKernel {
  explicit OpacityKernel(const BlitSettings& b)
      : opacity(b.opacity), weights(OpacityWeights(b.opacity, MaskFrom::Destination)) {}
  __m128i Four(__m128i s, __m128i d) const { return Blend4(s, d, weights, weights); }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Opacity(s, d, opacity); }
  uint32_t opacity;
  Weights weights;
};

struct MaskedKernel {
  explicit MaskedKernel(const BlitSettings&) {}
  __m128i Four(__m128i s, __m128i d) const {
    const MaskSpread masks(s);
    return Blend4(s, d, KeepingDestinationMask(masks.Low()), KeepingDestinationMask(masks.High()));
  }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Masked(s, d); }
};

struct MaskedOpacityKernel {
  explicit MaskedOpacityKernel(const BlitSettings& b)
      : opacity(b.opacity), opacityLanes(_mm_set1_epi16(static_cast<short>(b.opacity))) {}
  __m128i Four(__m128i s, __m128i d) const {
    const MaskSpread masks(s);
    return Blend4(s, d, KeepingDestinationMask(Scaled(masks.Low())),
                  KeepingDestinationMask(Scaled(masks.High())));
  }
  // mask * opacity <= 65025: the low 16 bits hold the whole product.
  __m128i Scaled(__m128i masks) const {
    return _mm_srli_epi16(_mm_mullo_epi16(masks, opacityLanes), 8);
  }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::MaskedOpacity(s, d, opacity); }
  uint32_t opacity;
  __m128i opacityLanes;
};

struct TransparentKernel {
  explicit TransparentKernel(const BlitSettings& b)
      : key(b.key), keyColor(Splat(b.key & kColorBits)) {}
  __m128i Four(__m128i s, __m128i d) const {
    return Select(KeyPixels(s, keyColor), d, _mm_and_si128(s, Splat(kColorBits)));
  }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Transparent(s, d, key); }
  uint32_t key;
  __m128i keyColor;
};

struct TransparentOpacityKernel {
  explicit TransparentOpacityKernel(const BlitSettings& b)
      : key(b.key),
        opacity(b.opacity),
        keyColor(Splat(b.key & kColorBits)),
        weights(OpacityWeights(b.opacity, MaskFrom::Source)) {}
  __m128i Four(__m128i s, __m128i d) const {
    return Select(KeyPixels(s, keyColor), d, Blend4(s, d, weights, weights));
  }
  uint32_t One(uint32_t s, uint32_t d) const {
    return pixel::TransparentOpacity(s, d, key, opacity);
  }
  uint32_t key;
  uint32_t opacity;
  __m128i keyColor;
  Weights weights;
};

struct AlphaKernel {
  explicit AlphaKernel(const BlitSettings&) {}
  __m128i Four(__m128i s, __m128i d) const { return Select(Splat(kMaskBits), s, d); }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Alpha(s, d); }
};

struct MaskAsGreyKernel {
  explicit MaskAsGreyKernel(const BlitSettings&) {}
  __m128i Four(__m128i s, __m128i) const {
    const __m128i mask = _mm_srli_epi32(s, 24);
    const __m128i twice = _mm_or_si128(mask, _mm_slli_epi32(mask, 8));
    return _mm_or_si128(twice, _mm_slli_epi32(twice, 16));
  }
  uint32_t One(uint32_t s, uint32_t) const { return pixel::MaskAsGrey(s); }
};

}  // namespace

const BlitTable* Sse2BlitTable() {
  static const BlitTable table = {
      PortableBlitTable()[static_cast<std::size_t>(BlitKind::Copy)],  // memcpy is already wide
      SimdRow<OpacityKernel>,
      SimdRow<MaskedKernel>,
      SimdRow<MaskedOpacityKernel>,
      SimdRow<TransparentKernel>,
      SimdRow<TransparentOpacityKernel>,
      SimdRow<AlphaKernel>,
      SimdRow<MaskAsGreyKernel>,
  };
  return &table;
}

}  // namespace dib::detail

#else

namespace dib::detail {

const BlitTable* Sse2BlitTable() {
  return nullptr;
}

}  // namespace dib::detail

#endif
