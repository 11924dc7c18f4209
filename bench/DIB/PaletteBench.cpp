// Palette displays, each figure with its reference in the same run ("<figure>:subject" against
// "<figure>:reference"): computing the lookup table against the plain nearest-entry search, and
// drawing through the table against a plain copy of the same pixels.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "DIB/DIBPaletteTable.h"
#include "DIB/cDIB.h"
#include "DIB/cDIBPalette.h"
#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Form.h"

namespace {

std::vector<ui::PaletteEntry> GreyRamp() {
  std::vector<ui::PaletteEntry> ramp;
  for (int i = 0; i < 235; ++i) {
    const auto level = static_cast<uint8_t>(255 - i);
    ramp.push_back({level, level, level, 0});
  }
  return ramp;
}

void LookupTable(benchmark::State& state) {
  const std::vector<ui::PaletteEntry> ramp = GreyRamp();
  std::vector<uint8_t> table(dib::kLookupTableSize);
  for (auto _ : state) {
    dib::ComputeLookupTable(ramp, table);
    benchmark::DoNotOptimize(table.data());
  }
}

// Every entry compared with every colour.
void LookupTableBruteForce(benchmark::State& state) {
  const std::vector<ui::PaletteEntry> ramp = GreyRamp();
  std::vector<uint8_t> table(dib::kLookupTableSize);
  for (auto _ : state) {
    for (int i = 0; i < 64; ++i) {
      for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
          const int r = 4 * i, g = 4 * j, b = 4 * k;
          std::size_t best = 0;
          int bestDistance = 1 << 30;
          for (std::size_t e = 0; e < ramp.size(); ++e) {
            const int d = (ramp[e].red - r) * (ramp[e].red - r) +
                          (ramp[e].green - g) * (ramp[e].green - g) +
                          (ramp[e].blue - b) * (ramp[e].blue - b);
            if (d < bestDistance) {
              best = e;
              bestDistance = d;
            }
          }
          table[static_cast<std::size_t>(i * 4096 + j * 64 + k)] = static_cast<uint8_t>(best);
        }
      }
    }
    benchmark::DoNotOptimize(table.data());
  }
}

constexpr uint16_t kWidth = 533;
constexpr uint16_t kHeight = 141;

struct Scene {
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  ui::Form form{nullptr, backend.CreateHostWindow({0, 0, kWidth, kHeight})};
  TDIBPalette& palette = ui::Create<TDIBPalette>(form);
  TMemoryDIB image{kWidth, kHeight};
  ui::Surface screen{kWidth, kHeight};
  ui::DeviceContext dc{&screen};

  Scene() {
    std::mt19937 random(1);
    std::generate_n(image.Pixels(), kWidth * kHeight,
                    [&] { return static_cast<uint32_t>(random()); });
    palette.SetUseTable(true);
    dc.SetBitsPerPixel(8);
  }
};

void Render8Bit(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.image.Render8Bit(scene.dc, 0, 0, kWidth, kHeight, 0, 0, 0, scene.palette);
    benchmark::ClobberMemory();
  }
}

void PlainCopy(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    for (int32_t y = 0; y < kHeight; ++y) {
      const uint32_t* from = scene.image.ScanLine(y);
      std::copy(from, from + kWidth, scene.screen.ScanLine(y));
    }
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(LookupTable)->Name("lookup_table_vs_brute_force:subject")->Unit(benchmark::kMillisecond);
BENCHMARK(LookupTableBruteForce)
    ->Name("lookup_table_vs_brute_force:reference")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Render8Bit)->Name("render8bit_vs_copy:subject")->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainCopy)->Name("render8bit_vs_copy:reference")->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
