#pragma once
// Float-to-integer conversion, round to nearest with halves to even.
// It must not depend on the rounding mode a host left on the calling thread,
// so it is built on floor(), which is exact in every mode.

#include <cmath>
#include <cstdint>
#include <limits>

namespace flux {

// Halves go to the even neighbour; NaN gives 0; values beyond int32 saturate.
inline int32_t RoundHalfEven(double x) {
  if (std::isnan(x)) return 0;
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  if (x <= kMin) return std::numeric_limits<int32_t>::min();
  if (x >= kMax) return std::numeric_limits<int32_t>::max();
  double whole = std::floor(x);
  const double fraction = x - whole;  // exact for |x| < 2^31
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  return static_cast<int32_t>(whole);
}

}  // namespace flux
