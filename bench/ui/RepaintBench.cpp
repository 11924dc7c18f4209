// Repainting a 432 x 135 form of twenty controls on the headless backend, whole and one
// control's area, each against a plain copy of the form's surface in the same run:
// "<figure>:subject" against "<figure>:reference".

#include <benchmark/benchmark.h>

#include <string>

#include "HeadlessForm.h"
#include "PixelCopy.h"
#include "ui/controls/Label.h"
#include "ui/controls/Panel.h"
#include "ui/controls/PictureBox.h"
#include "ui/controls/TextBox.h"

namespace {

struct Editor : bench::HeadlessForm {
  ui::Label* oneLabel = nullptr;

  Editor() : HeadlessForm(432, 135) {
    form->SetColor(ui::clBlack);
    ui::Panel& container = ui::Create<ui::Panel>(*form);
    container.SetParent(form.get());
    container.SetBounds(0, 24, 432, 111);
    container.SetBevelOuter(ui::bvNone);
    container.SetColor(ui::clSilver);
    // Eighteen labels in three rows of six, a memo and the title: twenty controls.
    for (int i = 0; i < 18; ++i) {
      ui::Label& label = ui::Create<ui::Label>(*form);
      label.SetParent(&container);
      label.SetBounds(4 + (i % 6) * 70, 4 + (i / 6) * 20, 0, 0);
      label.Font().SetColor(ui::clBlack);
      label.SetColor(ui::clSilver);
      label.SetCaption("Value " + std::to_string(i));
      if (i == 7) oneLabel = &label;
    }
    ui::TextBox& memo = ui::Create<ui::TextBox>(*form);
    memo.SetParent(&container);
    memo.SetBounds(8, 64, 300, 44);
    memo.SetScrollBars(ui::ssVertical);
    memo.SetText("line one\nline two\nline three\nline four");
    ui::Label& title = ui::Create<ui::Label>(*form);
    title.SetParent(form.get());
    title.SetBounds(4, 0, 0, 0);
    title.Font().SetHeight(-19);
    title.Font().SetColor(ui::clBlack);
    title.SetColor(ui::clSilver);
    title.SetCaption("Fluxomatic");
    Show();
  }
};

void Repaint(benchmark::State& state, bool whole) {
  Editor editor;
  ui::Control& changed = whole ? static_cast<ui::Control&>(*editor.form) : *editor.oneLabel;
  editor.RepaintEach(state, changed, [&editor] { editor.form->PaintInvalid(); });
}

void CopySurface(benchmark::State& state) {
  Editor editor;
  const ui::Surface& surface = editor.form->Pixels();
  benchref::CopyPixels(state, surface.Bits(),
                       static_cast<std::size_t>(surface.Width() * surface.Height()));
}

void RepaintFull(benchmark::State& state) {
  Repaint(state, true);
}
void RepaintControl(benchmark::State& state) {
  Repaint(state, false);
}

BENCHMARK(RepaintFull)->Name("repaint_full_vs_memcpy:subject");
BENCHMARK(CopySurface)->Name("repaint_full_vs_memcpy:reference");
BENCHMARK(RepaintControl)->Name("repaint_control_vs_memcpy:subject");
BENCHMARK(CopySurface)->Name("repaint_control_vs_memcpy:reference");

}  // namespace

BENCHMARK_MAIN();
