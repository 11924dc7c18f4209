#pragma once
// The reference of the editor's figures: a memcpy of the editor window's 432 × 135 pixels.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "PixelCopy.h"

namespace benchref {

inline constexpr std::size_t kEditorWindowPixels = 432 * 135;

inline void CopyEditorWindow(benchmark::State& state) {
  const std::vector<uint32_t> source(kEditorWindowPixels, 0xC0C0C0);
  CopyPixels(state, source.data(), source.size());
}

}  // namespace benchref
