// SSSE3 rows: the AVX2 rows' maddubs/mulhrs arithmetic on four pixels per register, for the
// 32-bit build and processors without AVX2. The last few pixels go through a small buffer,
// so one kernel covers the whole row.

#include "DIB/pixels/DIBBlitTables.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))

#include <tmmintrin.h>

#include <cstring>

#include "DIB/pixels/DIBBlitMaddubs.h"
#include "DIB/pixels/DIBPixels.h"

#define FLUX_SSSE3 __attribute__((target("ssse3")))

namespace dib::detail {
namespace {

using namespace maddubs;

FLUX_SSSE3 __m128i Splat(uint32_t value) {
  return _mm_set1_epi32(static_cast<int>(value));
}

FLUX_SSSE3 __m128i SplatPair(uint64_t bytes) {
  return _mm_set1_epi64x(static_cast<long long>(bytes));
}

FLUX_SSSE3 __m128i Load(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
FLUX_SSSE3 void Store(void* p, __m128i v) {
  _mm_storeu_si128(static_cast<__m128i*>(p), v);
}

// Every pixel's weight byte (at ByteInPixel) spread over its colour lanes, the destination's
// mask kept.
template <int ByteInPixel>
struct PixelWeights {
  FLUX_SSSE3 PixelWeights()
      : low(Control<0>()),
        high(Control<8>()),
        flip(SplatPair(kInverseColorWeights | kKeepDestinationMask)) {}
  template <int FirstPixelByte>
  FLUX_SSSE3 static __m128i Control() {
    static constexpr std::array<char, 16> kControl = SpreadControl(ByteInPixel, FirstPixelByte);
    return Load(kControl.data());
  }
  FLUX_SSSE3 __m128i Low(__m128i weights) const {
    return _mm_xor_si128(_mm_shuffle_epi8(weights, low), flip);
  }
  FLUX_SSSE3 __m128i High(__m128i weights) const {
    return _mm_xor_si128(_mm_shuffle_epi8(weights, high), flip);
  }
  __m128i low, high, flip;
};

class Blender {
 public:
  FLUX_SSSE3 Blender() : m_Bias(Splat(kBias)), m_Scale(SplatPair(kMulhrsScale)) {}

  FLUX_SSSE3 __m128i Blend(__m128i s, __m128i d, __m128i weightsLow, __m128i weightsHigh) const {
    const __m128i biasedS = _mm_xor_si128(s, m_Bias);
    const __m128i biasedD = _mm_xor_si128(d, m_Bias);
    const __m128i low = Scaled(weightsLow, _mm_unpacklo_epi8(biasedS, biasedD));
    const __m128i high = Scaled(weightsHigh, _mm_unpackhi_epi8(biasedS, biasedD));
    return _mm_xor_si128(_mm_packs_epi16(low, high), m_Bias);
  }

 private:
  FLUX_SSSE3 __m128i Scaled(__m128i weights, __m128i biasedPairs) const {
    return _mm_mulhrs_epi16(_mm_maddubs_epi16(weights, biasedPairs), m_Scale);
  }
  __m128i m_Bias;
  __m128i m_Scale;
};

// where: all ones or all zeros in each pixel (no blendv before SSE4.1).
FLUX_SSSE3 __m128i Select(__m128i where, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(where, ifSet), _mm_andnot_si128(where, ifClear));
}

template <typename Kernel>
FLUX_SSSE3 void Ssse3Row(uint32_t* dest, const uint32_t* src, int32_t count,
                         const BlitSettings& settings) {
  const Kernel kernel(settings);
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) Store(dest + i, kernel.Four(Load(src + i), Load(dest + i)));
  if (i >= count) return;
  // Nothing past the row is read or written.
  const auto rest = static_cast<std::size_t>(count - i) * sizeof(uint32_t);
  uint32_t s[4] = {}, d[4] = {};
  std::memcpy(s, src + i, rest);
  std::memcpy(d, dest + i, rest);
  Store(d, kernel.Four(Load(s), Load(d)));
  std::memcpy(dest + i, d, rest);
}

struct OpacityKernel {
  FLUX_SSSE3 explicit OpacityKernel(const BlitSettings& b)
      : weights(SplatPair(ConstantWeights(b.opacity, kKeepDestinationMask))) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const {
    return blender.Blend(s, d, weights, weights);
  }
  Blender blender;
  __m128i weights;
};

struct MaskedKernel {
  FLUX_SSSE3 explicit MaskedKernel(const BlitSettings&) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const {
    return blender.Blend(s, d, weights.Low(s), weights.High(s));
  }
  Blender blender;
  PixelWeights<3> weights;  // the mask byte
};

struct MaskedOpacityKernel {
  // The mask in the high 16 bits of each pixel, times opacity, keeps the high 16 bits of the
  // product: (mask << 8) * opacity >> 16 = (mask * opacity) >> 8, in byte 2 of the pixel.
  FLUX_SSSE3 explicit MaskedOpacityKernel(const BlitSettings& b)
      : opacity(Splat(uint32_t{b.opacity} << 16)) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const {
    const __m128i scaled = _mm_mulhi_epu16(_mm_and_si128(s, Splat(kMaskBits)), opacity);
    return blender.Blend(s, d, weights.Low(scaled), weights.High(scaled));
  }
  Blender blender;
  PixelWeights<2> weights;
  __m128i opacity;
};

// All ones in the pixels whose colour equals the key.
struct KeyTest {
  FLUX_SSSE3 explicit KeyTest(uint32_t key) : color(Splat(key & kColorBits)) {}
  FLUX_SSSE3 __m128i operator()(__m128i s) const {
    return _mm_cmpeq_epi32(_mm_and_si128(s, Splat(kColorBits)), color);
  }
  __m128i color;
};

struct TransparentKernel {
  FLUX_SSSE3 explicit TransparentKernel(const BlitSettings& b) : isKey(b.key) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const {
    return Select(isKey(s), d, _mm_and_si128(s, Splat(kColorBits)));
  }
  KeyTest isKey;
};

struct TransparentOpacityKernel {
  FLUX_SSSE3 explicit TransparentOpacityKernel(const BlitSettings& b)
      : isKey(b.key), weights(SplatPair(ConstantWeights(b.opacity, kTakeSourceMask))) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const {
    const __m128i keys = isKey(s);
    // Runs of key colour or of none are the rule, and are cheaper whole.
    switch (_mm_movemask_ps(_mm_castsi128_ps(keys))) {
      case 0:
        return blender.Blend(s, d, weights, weights);
      case 0xF:
        return d;
      default:
        return Select(keys, d, blender.Blend(s, d, weights, weights));
    }
  }
  Blender blender;
  KeyTest isKey;
  __m128i weights;
};

struct AlphaKernel {
  FLUX_SSSE3 explicit AlphaKernel(const BlitSettings&) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i d) const { return Select(Splat(kMaskBits), s, d); }
};

struct MaskAsGreyKernel {
  FLUX_SSSE3 explicit MaskAsGreyKernel(const BlitSettings&)
      : spread(_mm_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15)) {}
  FLUX_SSSE3 __m128i Four(__m128i s, __m128i) const { return _mm_shuffle_epi8(s, spread); }
  __m128i spread;
};

}  // namespace

const BlitTable* Ssse3BlitTable() {
  static const BlitTable table = {
      PortableBlitTable()[static_cast<std::size_t>(BlitKind::Copy)],  // memcpy is already wide
      Ssse3Row<OpacityKernel>,
      Ssse3Row<MaskedKernel>,
      Ssse3Row<MaskedOpacityKernel>,
      Ssse3Row<TransparentKernel>,
      Ssse3Row<TransparentOpacityKernel>,
      Ssse3Row<AlphaKernel>,
      Ssse3Row<MaskAsGreyKernel>,
  };
  return &table;
}

}  // namespace dib::detail

#else

namespace dib::detail {

const BlitTable* Ssse3BlitTable() {
  return nullptr;
}

}  // namespace dib::detail

#endif
