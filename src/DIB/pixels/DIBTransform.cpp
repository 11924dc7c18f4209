#include "DIB/pixels/DIBTransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/Rounding.h"

namespace dib {
namespace {

using flux::RoundHalfEven;

int32_t Fixed(double value) {
  return RoundHalfEven(256.0 * value);
}

RotationTables BuildTables() {
  RotationTables tables{};
  for (int32_t g = 0; g < 360; ++g) {
    const double r = g * std::numbers::pi / 180.0;
    const auto i = static_cast<std::size_t>(g);
    tables.S[i] = Fixed(std::sin(r));
    tables.C[i] = Fixed(std::cos(r));
    tables.S90[i] = Fixed(std::sin(r + std::numbers::pi / 2));
    tables.C90[i] = Fixed(std::cos(r + std::numbers::pi / 2));
  }
  return tables;
}

int64_t FloorDivide(int64_t a, int64_t b) {  // b > 0
  const int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// The columns j (as first and one past last) with -limit < start + j * step < limit.
// Truncating u / 256 toward zero stays within +-(half - 1) exactly when |u| < 256 * half.
void InsideColumns(int64_t start, int64_t step, int64_t limit, int64_t& first, int64_t& end) {
  if (step == 0) {
    if (-limit >= start || start >= limit) end = first;
    return;
  }
  if (step < 0) start = -start, step = -step;
  first = std::max(first, FloorDivide(-limit - start, step) + 1);
  end = std::min(end, -FloorDivide(-(limit - start), step));  // ceil((limit - start) / step)
}

}  // namespace

uint16_t NormalizeAngle(uint16_t angle) {
  return static_cast<uint16_t>(angle % 360);
}

const RotationTables& GetRotationTables() {
  static const RotationTables tables = BuildTables();
  return tables;
}

std::optional<TransformWalk> MakeTransformWalk(const flux::MutablePixelView& dest,
                                               const flux::PixelView& source,
                                               const TransformSettings& settings) {
  const double sx = settings.scaleX / 100.0;
  const double sy = settings.scaleY / 100.0;
  const int32_t w = source.width, h = source.height;
  if (w * sx == 0.0 || h * sy == 0.0) return std::nullopt;
  const RotationTables& t = GetRotationTables();
  const auto a = static_cast<std::size_t>(NormalizeAngle(settings.angle));
  TransformWalk walk{};
  walk.ux = RoundHalfEven(t.C[a] * w / (w * sx));
  walk.vx = RoundHalfEven(t.S[a] * h / (h * sy));
  walk.uy = RoundHalfEven(t.C90[a] * w / (w * sx));
  walk.vy = RoundHalfEven(t.S90[a] * h / (h * sy));
  walk.uStart = -walk.ux * (dest.width / 2) - (dest.height / 2) * walk.uy;
  walk.vStart = -walk.vx * (dest.width / 2) - (dest.height / 2) * walk.vy;
  walk.halfWidth = w / 2;
  walk.halfHeight = h / 2;
  return walk;
}

uint32_t TransformSourcePixel(const flux::PixelView& source, const TransformWalk& walk, int64_t u,
                              int64_t v) {
  const int64_t row = walk.halfHeight + v / 256;  // both divisions truncate toward zero
  const int64_t column = walk.halfWidth + u / 256;
  return source.bits[row * source.width + column];
}

void TransformPixels(const flux::MutablePixelView& dest, const flux::PixelView& source,
                     const TransformSettings& settings) {
  const std::optional<TransformWalk> found = MakeTransformWalk(dest, source, settings);
  if (!found) return;
  const TransformWalk& walk = *found;
  const int64_t uLimit = 256 * int64_t{walk.halfWidth};
  const int64_t vLimit = 256 * int64_t{walk.halfHeight};
  for (int32_t i = 0; i < dest.height; ++i) {
    uint32_t* out = dest.bits + static_cast<std::ptrdiff_t>(i) * dest.width;
    const int64_t u0 = walk.uStart + i * walk.uy;
    const int64_t v0 = walk.vStart + i * walk.vy;
    int64_t first = 0, end = dest.width;
    InsideColumns(u0, walk.ux, uLimit, first, end);
    InsideColumns(v0, walk.vx, vLimit, first, end);
    if (first >= end) first = end = dest.width;
    std::fill(out, out + first, settings.background);
    int64_t u = u0 + first * walk.ux, v = v0 + first * walk.vx;
    for (int64_t j = first; j < end; ++j, u += walk.ux, v += walk.vx) {
      out[j] = TransformSourcePixel(source, walk, u, v);
    }
    std::fill(out + end, out + dest.width, settings.background);
  }
}

BoxSize TransformedBoxSize(int32_t width, int32_t height, uint16_t angle, double scaleX,
                           double scaleY) {
  const double sw = scaleX * width / 100.0;
  const double sh = scaleY * height / 100.0;
  const double t = -NormalizeAngle(angle) * std::numbers::pi / 180.0;
  const auto even = [](double side) {
    // No image can be larger than 65535 pixels a side: a bigger, infinite or NaN side is a box
    // with nothing in it, and converting it would leave the integer range.
    if (!(side <= 65536.0)) return 0;
    const auto n = static_cast<int32_t>(std::ceil(side));
    return n % 2 != 0 ? n + 1 : n;
  };
  return BoxSize{even(std::abs(sw * std::cos(t)) + std::abs(sh * std::sin(t))),
                 even(std::abs(sw * std::sin(t)) + std::abs(sh * std::cos(t)))};
}

}  // namespace dib
