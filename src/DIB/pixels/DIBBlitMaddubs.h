#pragma once
// The byte layout of the maddubs/mulhrs blend that the SSSE3 and AVX2 rows share.
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

#include <array>
#include <cstddef>
#include <cstdint>

namespace dib::detail::maddubs {

// Eight bytes: the weights of one unpacked pixel, repeated across the register.
inline constexpr uint64_t kInverseColorWeights = 0x0000FF00FF00FF00u;  // xor turns a into 255 - a
inline constexpr uint64_t kKeepDestinationMask = 0xFF00000000000000u;
inline constexpr uint64_t kTakeSourceMask = 0x00FF000000000000u;
inline constexpr uint64_t kMulhrsScale = 0x0081008000800080u;  // 128 on colour, 129 on mask
inline constexpr uint32_t kBias = 0x80808080u;

constexpr uint64_t ConstantWeights(uint8_t a, uint64_t maskWeights) {
  return (uint64_t{a} * 0x0000010101010101u ^ kInverseColorWeights) | maskWeights;
}

// pshufb control that puts byte byteInPixel of two pixels (the first at firstPixelByte) on
// the colour weights of their unpacked pairs, and zero on the mask weights. The low pair
// unpacks pixels 0 and 1 of a 128-bit lane (first byte 0), the high pair pixels 2 and 3 (8).
constexpr std::array<char, 16> SpreadControl(int byteInPixel, int firstPixelByte) {
  std::array<char, 16> control{};
  for (std::size_t i = 0; i < control.size(); ++i) {
    const int pixel = static_cast<int>(i / 8);
    control[i] = i % 8 < 6 ? static_cast<char>(firstPixelByte + 4 * pixel + byteInPixel)
                           : static_cast<char>(0x80);  // pshufb zeroes the byte
  }
  return control;
}

}  // namespace dib::detail::maddubs
