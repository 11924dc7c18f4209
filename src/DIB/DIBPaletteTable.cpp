#include "DIB/DIBPaletteTable.h"

#include <array>
#include <vector>

#include "ui/model/Exception.h"

namespace dib {
namespace {

// The grid of 64 steps per channel is halved again and again into cubes, down to cubes of
// 2 x 2 x 2 colours. Each cube keeps only those of its parent's entries that may be the nearest
// to one of its colours, so each colour is finally compared with a handful of entries.
constexpr int32_t kSteps = 64;
constexpr int32_t kLeafSteps = 2;

struct Candidates {
  std::array<int32_t, 256> red, green, blue;
  std::array<uint8_t, 256> index;
  std::size_t count = 0;

  void Add(int32_t r, int32_t g, int32_t b, uint8_t i) {
    red[count] = r;
    green[count] = g;
    blue[count] = b;
    index[count] = i;
    ++count;
  }
  int32_t Distance(std::size_t n, int32_t r, int32_t g, int32_t b) const {
    return (red[n] - r) * (red[n] - r) + (green[n] - g) * (green[n] - g) +
           (blue[n] - b) * (blue[n] - b);
  }
};

// The largest of a * c over c in [lo, hi].
int32_t LargestProduct(int32_t a, int32_t lo, int32_t hi) {
  return a > 0 ? a * hi : a * lo;
}

// The entries of `from` (lowest index first) that may be the nearest to some colour whose
// channel values lie between lo and hi. Against a pivot p, entry e is at least as far as p from
// every such colour c when dist(e, c) - dist(p, c) = |e|² - |p|² - 2 (e - p) · c, linear in c
// and so smallest at a corner, is above 0 there, or 0 with e after p.
void Narrow(const Candidates& from, const std::array<int32_t, 3>& lo,
            const std::array<int32_t, 3>& hi, Candidates& out) {
  const int32_t centre[3] = {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2};
  std::size_t p = 0;
  int32_t pivotDistance = from.Distance(0, centre[0], centre[1], centre[2]);
  for (std::size_t n = 1; n < from.count; ++n) {
    const int32_t d = from.Distance(n, centre[0], centre[1], centre[2]);
    if (d < pivotDistance) {
      p = n;
      pivotDistance = d;
    }
  }
  const int32_t pivotNorm = from.Distance(p, 0, 0, 0);
  out.count = 0;
  for (std::size_t n = 0; n < from.count; ++n) {
    const int32_t least = from.Distance(n, 0, 0, 0) - pivotNorm -
                          2 * (LargestProduct(from.red[n] - from.red[p], lo[0], hi[0]) +
                               LargestProduct(from.green[n] - from.green[p], lo[1], hi[1]) +
                               LargestProduct(from.blue[n] - from.blue[p], lo[2], hi[2]));
    if (least > 0 || (least == 0 && n > p)) continue;
    out.Add(from.red[n], from.green[n], from.blue[n], from.index[n]);
  }
}

uint8_t Nearest(const Candidates& c, int32_t red, int32_t green, int32_t blue) {
  std::size_t best = 0;
  int32_t bestDistance = c.Distance(0, red, green, blue);
  for (std::size_t n = 1; n < c.count && bestDistance != 0; ++n) {
    const int32_t d = c.Distance(n, red, green, blue);
    if (d < bestDistance) {
      best = n;
      bestDistance = d;
    }
  }
  return c.index[best];
}

// Fills the table for the cube of `steps` grid steps per side from grid point `first`.
void FillCube(const Candidates& parent, const std::array<int32_t, 3>& first, int32_t steps,
              std::span<uint8_t> table) {
  const std::array<int32_t, 3> lo = {4 * first[0], 4 * first[1], 4 * first[2]};
  const std::array<int32_t, 3> hi = {lo[0] + 4 * (steps - 1), lo[1] + 4 * (steps - 1),
                                     lo[2] + 4 * (steps - 1)};
  Candidates here;
  Narrow(parent, lo, hi, here);
  if (steps > kLeafSteps && here.count > 1) {
    const int32_t half = steps / 2;
    for (int32_t octant = 0; octant < 8; ++octant) {
      FillCube(here,
               {first[0] + (octant >> 2) * half, first[1] + ((octant >> 1) & 1) * half,
                first[2] + (octant & 1) * half},
               half, table);
    }
    return;
  }
  for (int32_t i = first[0]; i < first[0] + steps; ++i) {
    for (int32_t j = first[1]; j < first[1] + steps; ++j) {
      for (int32_t k = first[2]; k < first[2] + steps; ++k) {
        table[static_cast<std::size_t>(i * 4096 + j * 64 + k)] = Nearest(here, 4 * i, 4 * j, 4 * k);
      }
    }
  }
}

}  // namespace

void ComputeLookupTable(std::span<const ui::PaletteEntry> entries, std::span<uint8_t> table) {
  ui::Assert(!entries.empty() && entries.size() <= 256 && table.size() == kLookupTableSize,
             "DIB\\DIBPaletteTable");
  Candidates all;
  for (std::size_t e = 0; e < entries.size(); ++e) {
    all.Add(entries[e].red, entries[e].green, entries[e].blue, static_cast<uint8_t>(e));
  }
  FillCube(all, {0, 0, 0}, kSteps, table);
}

}  // namespace dib
