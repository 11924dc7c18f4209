#pragma once
// SSE2's vector operations for the kernels of DIBBlitKernels.h: four pixels per register,
// blended in 16-bit lanes. The SSSE3 operations build on them. Internal linkage, as the kernels.

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "DIB/pixels/DIBBlitKernels.h"

namespace dib::detail {
namespace {

// Blender<WeightByte> of DIBBlitKernels.h. (s * a + d * (255 - a)) >> 8 per colour lane: the
// sum is at most 65025, so it fits an unsigned 16-bit lane, and the result at most 254, so the
// "+ 1" goes on after packing. The mask lane takes one of its two bytes whole, weighed 256 and
// 0 (at most 65280).
template <int WeightByte>
class WideningBlender {
 public:
  // Source and destination weights of pixels 0 and 1 (low) and 2 and 3 (high), in 16-bit lanes
  // (blue, green, red, mask each).
  struct Weights {
    __m128i lowSource;
    __m128i lowDestination;
    __m128i highSource;
    __m128i highDestination;
  };

  Weights Uniform(uint8_t a, MaskFrom maskFrom) const {
    const int16_t sourceMask = maskFrom == MaskFrom::Source ? 256 : 0;
    const __m128i source = Lanes(a, sourceMask);
    const __m128i destination = Lanes(255u - a, static_cast<int16_t>(256 - sourceMask));
    return {source, destination, source, destination};
  }

  // The destination's mask kept. Each pixel's weight alone and in both 16-bit halves,
  // interleaved by 32 bits: the weight on the colour lanes, 0 on the mask lane.
  Weights PerPixel(__m128i weights) const {
    const __m128i alone = _mm_srli_epi32(weights, 8 * WeightByte);
    const __m128i pairs = _mm_or_si128(alone, _mm_slli_epi32(alone, 16));
    const __m128i low = _mm_unpacklo_epi32(pairs, alone);
    const __m128i high = _mm_unpackhi_epi32(pairs, alone);
    const __m128i whole = Lanes(255, 256);
    return {low, _mm_sub_epi16(whole, low), high, _mm_sub_epi16(whole, high)};
  }

  __m128i Blend(__m128i s, __m128i d, const Weights& w) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = Blend16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), w.lowSource,
                                w.lowDestination);
    const __m128i high = Blend16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero),
                                 w.highSource, w.highDestination);
    return _mm_add_epi8(_mm_packus_epi16(low, high), _mm_set1_epi32(0x00010101));
  }

 private:
  // Two pixels' lanes: a on the colour lanes, the mask lane's weight given.
  static __m128i Lanes(uint32_t a, int16_t mask) {
    const auto w = static_cast<int16_t>(a);
    return _mm_setr_epi16(w, w, w, mask, w, w, w, mask);
  }

  static __m128i Blend16(__m128i s, __m128i d, __m128i sourceWeights, __m128i destinationWeights) {
    return _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(s, sourceWeights), _mm_mullo_epi16(d, destinationWeights)),
        8);
  }
};

struct Sse2 {
  using Reg = __m128i;
  static constexpr int kLanes = 4;
  template <int WeightByte>
  using Blender = WideningBlender<WeightByte>;
  template <MaskFrom kMaskFrom, bool>
  using UniformBlend = UniformWeightsBlend<Sse2, kMaskFrom>;

  static Reg Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const Reg*>(p)); }
  static void Store(uint32_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<Reg*>(p), v); }

  // Through a buffer: nothing past the row is read or written.
  class Tail {
   public:
    explicit Tail(int32_t count) : m_Bytes(static_cast<std::size_t>(count) * sizeof(uint32_t)) {}
    Reg Load(const uint32_t* p) const {
      uint32_t buffer[kLanes] = {};
      std::memcpy(buffer, p, m_Bytes);
      return Sse2::Load(buffer);
    }
    void Store(uint32_t* p, Reg v) const {
      uint32_t buffer[kLanes];
      Sse2::Store(buffer, v);
      std::memcpy(p, buffer, m_Bytes);
    }

   private:
    std::size_t m_Bytes;
  };

  static Reg Splat(uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }
  static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  // No blendv before SSE4.1.
  static Reg Select(Reg where, Reg ifSet, Reg ifClear) {
    return _mm_or_si128(_mm_and_si128(where, ifSet), _mm_andnot_si128(where, ifClear));
  }
  static Reg Equal(Reg a, Reg b) { return _mm_cmpeq_epi32(a, b); }
  static Reg EqualBytes(Reg a, Reg b) { return _mm_cmpeq_epi8(a, b); }
  static int ByteSignBits(Reg v) { return _mm_movemask_epi8(v); }
  static Reg MulHigh16(Reg a, Reg b) { return _mm_mulhi_epu16(a, b); }
  static Reg SpreadMask(Reg s) {
    const Reg mask = _mm_srli_epi32(s, 24);
    const Reg twice = _mm_or_si128(mask, _mm_slli_epi32(mask, 8));
    return _mm_or_si128(twice, _mm_slli_epi32(twice, 16));
  }
};

}  // namespace
}  // namespace dib::detail
