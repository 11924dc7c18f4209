#pragma once
// The maddubs/mulhrs blend that the SSSE3 and AVX2 rows share, over their vector operations.
//
// Unpacking interleaves the bytes of a source and a destination pixel, biased by -128, into
// four 16-bit lanes (blue, green, red, mask); maddubs weighs each lane's pair. Colour lanes
// take a and 255 - a; the mask lane takes one of its two bytes whole, weighed 255 and 0.
//
// The bias keeps every weighed sum within maddubs' signed 16 bits: for a colour lane
// t = s * a + d * (255 - a) - 32640 lies in [-32640, 32385], for the mask lane t = 255 * (x - 128).
// mulhrs by 128 gives (t + 128) >> 8 = ((s * a + d * (255 - a)) >> 8) + 1 - 128, by 129 on the
// mask lane x - 128: all within a signed byte, so packing saturates nothing, and flipping the
// top bit of every byte adds the 128 back.

#include <cstdint>

#include "DIB/pixels/DIBBlitKernels.h"

namespace dib::detail {
namespace {
namespace maddubs {

// Eight bytes: the weights of one unpacked pixel, repeated across the register.
constexpr uint64_t kInverseColorWeights = 0x0000FF00FF00FF00u;  // xor turns a into 255 - a
constexpr uint64_t kKeepDestinationMask = 0xFF00000000000000u;
constexpr uint64_t kTakeSourceMask = 0x00FF000000000000u;
constexpr uint64_t kMulhrsScale = 0x0081008000800080u;  // 128 on colour, 129 on mask
constexpr uint32_t kBias = 0x80808080u;

constexpr uint64_t ConstantWeights(uint8_t a, uint64_t maskWeights) {
  return (uint64_t{a} * 0x0000010101010101u ^ kInverseColorWeights) | maskWeights;
}

// A plain array rather than std::array: no library function may be compiled with these files'
// instruction sets, lest the linker keep that copy for everyone.
struct ShuffleControl {
  char bytes[16];
};

// pshufb control that puts byte byteInPixel of two pixels (the first at firstPixelByte) on
// the colour weights of their unpacked pairs, and zero on the mask weights. The low pair
// unpacks pixels 0 and 1 of a 128-bit lane (first byte 0), the high pair pixels 2 and 3 (8).
constexpr ShuffleControl SpreadControl(int byteInPixel, int firstPixelByte) {
  ShuffleControl control{};
  for (int i = 0; i < 16; ++i) {
    control.bytes[i] = i % 8 < 6 ? static_cast<char>(firstPixelByte + 4 * (i / 8) + byteInPixel)
                                 : static_cast<char>(0x80);  // pshufb zeroes the byte
  }
  return control;
}

// pshufb control that copies each pixel's mask byte to all four of its bytes.
constexpr ShuffleControl kMaskToAllBytes = {
    {3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15}};

}  // namespace maddubs

// Blender<WeightByte> of DIBBlitKernels.h; V adds to the kernels' operations Xor, SplatPair (the
// same eight bytes in every 64-bit lane), Broadcast (16 bytes into every 128-bit lane), Shuffle8
// (pshufb), UnpackLow8, UnpackHigh8, MulAddPairs (maddubs), MulHighRound16 (mulhrs) and
// PackSigned16.
template <class V, int WeightByte>
class MaddubsBlender {
 public:
  using Reg = typename V::Reg;
  // Weights of the low and high unpacked pairs: pixels 0, 1 and 2, 3 of each 128-bit lane.
  struct Weights {
    Reg low;
    Reg high;
  };

  MaddubsBlender()
      : m_Bias(V::Splat(maddubs::kBias)),
        m_Scale(V::SplatPair(maddubs::kMulhrsScale)),
        m_Flip(V::SplatPair(maddubs::kInverseColorWeights | maddubs::kKeepDestinationMask)),
        m_Low(Control<0>()),
        m_High(Control<8>()) {}

  Weights Uniform(uint8_t a, MaskFrom maskFrom) const {
    const Reg weights = V::SplatPair(
        maddubs::ConstantWeights(a, maskFrom == MaskFrom::Source ? maddubs::kTakeSourceMask
                                                                 : maddubs::kKeepDestinationMask));
    return {weights, weights};
  }

  // The destination's mask kept.
  Weights PerPixel(Reg weights) const {
    return {V::Xor(V::Shuffle8(weights, m_Low), m_Flip),
            V::Xor(V::Shuffle8(weights, m_High), m_Flip)};
  }

  Reg Blend(Reg s, Reg d, const Weights& weights) const {
    const Reg biasedS = V::Xor(s, m_Bias);
    const Reg biasedD = V::Xor(d, m_Bias);
    const Reg low = Scaled(weights.low, V::UnpackLow8(biasedS, biasedD));
    const Reg high = Scaled(weights.high, V::UnpackHigh8(biasedS, biasedD));
    return V::Xor(V::PackSigned16(low, high), m_Bias);
  }

 private:
  template <int FirstPixelByte>
  static Reg Control() {
    static constexpr maddubs::ShuffleControl kControl =
        maddubs::SpreadControl(WeightByte, FirstPixelByte);
    return V::Broadcast(kControl.bytes);
  }

  Reg Scaled(Reg weights, Reg biasedPairs) const {
    return V::MulHighRound16(V::MulAddPairs(weights, biasedPairs), m_Scale);
  }

  Reg m_Bias;
  Reg m_Scale;
  Reg m_Flip;
  Reg m_Low;
  Reg m_High;
};

// UniformBlend of DIBBlitKernels.h for SSSE3, with V's Or, Add8 and MulHighSigned16 (mulhi of
// signed lanes) besides: on unbiased pixels, as maddubs weighs unsigned pixel bytes by signed
// weights, which spares the bias and, with two-operand instructions, copies of the weights.
// (AVX2, whose instructions copy nothing, gains nothing from it.)
// Of the two pixels the heavy one has the weight h = max(a, 255 - a), the light one
// l = 255 - h, and s * a + d * (255 - a) = heavy * h + light * l = 256 * heavy + t, with
// t = light * l + heavy * (h - 256): both weights signed bytes, t within [-32640, 32385]. mulhi
// by 256 gives t >> 8, within [-128, 126], so packing saturates nothing, and the colour byte
// is heavy + (t >> 8) + 1.
// The mask lane weighs 0 where the heavy pixel's mask byte is wanted. Where the light one's is,
// the heavy one's is set to 255 first and the lane weighs (light, 255) by (126, -63): mulhi by
// 521 gives light - 128 for every light byte, and 255 + (light - 128) + 129 = light (mod 256).
template <class V, MaskFrom kMaskFrom, bool kSourceHeavy>
class MaddubsUniformBlend {
 public:
  using Reg = typename V::Reg;

  explicit MaddubsUniformBlend(uint8_t a) : m_Weights(V::SplatPair(Weights(a))) {}

  Reg operator()(Reg s, Reg d) const {
    if constexpr (kSourceHeavy) return Blend(s, d);
    return Blend(d, s);
  }

 private:
  static constexpr bool kLightMask = kSourceHeavy == (kMaskFrom == MaskFrom::Destination);

  // The weights of the unpacked (light, heavy) byte pairs of one pixel.
  static uint64_t Weights(uint8_t a) {
    const uint64_t heavy = kSourceHeavy ? a : 255u - a;
    const uint64_t colorPair = (255u - heavy) | heavy << 8;
    const uint64_t maskPair = kLightMask ? 0xC17Eu : 0;  // 126, -63
    return colorPair * 0x0000000100010001u | maskPair << 48;
  }

  Reg Blend(Reg heavy, Reg light) const {
    if constexpr (kLightMask) heavy = V::Or(heavy, V::Splat(kMaskBits));
    const Reg scale = V::SplatPair(0x0209010001000100u);  // 256 on colour, 521 on mask
    const Reg low =
        V::MulHighSigned16(V::MulAddPairs(V::UnpackLow8(light, heavy), m_Weights), scale);
    const Reg high =
        V::MulHighSigned16(V::MulAddPairs(V::UnpackHigh8(light, heavy), m_Weights), scale);
    const Reg one = V::Splat(kLightMask ? 0x81010101u : 0x00010101u);
    return V::Add8(V::PackSigned16(low, high), V::Add8(heavy, one));
  }

  Reg m_Weights;
};

}  // namespace
}  // namespace dib::detail
