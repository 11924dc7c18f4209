// The X11 backend on a real server against a plain copy of the editor window's 432 x 135
// pixels in the same run ("<figure>:subject" against "<figure>:reference"). Presenting counts
// until the server has the pixels (a round trip after them), through shared memory as the
// backend does where it can, and through the socket (PutImage) as on a remote server; opening
// the editor counts from effEditOpen until the server has its first frame, then effEditClose.

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "EditorWindow.h"
#include "EditorWindowCopy.h"
#include "editor/uPluginEditor.h"
#include "platform/x11/X11Backend.h"
#include "testsupport/vst/FakeHost.h"

namespace {

constexpr uint16_t kWidth = 432;
constexpr uint16_t kHeight = 135;

struct Unheard final : platform::PeerClient {};

// fluxhost's window, as the parent a host gives the editor; none without a server.
std::unique_ptr<fluxhost::EditorWindow> OpenParent() {
  try {
    return fluxhost::OpenEditorWindow("bench", kWidth, kHeight);
  } catch (const std::runtime_error&) {
    return nullptr;
  }
}

void PresentFull(benchmark::State& state, bool sharedMemory) {
  const auto parent = OpenParent();
  if (!parent) return state.SkipWithError("no X server on DISPLAY");
  platform::x11::X11Backend backend(sharedMemory);
  Unheard client;
  auto peer = backend.CreateChildWindow(parent->NativeHandle(), client);
  if (!peer) return state.SkipWithError("no window");
  peer->SetBounds({0, 0, kWidth, kHeight});
  peer->SetVisible(true);
  backend.Pump();
  const std::vector<uint32_t> pixels(benchref::kEditorWindowPixels, 0xC0C0C0);
  for (auto _ : state) {
    peer->Present({pixels.data(), kWidth, kHeight}, {0, 0, kWidth, kHeight});
    backend.Sync();
  }
}

void OpenAndClose(benchmark::State& state) {
  const auto parent = OpenParent();
  if (!parent) return state.SkipWithError("no X server on DISPLAY");
  platform::x11::X11Backend backend;
  platform::ScopedBackend installed{backend};
  FakeHost::Instance().Reset();
  AEffect* effect = (new APlugin(FakeHost::Callback))->getAeffect();
  for (auto _ : state) {
    if (effect->dispatcher(effect, effEditOpen, 0, 0, parent->NativeHandle(), 0.0f) != 1) {
      state.SkipWithError("the editor did not open");
      break;
    }
    backend.Sync();
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  }
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

BENCHMARK_CAPTURE(PresentFull, shared, true)->Name("x11_present_full_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("x11_present_full_vs_memcpy:reference");
BENCHMARK_CAPTURE(PresentFull, socket, false)->Name("x11_present_full_putimage_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("x11_present_full_putimage_vs_memcpy:reference");
BENCHMARK(OpenAndClose)->Name("x11_editor_open_vs_memcpy:subject");
BENCHMARK(benchref::CopyEditorWindow)->Name("x11_editor_open_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
