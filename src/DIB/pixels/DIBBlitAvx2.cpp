// AVX2 rows: eight pixels per step, the last few through masked loads and stores, so one
// kernel covers the whole row. Only on x86-64 outside Windows: GCC cannot keep 32-byte stack
// alignment on Windows, and the 32-bit build stays with SSE2.

#include "DIB/pixels/DIBBlitTables.h"

#if defined(__x86_64__) && !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))

#include <immintrin.h>

#include "DIB/pixels/DIBBlitMaddubs.h"
#include "DIB/pixels/DIBPixels.h"

#define FLUX_AVX2 __attribute__((target("avx2")))

namespace dib::detail {
namespace {

FLUX_AVX2 __m256i Splat(uint32_t value) {
  return _mm256_set1_epi32(static_cast<int>(value));
}

// The same eight bytes in every 64-bit lane: one pixel unpacked to 16-bit pairs.
FLUX_AVX2 __m256i SplatPair(uint64_t bytes) {
  return _mm256_set1_epi64x(static_cast<long long>(bytes));
}

using namespace maddubs;

// Every pixel's weight byte (at ByteInPixel) spread over its colour lanes, the destination's
// mask kept. Low: pixels 0, 1 of each 128-bit lane, high: pixels 2, 3, as unpacking pairs them.
template <int ByteInPixel>
struct PixelWeights {
  FLUX_AVX2 PixelWeights()
      : low(Control<0>()),
        high(Control<8>()),
        flip(SplatPair(kInverseColorWeights | kKeepDestinationMask)) {}
  template <int FirstPixelByte>
  FLUX_AVX2 static __m256i Control() {
    static constexpr std::array<char, 16> kControl = SpreadControl(ByteInPixel, FirstPixelByte);
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kControl.data())));
  }
  FLUX_AVX2 __m256i Low(__m256i weights) const {
    return _mm256_xor_si256(_mm256_shuffle_epi8(weights, low), flip);
  }
  FLUX_AVX2 __m256i High(__m256i weights) const {
    return _mm256_xor_si256(_mm256_shuffle_epi8(weights, high), flip);
  }
  __m256i low, high, flip;
};

class Blender {
 public:
  FLUX_AVX2 Blender() : m_Bias(Splat(kBias)), m_Scale(SplatPair(kMulhrsScale)) {}

  FLUX_AVX2 __m256i Blend(__m256i s, __m256i d, __m256i weightsLow, __m256i weightsHigh) const {
    const __m256i biasedS = _mm256_xor_si256(s, m_Bias);
    const __m256i biasedD = _mm256_xor_si256(d, m_Bias);
    const __m256i low = Scaled(weightsLow, _mm256_unpacklo_epi8(biasedS, biasedD));
    const __m256i high = Scaled(weightsHigh, _mm256_unpackhi_epi8(biasedS, biasedD));
    return _mm256_xor_si256(_mm256_packs_epi16(low, high), m_Bias);
  }

 private:
  FLUX_AVX2 __m256i Scaled(__m256i weights, __m256i biasedPairs) const {
    return _mm256_mulhrs_epi16(_mm256_maddubs_epi16(weights, biasedPairs), m_Scale);
  }
  __m256i m_Bias;
  __m256i m_Scale;
};

// where: all ones or all zeros in each pixel.
FLUX_AVX2 __m256i Select(__m256i where, __m256i ifSet, __m256i ifClear) {
  return _mm256_blendv_epi8(ifClear, ifSet, where);
}

FLUX_AVX2 __m256i Load(const uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
FLUX_AVX2 void Store(uint32_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

template <typename Kernel>
FLUX_AVX2 void Avx2Row(uint32_t* dest, const uint32_t* src, int32_t count,
                       const BlitSettings& settings) {
  const Kernel kernel(settings);
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) Store(dest + i, kernel.Eight(Load(src + i), Load(dest + i)));
  if (i == count) return;
  // Lanes past the row are neither read nor written.
  const __m256i lanes =
      _mm256_cmpgt_epi32(_mm256_set1_epi32(count - i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i), lanes);
  const __m256i d = _mm256_maskload_epi32(reinterpret_cast<const int*>(dest + i), lanes);
  _mm256_maskstore_epi32(reinterpret_cast<int*>(dest + i), lanes, kernel.Eight(s, d));
}

struct OpacityKernel {
  FLUX_AVX2 explicit OpacityKernel(const BlitSettings& b)
      : weights(SplatPair(ConstantWeights(b.opacity, kKeepDestinationMask))) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const {
    return blender.Blend(s, d, weights, weights);
  }
  Blender blender;
  __m256i weights;
};

struct MaskedKernel {
  FLUX_AVX2 explicit MaskedKernel(const BlitSettings&) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const {
    return blender.Blend(s, d, weights.Low(s), weights.High(s));
  }
  Blender blender;
  PixelWeights<3> weights;  // the mask byte
};

struct MaskedOpacityKernel {
  // The mask in the high 16 bits of each pixel, times opacity, keeps the high 16 bits of the
  // product: (mask << 8) * opacity >> 16 = (mask * opacity) >> 8, in byte 2 of the pixel.
  FLUX_AVX2 explicit MaskedOpacityKernel(const BlitSettings& b)
      : opacity(Splat(uint32_t{b.opacity} << 16)) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const {
    const __m256i scaled = _mm256_mulhi_epu16(_mm256_and_si256(s, Splat(kMaskBits)), opacity);
    return blender.Blend(s, d, weights.Low(scaled), weights.High(scaled));
  }
  Blender blender;
  PixelWeights<2> weights;
  __m256i opacity;
};

// All ones in the pixels whose colour equals the key.
struct KeyTest {
  FLUX_AVX2 explicit KeyTest(uint32_t key) : color(Splat(key & kColorBits)) {}
  FLUX_AVX2 __m256i operator()(__m256i s) const {
    return _mm256_cmpeq_epi32(_mm256_and_si256(s, Splat(kColorBits)), color);
  }
  __m256i color;
};

struct TransparentKernel {
  FLUX_AVX2 explicit TransparentKernel(const BlitSettings& b) : isKey(b.key) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const {
    return Select(isKey(s), d, _mm256_and_si256(s, Splat(kColorBits)));
  }
  KeyTest isKey;
};

struct TransparentOpacityKernel {
  FLUX_AVX2 explicit TransparentOpacityKernel(const BlitSettings& b)
      : isKey(b.key), weights(SplatPair(ConstantWeights(b.opacity, kTakeSourceMask))) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const {
    const __m256i keys = isKey(s);
    // Runs of key colour or of none are the rule, and are cheaper whole.
    switch (_mm256_movemask_ps(_mm256_castsi256_ps(keys))) {
      case 0:
        return blender.Blend(s, d, weights, weights);
      case 0xFF:
        return d;
      default:
        return Select(keys, d, blender.Blend(s, d, weights, weights));
    }
  }
  Blender blender;
  KeyTest isKey;
  __m256i weights;
};

struct AlphaKernel {
  FLUX_AVX2 explicit AlphaKernel(const BlitSettings&) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i d) const { return Select(Splat(kMaskBits), s, d); }
};

struct MaskAsGreyKernel {
  FLUX_AVX2 explicit MaskAsGreyKernel(const BlitSettings&)
      : spread(_mm256_broadcastsi128_si256(
            _mm_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15))) {}
  FLUX_AVX2 __m256i Eight(__m256i s, __m256i) const { return _mm256_shuffle_epi8(s, spread); }
  __m256i spread;
};

}  // namespace

const BlitTable* Avx2BlitTable() {
  static const BlitTable table = {
      PortableBlitTable()[static_cast<std::size_t>(BlitKind::Copy)],  // memcpy is already wide
      Avx2Row<OpacityKernel>,
      Avx2Row<MaskedKernel>,
      Avx2Row<MaskedOpacityKernel>,
      Avx2Row<TransparentKernel>,
      Avx2Row<TransparentOpacityKernel>,
      Avx2Row<AlphaKernel>,
      Avx2Row<MaskAsGreyKernel>,
  };
  return &table;
}

}  // namespace dib::detail

#else

namespace dib::detail {

const BlitTable* Avx2BlitTable() {
  return nullptr;
}

}  // namespace dib::detail

#endif
