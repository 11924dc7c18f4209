#pragma once
// The reference the drawing figures are measured against: a plain copy of a window's pixels.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace benchref {

inline void CopyPixels(benchmark::State& state, const uint32_t* source, std::size_t count) {
  std::vector<uint32_t> target(count);
  for (auto _ : state) {
    std::memcpy(target.data(), source, target.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}

}  // namespace benchref
