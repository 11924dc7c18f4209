// The editor through the descriptor on the headless backend, against a plain copy of the
// window's 432 x 135 pixels in the same run ("<figure>:subject" against "<figure>:reference").
// Opening reads the stored layout (70 skin images, two JPEG pictures), paints the window and
// presents it; closing destroys it. One idle request sets the two number labels and the two
// indicators, which repaints the indicators; only pixels that changed are presented. In the
// "painted" figure a note before each request has moved both indicators (the note's own
// processing is counted too); time stands still, so no tick moves the sliders. In the "cold"
// figure each request, and each copy of its reference, comes after the caches were filled with
// other data, as in a host, where 20 ms of other work pass between two idle requests.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "EditorWindowCopy.h"
#include "testsupport/editor/EditorHost.h"

namespace {

void OpenAndClose(benchmark::State& state) {
  editortest::EditorHost host;
  for (auto _ : state) {
    if (host.Open() != 1) state.SkipWithError("the editor did not open");
    host.backend.Pump();
    benchmark::DoNotOptimize(host.backend.FrameOf(host.Window().Handle()));
    host.Close();
  }
}

void Idle(benchmark::State& state, bool moving) {
  editortest::EditorHost host;
  host.Open();
  host.backend.Pump();
  host.SetParameter(1, 0.0f);  // no randomising: each unit sends its CC Value
  host.SetParameter(4, 0.0f);
  float value = 0.25f;
  for (auto _ : state) {
    if (moving) {
      value = 1.0f - value;
      host.SetParameter(0, value);
      host.SetParameter(3, value);
      host.PlayNote();
    }
    host.Idle();
  }
  if (host.Window().indicate1.Position() != host.Plugin().LastValue(1)) {
    state.SkipWithError("idle did not set the indicators");
  }
}

// Times only step, each time after other data went through every cache level. Each line is
// read and written (a large memset may bypass the caches).
template <class Step>
void AfterEviction(benchmark::State& state, Step step) {
  std::vector<char> other(std::size_t{64} << 20);
  for (auto _ : state) {
    for (std::size_t i = 0; i < other.size(); i += 64) ++other[i];
    benchmark::ClobberMemory();
    const auto start = std::chrono::steady_clock::now();
    step();
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}

void ColdIdle(benchmark::State& state) {
  editortest::EditorHost host;
  host.Open();
  host.backend.Pump();
  AfterEviction(state, [&host] { host.Idle(); });
}

void ColdCopy(benchmark::State& state) {
  const std::vector<uint32_t> source(benchref::kEditorWindowPixels, 0xC0C0C0);
  std::vector<uint32_t> target(source.size());
  AfterEviction(state, [&] {
    std::memcpy(target.data(), source.data(), source.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  });
}

BENCHMARK(OpenAndClose)->Name("editor_open_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_open_vs_memcpy:reference");
BENCHMARK_CAPTURE(Idle, request, false)->Name("editor_idle_vs_memcpy:subject");
BENCHMARK_CAPTURE(Idle, painted, true)->Name("editor_idle_painted_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_vs_memcpy:reference");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_painted_vs_memcpy:reference");
// Each iteration first goes through 64 MiB: a fixed count keeps the run short.
BENCHMARK(ColdIdle)->Name("editor_idle_cold_vs_memcpy:subject")->UseManualTime()->Iterations(500);
BENCHMARK(ColdCopy)->Name("editor_idle_cold_vs_memcpy:reference")->UseManualTime()->Iterations(500);

}  // namespace

BENCHMARK_MAIN();
