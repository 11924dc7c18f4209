// SSE2 rows: four pixels per step in 16-bit lanes, the rest through the per-pixel rules,
// so every routine gives the same bits as the portable one.

#include "DIB/DIBBlitTables.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include "DIB/DIBBlendPixel.h"

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

// (s * a + d * (255 - a)) >> 8 on two pixels; the sum is at most 65025, so it fits an
// unsigned 16-bit lane, and the result at most 254.
__m128i Blend16(__m128i s, __m128i d, __m128i a) {
  const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), a);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, inverse));
  return _mm_srli_epi16(sum, 8);
}

// Four pixels; aLow weighs pixels 0 and 1, aHigh pixels 2 and 3, one 16-bit lane a byte.
// The "+ 1" goes on after packing, once per byte: no byte is above 254 before it.
__m128i Blend4(__m128i s, __m128i d, __m128i aLow, __m128i aHigh) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = Blend16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), aLow);
  const __m128i high = Blend16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), aHigh);
  return _mm_add_epi8(_mm_packus_epi16(low, high), _mm_set1_epi8(1));
}

// Each pixel's mask byte in both 16-bit halves of its 32-bit lane; unpacking that with
// itself spreads it over the pixel's four 16-bit lanes.
__m128i MaskPairs(__m128i s) {
  const __m128i mask = _mm_srli_epi32(s, 24);
  return _mm_or_si128(mask, _mm_slli_epi32(mask, 16));
}
__m128i MaskWeightsLow(__m128i s) {
  const __m128i pairs = MaskPairs(s);
  return _mm_unpacklo_epi32(pairs, pairs);
}
__m128i MaskWeightsHigh(__m128i s) {
  const __m128i pairs = MaskPairs(s);
  return _mm_unpackhi_epi32(pairs, pairs);
}

// Colour bytes of the first, mask byte of the second.
__m128i WithMaskOf(__m128i color, __m128i maskSource) {
  return _mm_or_si128(_mm_and_si128(color, Splat(kColorBits)),
                      _mm_and_si128(maskSource, Splat(kMaskBits)));
}

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
      : opacity(b.opacity), weights(_mm_set1_epi16(static_cast<short>(b.opacity))) {}
  __m128i Four(__m128i s, __m128i d) const { return WithMaskOf(Blend4(s, d, weights, weights), d); }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Opacity(s, d, opacity); }
  uint32_t opacity;
  __m128i weights;
};

struct MaskedKernel {
  explicit MaskedKernel(const BlitSettings&) {}
  __m128i Four(__m128i s, __m128i d) const {
    return WithMaskOf(Blend4(s, d, MaskWeightsLow(s), MaskWeightsHigh(s)), d);
  }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::Masked(s, d); }
};

struct MaskedOpacityKernel {
  explicit MaskedOpacityKernel(const BlitSettings& b)
      : opacity(b.opacity), weights(_mm_set1_epi16(static_cast<short>(b.opacity))) {}
  __m128i Four(__m128i s, __m128i d) const {
    // mask * opacity <= 65025: the low 16 bits hold the whole product.
    const __m128i low = _mm_srli_epi16(_mm_mullo_epi16(MaskWeightsLow(s), weights), 8);
    const __m128i high = _mm_srli_epi16(_mm_mullo_epi16(MaskWeightsHigh(s), weights), 8);
    return WithMaskOf(Blend4(s, d, low, high), d);
  }
  uint32_t One(uint32_t s, uint32_t d) const { return pixel::MaskedOpacity(s, d, opacity); }
  uint32_t opacity;
  __m128i weights;
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
        weights(_mm_set1_epi16(static_cast<short>(b.opacity))) {}
  __m128i Four(__m128i s, __m128i d) const {
    return Select(KeyPixels(s, keyColor), d, WithMaskOf(Blend4(s, d, weights, weights), s));
  }
  uint32_t One(uint32_t s, uint32_t d) const {
    return pixel::TransparentOpacity(s, d, key, opacity);
  }
  uint32_t key;
  uint32_t opacity;
  __m128i keyColor;
  __m128i weights;
};

struct AlphaKernel {
  explicit AlphaKernel(const BlitSettings&) {}
  __m128i Four(__m128i s, __m128i d) const { return WithMaskOf(d, s); }
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
