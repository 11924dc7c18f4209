// SSSE3 rows: the AVX2 rows' maddubs/mulhrs arithmetic on SSE2's registers, for processors
// without AVX2. The key and mask selections are SSE2's own instructions: those rows come from
// SSE2.

#include "DIB/pixels/DIBBlitTables.h"

#if defined(__SSSE3__)

#include <tmmintrin.h>

#include "DIB/pixels/DIBBlitMaddubs.h"
#include "DIB/pixels/DIBBlitSse2.h"

namespace dib::detail {
namespace {

struct Ssse3 : Sse2 {
  template <int WeightByte>
  using Blender = MaddubsBlender<Ssse3, WeightByte>;
  template <MaskFrom kMaskFrom, bool kSourceHeavy>
  using UniformBlend = MaddubsUniformBlend<Ssse3, kMaskFrom, kSourceHeavy>;

  static Reg SpreadMask(Reg s) { return Shuffle8(s, Broadcast(maddubs::kMaskToAllBytes.bytes)); }

  static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
  static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  static Reg Add8(Reg a, Reg b) { return _mm_add_epi8(a, b); }
  static Reg SplatPair(uint64_t bytes) { return _mm_set1_epi64x(static_cast<long long>(bytes)); }
  static Reg Broadcast(const char* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const Reg*>(bytes));
  }
  static Reg Shuffle8(Reg v, Reg control) { return _mm_shuffle_epi8(v, control); }
  static Reg UnpackLow8(Reg a, Reg b) { return _mm_unpacklo_epi8(a, b); }
  static Reg UnpackHigh8(Reg a, Reg b) { return _mm_unpackhi_epi8(a, b); }
  static Reg MulAddPairs(Reg bytes, Reg signedBytes) {
    return _mm_maddubs_epi16(bytes, signedBytes);
  }
  static Reg MulHighRound16(Reg a, Reg b) { return _mm_mulhrs_epi16(a, b); }
  static Reg MulHighSigned16(Reg a, Reg b) { return _mm_mulhi_epi16(a, b); }
  static Reg PackSigned16(Reg low, Reg high) { return _mm_packs_epi16(low, high); }
};

}  // namespace

const BlitTable* Ssse3BlitTable() {
  static constexpr BlitTable table =
      RowsOf<Ssse3, OpacityKernels, MaskedKernel, MaskedOpacityKernel, TransparentOpacityKernels,
             MaskAsGreyKernel>();
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
