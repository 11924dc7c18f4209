// AVX2 rows: the SSSE3 rows' arithmetic on eight pixels per register, the last few through
// masked loads and stores.

#include "DIB/pixels/DIBBlitTables.h"

#if defined(__AVX2__)

#include <immintrin.h>

#include "DIB/pixels/DIBBlitMaddubs.h"

namespace dib::detail {
namespace {

struct Avx2 {
  using Reg = __m256i;
  static constexpr int kLanes = 8;
  template <int WeightByte>
  using Blender = MaddubsBlender<Avx2, WeightByte>;
  template <MaskFrom kMaskFrom, bool>
  using UniformBlend = UniformWeightsBlend<Avx2, kMaskFrom>;

  static Reg Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const Reg*>(p)); }
  static void Store(uint32_t* p, Reg v) { _mm256_storeu_si256(reinterpret_cast<Reg*>(p), v); }

  // Lanes past the row are neither read nor written.
  class Tail {
   public:
    explicit Tail(int32_t count)
        : m_Lanes(_mm256_cmpgt_epi32(_mm256_set1_epi32(count),
                                     _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7))) {}
    Reg Load(const uint32_t* p) const {
      return _mm256_maskload_epi32(reinterpret_cast<const int*>(p), m_Lanes);
    }
    void Store(uint32_t* p, Reg v) const {
      _mm256_maskstore_epi32(reinterpret_cast<int*>(p), m_Lanes, v);
    }

   private:
    Reg m_Lanes;
  };

  static Reg Splat(uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }
  static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  static Reg Select(Reg where, Reg ifSet, Reg ifClear) {
    return _mm256_blendv_epi8(ifClear, ifSet, where);
  }
  static Reg Equal(Reg a, Reg b) { return _mm256_cmpeq_epi32(a, b); }
  static Reg EqualBytes(Reg a, Reg b) { return _mm256_cmpeq_epi8(a, b); }
  static int ByteSignBits(Reg v) { return _mm256_movemask_epi8(v); }
  static Reg MulHigh16(Reg a, Reg b) { return _mm256_mulhi_epu16(a, b); }
  static Reg SpreadMask(Reg s) { return Shuffle8(s, Broadcast(maddubs::kMaskToAllBytes.bytes)); }

  static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  static Reg SplatPair(uint64_t bytes) { return _mm256_set1_epi64x(static_cast<long long>(bytes)); }
  static Reg Broadcast(const char* bytes) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
  }
  static Reg Shuffle8(Reg v, Reg control) { return _mm256_shuffle_epi8(v, control); }
  static Reg UnpackLow8(Reg a, Reg b) { return _mm256_unpacklo_epi8(a, b); }
  static Reg UnpackHigh8(Reg a, Reg b) { return _mm256_unpackhi_epi8(a, b); }
  static Reg MulAddPairs(Reg bytes, Reg signedBytes) {
    return _mm256_maddubs_epi16(bytes, signedBytes);
  }
  static Reg MulHighRound16(Reg a, Reg b) { return _mm256_mulhrs_epi16(a, b); }
  static Reg PackSigned16(Reg low, Reg high) { return _mm256_packs_epi16(low, high); }
};

}  // namespace

const BlitTable* Avx2BlitTable() {
  static constexpr BlitTable table =
      RowsOf<Avx2, OpacityKernels, MaskedKernel, MaskedOpacityKernel, TransparentKernel,
             TransparentOpacityKernels, AlphaKernel, MaskAsGreyKernel>();
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
