// A 533 x 141 skinned-control container of eight 169 x 15 sliders (stretched tracks between end
// caps, masked pointers) and eleven labels on the headless backend: repainting one slider, the
// whole container, and one mouse-move step of dragging a slider, each against a plain copy of
// the container's pixels in the same run ("<figure>:subject" against "<figure>:reference").
// A repaint runs the container's paint up to the area it copies into its window and hands on
// for presenting; the backend's own copy to the screen is not part of it. A drag step is a
// mouse move that the form routes to the slider being dragged, which takes its new position,
// and the repaint of what changed.

#include <benchmark/benchmark.h>

#include <string>

#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "DIB/cDIBSlider.h"
#include "HeadlessForm.h"
#include "PixelCopy.h"
#include "ui/controls/Label.h"

namespace {

constexpr int32_t kWidth = 533, kHeight = 141;

struct Editor : bench::HeadlessForm {
  TDIBContainer* container = nullptr;
  TDIBSlider* oneSlider = nullptr;

  Editor() : HeadlessForm(kWidth, 165) {
    container = &ui::Create<TDIBContainer>(*form);
    container->SetParent(form.get());
    container->SetBounds(0, 24, kWidth, kHeight);
    container->SetColor(ui::clSilver);
    TDIBImageList& list = ui::Create<TDIBImageList>(*form);
    const auto add = [&list](uint16_t width, uint16_t height, ui::Color color) -> TMemoryDIB& {
      TMemoryDIB& image = list.DIBImages().Add().DIB();
      image.SetSize(width, height);
      image.Fill(color);
      return image;
    };
    add(6, 15, ui::clMaroon);
    add(14, 15, ui::clGray);
    TMemoryDIB& pointer = add(19, 13, ui::clWhite);
    pointer.FillAlpha(200);
    pointer.SetMasked(true);
    for (int i = 0; i < 8; ++i) {
      TDIBSlider& slider = ui::Create<TDIBSlider>(*form);
      slider.SetParent(container);
      slider.SetDIBImageList(&list);
      slider.IndexEnd1().SetDIBIndex(0);
      slider.IndexEnd2().SetDIBIndex(0);
      slider.IndexMain().SetDIBIndex(1);
      slider.IndexPointer().SetDIBIndex(2);
      slider.SetPointerOpacityLow(255);
      slider.SetMax(127);
      slider.SetBounds(8 + (i / 4) * 260, 8 + (i % 4) * 32, 169, 15);
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
    Show();
  }
};

void Repaint(benchmark::State& state, bool whole) {
  Editor editor;
  ui::Control& changed = whole ? static_cast<ui::Control&>(*editor.container) : *editor.oneSlider;
  editor.RepaintEach(state, changed, [&editor] { editor.container->Perform(ui::WM_PAINT); });
}

void CopyContainer(benchmark::State& state) {
  Editor editor;
  benchref::CopyPixels(state, editor.container->BackBuffer().Pixels(),
                       static_cast<std::size_t>(kWidth) * kHeight);
}

// The pointer is held 5 pixels into it and moved between pixels 70 and 71 of the track, which
// are positions 63 and 64. The move reaches the form as the window system would send it.
void DragStep(benchmark::State& state) {
  Editor editor;
  TDIBSlider& slider = *editor.oneSlider;
  const ui::Point grip{slider.ClientOrigin().X + slider.PointerRect().Left + 5,
                       slider.ClientOrigin().Y + 7};
  editor.backend.MouseMove(grip.X, grip.Y);
  editor.backend.MouseDown(platform::MouseButton::Left, grip.X, grip.Y);
  const ui::Point inForm = editor.form->ScreenToClient(grip);
  int32_t pixel = 70;
  for (auto _ : state) {
    editor.backend.SendMouse(editor.form->Handle(), {platform::MouseAction::Move,
                                                     platform::MouseButton::Left,
                                                     {inForm.X + pixel, inForm.Y},
                                                     ui::MK_LBUTTON});
    editor.container->Perform(ui::WM_PAINT);
    benchmark::DoNotOptimize(editor.form->Pixels().Bits());
    pixel ^= 70 ^ 71;
  }
  if (!slider.Dragging() || slider.Position() != (pixel == 70 ? 64 : 63)) {
    state.SkipWithError("the drag did not move the slider");
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
BENCHMARK(DragStep)->Name("slider_drag_step_vs_memcpy:subject");
BENCHMARK(CopyContainer)->Name("slider_drag_step_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
