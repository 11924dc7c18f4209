// The editor through the descriptor on the headless backend, against a plain copy of the
// window's 432 x 135 pixels in the same run ("<figure>:subject" against "<figure>:reference").
// Opening reads the stored layout (70 skin images, two JPEG pictures), paints the window and
// presents it; closing destroys it. One idle request sets the two number labels and the two
// indicators, which invalidates the indicators; the "painted" figure also serves the repaint
// that follows, which a window system would send as its own message.

#include <benchmark/benchmark.h>

#include "EditorWindowCopy.h"
#include "editor/EditorHost.h"

namespace {

void OpenAndClose(benchmark::State& state) {
  editortest::EditorHost host;
  for (auto _ : state) {
    if (host.open() != 1) state.SkipWithError("the editor did not open");
    host.backend.Pump();
    benchmark::DoNotOptimize(host.backend.FrameOf(host.window().Handle()));
    host.close();
  }
}

void Idle(benchmark::State& state, bool paint) {
  editortest::EditorHost host;
  host.open();
  host.backend.Pump();
  for (auto _ : state) {
    host.idle();
    if (paint) host.backend.Pump();
  }
  if (host.window().indicate1.Position() != host.plugin().lastValue(1)) {
    state.SkipWithError("idle did not set the indicators");
  }
}

BENCHMARK(OpenAndClose)->Name("editor_open_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_open_vs_memcpy:reference");
BENCHMARK_CAPTURE(Idle, request, false)->Name("editor_idle_vs_memcpy:subject");
BENCHMARK_CAPTURE(Idle, painted, true)->Name("editor_idle_painted_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_vs_memcpy:reference");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_painted_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
