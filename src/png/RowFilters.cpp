#include "png/RowFilters.h"

#include <cstdlib>
#include <string>

#include "png/Png.h"

namespace png {
namespace {

enum FilterType : uint8_t { kNone, kSub, kUp, kAverage, kPaeth };

// Whichever of the three neighbours lies nearest to left + above - aboveLeft; ties go to
// left, then above.
int PaethPredictor(int left, int above, int aboveLeft) {
  const int estimate = left + above - aboveLeft;
  const int toLeft = std::abs(estimate - left);
  const int toAbove = std::abs(estimate - above);
  const int toAboveLeft = std::abs(estimate - aboveLeft);
  if (toLeft <= toAbove && toLeft <= toAboveLeft) return left;
  return toAbove <= toAboveLeft ? above : aboveLeft;
}

int Prediction(uint8_t type, int left, int above, int aboveLeft) {
  switch (type) {
    case kSub:
      return left;
    case kUp:
      return above;
    case kAverage:
      return (left + above) / 2;
    case kPaeth:
      return PaethPredictor(left, above, aboveLeft);
    default:  // kNone
      return 0;
  }
}

}  // namespace

void Unfilter(uint8_t type, std::span<uint8_t> row, std::span<const uint8_t> above,
              std::size_t pixelBytes) {
  if (type > kPaeth) throw Error("unknown row filter type " + std::to_string(type));
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
    const int aboveLeft = i >= pixelBytes ? above[i - pixelBytes] : 0;
    row[i] = static_cast<uint8_t>(row[i] + Prediction(type, left, above[i], aboveLeft));
  }
}

}  // namespace png
