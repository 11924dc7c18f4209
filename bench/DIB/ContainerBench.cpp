// Repainting a 533 x 141 skinned-control container of eight 169 x 15 skinned controls and
// eleven labels on the headless backend, one control and the whole container, each against a
// plain copy of the container's pixels in the same run: "<figure>:subject" against
// "<figure>:reference". A repaint runs the container's paint up to the area it copies into
// its window and hands on for presenting; the backend's own copy to the screen is not part
// of it.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DIB/cDIBControl.h"
#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Form.h"
#include "ui/controls/Label.h"

namespace {

constexpr int32_t kWidth = 533, kHeight = 141;

// Draws as a slider does without stretching: a track at its own size, then a masked pointer.
class TBenchSlider : public TCustomDIBControl {
 public:
  explicit TBenchSlider(ui::Component* owner)
      : TCustomDIBControl(owner), m_Track(CreateImageLink()), m_Pointer(CreateImageLink()) {
    m_Track.SetDIBIndex(0);
    m_Pointer.SetDIBIndex(1);
  }

 protected:
  void Paint() override {
    if (TMemoryDIB* track = m_Track.GetImage()) {
      track->Draw(0, 0, track->Width(), track->Height(), *DIB());
    }
    if (TMemoryDIB* pointer = m_Pointer.GetImage()) {
      pointer->Draw(70, 1, pointer->Width(), pointer->Height(), *DIB());
    }
  }

 private:
  TDIBImageLink& m_Track;
  TDIBImageLink& m_Pointer;
};

struct Editor {
  platform::HeadlessBackend backend;
  platform::ScopedBackend installed{backend};
  std::unique_ptr<ui::Form> form;
  TDIBContainer* container = nullptr;
  TBenchSlider* oneSlider = nullptr;

  Editor() {
    form = std::make_unique<ui::Form>(nullptr, backend.CreateHostWindow({0, 0, kWidth, 165}));
    form->SetBounds(0, 0, kWidth, 165);
    container = &ui::Create<TDIBContainer>(*form);
    container->SetParent(form.get());
    container->SetBounds(0, 24, kWidth, kHeight);
    container->SetColor(ui::clSilver);
    TDIBImageList& list = ui::Create<TDIBImageList>(*form);
    TMemoryDIB& track = list.DIBImages().Add().DIB();
    track.SetSize(169, 15);
    track.Fill(ui::clGray);
    TMemoryDIB& pointer = list.DIBImages().Add().DIB();
    pointer.SetSize(19, 13);
    pointer.Fill(ui::clWhite);
    pointer.FillAlpha(200);
    pointer.SetMasked(true);
    for (int i = 0; i < 8; ++i) {
      TBenchSlider& slider = ui::Create<TBenchSlider>(*form);
      slider.SetParent(container);
      slider.SetBounds(8 + (i / 4) * 260, 8 + (i % 4) * 32, 169, 15);
      slider.SetDIBImageList(&list);
      if (i == 5) oneSlider = &slider;
    }
    for (int i = 0; i < 11; ++i) {
      ui::Label& label = ui::Create<ui::Label>(*form);
      label.SetParent(container);
      label.SetBounds(182 + (i / 6) * 260, 8 + (i % 6) * 20, 0, 0);
      label.Font().SetColor(ui::clBlack);
      label.SetColor(ui::clSilver);
      label.SetCaption("Value " + std::to_string(i));
    }
    form->Show();
    backend.Pump();
  }
};

void Repaint(benchmark::State& state, bool whole) {
  Editor editor;
  for (auto _ : state) {
    if (whole) {
      editor.container->Invalidate();
    } else {
      editor.oneSlider->Invalidate();
    }
    editor.container->Perform(ui::WM_PAINT);
    benchmark::DoNotOptimize(editor.form->Pixels().Bits());
  }
}

void CopyContainer(benchmark::State& state) {
  Editor editor;
  const TWinDIB& pixels = editor.container->BackBuffer();
  std::vector<uint32_t> target(static_cast<std::size_t>(kWidth) * kHeight);
  for (auto _ : state) {
    std::memcpy(target.data(), pixels.Pixels(), target.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
}

void RepaintControl(benchmark::State& state) {
  Repaint(state, false);
}
void RepaintContainer(benchmark::State& state) {
  Repaint(state, true);
}

BENCHMARK(RepaintControl)->Name("container_control_repaint_vs_memcpy:subject");
BENCHMARK(CopyContainer)->Name("container_control_repaint_vs_memcpy:reference");
BENCHMARK(RepaintContainer)->Name("container_full_repaint_vs_memcpy:subject");
BENCHMARK(CopyContainer)->Name("container_full_repaint_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
