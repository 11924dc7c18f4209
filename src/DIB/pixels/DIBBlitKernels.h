#pragma once
// The SIMD blit routines, each written once over the vector operations V of one instruction
// set, and the row loop that runs them. V supplies:
//   Reg, kLanes              a register of kLanes pixels
//   Load, Store              kLanes pixels, unaligned
//   Tail(count)              Load and Store of the first count (< kLanes) pixels only
//   Splat, And, Select       Select(where, ifSet, ifClear), where all ones or zeros per pixel
//   Equal, EqualBytes        per-pixel and per-byte compare
//   ByteSignBits             one bit per byte from its top bit
//   MulHigh16                high halves of the unsigned 16-bit products
//   SpreadMask               each pixel's mask byte in all four of its bytes
//   Blender<WeightByte>      colour blends in the instruction set's own arithmetic:
//                            Weights, PerPixel(register whose byte WeightByte of each pixel,
//                            bytes above it zero, is the pixel's a), Blend(s, d, weights) =
//                            ((s * a + d * (255 - a)) >> 8) + 1 per colour byte, the mask
//                            byte whole from d; and, where UniformBlend is UniformWeightsBlend,
//                            Uniform(a, MaskFrom), the mask byte whole from s or d
//   UniformBlend<MaskFrom, SourceHeavy>
//                            the same blend at one a for the whole row: UniformBlend(a), then
//                            (s, d) to the blended register. SourceHeavy is a >= 128: the two
//                            sides of 128 may take different instructions.
//
// Everything here has internal linkage: each instruction set's file compiles its own copy
// with its own compiler flags, and no copy may stand in for another at link time.

#include <cstddef>
#include <cstdint>

#include "DIB/pixels/DIBBlit.h"
#include "DIB/pixels/DIBPixels.h"

namespace dib::detail {
namespace {

enum class MaskFrom { Destination, Source };

template <class V, int WeightByte = 3>
using Blender = typename V::template Blender<WeightByte>;

// UniformBlend through the Blender's own weights, the same on both sides of 128.
template <class V, MaskFrom kMaskFrom>
class UniformWeightsBlend {
 public:
  using Reg = typename V::Reg;
  explicit UniformWeightsBlend(uint8_t a) : m_Weights(m_Blender.Uniform(a, kMaskFrom)) {}
  Reg operator()(Reg s, Reg d) const { return m_Blender.Blend(s, d, m_Weights); }

 private:
  Blender<V> m_Blender;
  typename Blender<V>::Weights m_Weights;
};

// Whole registers, then the last few pixels through the same kernel. Unrolled: the loop's own
// instructions are a large share of a register's few.
template <class V, class Kernel>
void Row(uint32_t* dest, const uint32_t* src, int32_t count, const BlitSettings& settings) {
  const Kernel kernel(settings);
  int32_t i = 0;
#pragma GCC unroll 4
  for (; i + V::kLanes <= count; i += V::kLanes) {
    V::Store(dest + i, kernel(V::Load(src + i), V::Load(dest + i)));
  }
  if (i >= count) return;
  const typename V::Tail tail(count - i);
  tail.Store(dest + i, kernel(tail.Load(src + i), tail.Load(dest + i)));
}

template <class V, bool SourceHeavy>
struct OpacityKernel {
  static constexpr BlitKind kKind = BlitKind::Opacity;
  using Reg = typename V::Reg;
  explicit OpacityKernel(const BlitSettings& b) : blend(b.opacity) {}
  Reg operator()(Reg s, Reg d) const { return blend(s, d); }
  typename V::template UniformBlend<MaskFrom::Destination, SourceHeavy> blend;
};

template <class V>
struct MaskedKernel {
  static constexpr BlitKind kKind = BlitKind::Masked;
  using Reg = typename V::Reg;
  explicit MaskedKernel(const BlitSettings&) {}
  Reg operator()(Reg s, Reg d) const { return blender.Blend(s, d, blender.PerPixel(s)); }
  Blender<V> blender;  // weighs by the mask byte
};

template <class V>
struct MaskedOpacityKernel {
  static constexpr BlitKind kKind = BlitKind::MaskedOpacity;
  using Reg = typename V::Reg;
  // The mask in the high 16 bits of each pixel, times opacity, keeps the high 16 bits of the
  // product: (mask << 8) * opacity >> 16 = (mask * opacity) >> 8, in byte 2 of the pixel.
  explicit MaskedOpacityKernel(const BlitSettings& b)
      : opacity(V::Splat(uint32_t{b.opacity} << 16)) {}
  Reg operator()(Reg s, Reg d) const {
    const Reg scaled = V::MulHigh16(V::And(s, V::Splat(kMaskBits)), opacity);
    return blender.Blend(s, d, blender.PerPixel(scaled));
  }
  Blender<V, 2> blender;
  Reg opacity;
};

// All ones in the pixels whose colour equals the key.
template <class V>
struct KeyTest {
  explicit KeyTest(uint32_t key) : color(V::Splat(key & kColorBits)) {}
  typename V::Reg operator()(typename V::Reg s) const {
    return V::Equal(V::And(s, V::Splat(kColorBits)), color);
  }
  // Whether any colour byte equals the key's byte in its place: every pixel of key colour has
  // three, few others have any. Compares bytes, so needs no masking of the colour first.
  bool Maybe(typename V::Reg s) const {
    return (V::ByteSignBits(V::EqualBytes(s, color)) & kColorByteBits) != 0;
  }
  static constexpr int kColorByteBits = static_cast<int>(0x77777777u >> (32 - 4 * V::kLanes));
  typename V::Reg color;
};

template <class V>
struct TransparentKernel {
  static constexpr BlitKind kKind = BlitKind::Transparent;
  using Reg = typename V::Reg;
  explicit TransparentKernel(const BlitSettings& b) : isKey(b.key) {}
  Reg operator()(Reg s, Reg d) const {
    return V::Select(isKey(s), d, V::And(s, V::Splat(kColorBits)));
  }
  KeyTest<V> isKey;
};

template <class V, bool SourceHeavy>
struct TransparentOpacityKernel {
  static constexpr BlitKind kKind = BlitKind::TransparentOpacity;
  using Reg = typename V::Reg;
  explicit TransparentOpacityKernel(const BlitSettings& b) : isKey(b.key), blend(b.opacity) {}
  Reg operator()(Reg s, Reg d) const {
    if (!isKey.Maybe(s)) [[likely]] {
      return blend(s, d);
    }
    // Runs of key colour or of none are the rule, and are cheaper whole.
    const Reg keys = isKey(s);
    const int keyed = V::ByteSignBits(keys);
    if (keyed == 0) return blend(s, d);
    if (keyed == kAllBytes) return d;
    return V::Select(keys, d, blend(s, d));
  }
  static constexpr int kAllBytes = static_cast<int>(0xFFFFFFFFu >> (32 - 4 * V::kLanes));
  KeyTest<V> isKey;
  typename V::template UniformBlend<MaskFrom::Source, SourceHeavy> blend;
};

template <class V>
struct AlphaKernel {
  static constexpr BlitKind kKind = BlitKind::Alpha;
  using Reg = typename V::Reg;
  explicit AlphaKernel(const BlitSettings&) {}
  Reg operator()(Reg s, Reg d) const { return V::Select(V::Splat(kMaskBits), s, d); }
};

template <class V>
struct MaskAsGreyKernel {
  static constexpr BlitKind kKind = BlitKind::MaskAsGrey;
  using Reg = typename V::Reg;
  explicit MaskAsGreyKernel(const BlitSettings&) {}
  Reg operator()(Reg s, Reg) const { return V::SpreadMask(s); }
};

// A kernel at one opacity in its two forms (UniformBlend), whose row picks the form once: a loop
// of each, neither testing the form per register.
template <class V, template <class, bool> class Kernel>
struct ByOpacity {
  static constexpr BlitKind kKind = Kernel<V, false>::kKind;
};

template <class V>
using OpacityKernels = ByOpacity<V, OpacityKernel>;
template <class V>
using TransparentOpacityKernels = ByOpacity<V, TransparentOpacityKernel>;

template <class V, class Kernel>
constexpr BlitRow kRowOf = Row<V, Kernel>;

template <class V, template <class, bool> class Kernel>
constexpr BlitRow kRowOf<V, ByOpacity<V, Kernel>> =
    [](uint32_t* dest, const uint32_t* src, int32_t count, const BlitSettings& settings) {
      const BlitRow row =
          settings.opacity >= 128 ? Row<V, Kernel<V, true>> : Row<V, Kernel<V, false>>;
      row(dest, src, count, settings);
    };

// An instruction set's table: the rows of the kernels it speeds up, null for the others, which
// come from the implementations below it.
template <class V, template <class> class... Kernels>
constexpr BlitTable RowsOf() {
  BlitTable table{};
  ((table[static_cast<std::size_t>(Kernels<V>::kKind)] = kRowOf<V, Kernels<V>>), ...);
  return table;
}

}  // namespace
}  // namespace dib::detail
