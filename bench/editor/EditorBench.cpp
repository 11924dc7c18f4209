// The editor through the descriptor on the headless backend, against a plain copy of the
// window's 432 x 135 pixels in the same run ("<figure>:subject" against "<figure>:reference").
// Opening reads the stored layout (70 skin images, two JPEG pictures), paints the window and
// presents it; closing destroys it. One idle request sets the two number labels and the two
// indicators, which repaints the indicators; only pixels that changed are presented. In the
// "painted" figure a note before each request has moved both indicators (the note's own
// processing is counted too); time stands still, so no tick moves the sliders.

#include <benchmark/benchmark.h>

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

BENCHMARK(OpenAndClose)->Name("editor_open_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_open_vs_memcpy:reference");
BENCHMARK_CAPTURE(Idle, request, false)->Name("editor_idle_vs_memcpy:subject");
BENCHMARK_CAPTURE(Idle, painted, true)->Name("editor_idle_painted_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_vs_memcpy:reference");
BENCHMARK(benchref::CopyEditorWindow)->Name("editor_idle_painted_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
