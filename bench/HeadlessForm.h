#pragma once
// The set-up of the repaint figures: a form in a host window of the headless backend, which
// delivers at once. A figure builds its controls on it, shows it and repaints part of it.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "platform/headless/HeadlessBackend.h"
#include "ui/controls/Form.h"

namespace bench {

struct HeadlessForm {
  platform::HeadlessBackend backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend installed{backend};
  std::unique_ptr<ui::Form> form;

  HeadlessForm(int32_t width, int32_t height)
      : form(std::make_unique<ui::Form>(nullptr, backend.CreateHostWindow({0, 0, width, height}))) {
    form->SetBounds(0, 0, width, height);
  }

  void Show() {
    form->Show();
    backend.Pump();
  }

  // Each iteration invalidates `changed` and lets `paint` repaint what that touched.
  template <class Paint>
  void RepaintEach(benchmark::State& state, ui::Control& changed, Paint paint) {
    for (auto _ : state) {
      changed.Invalidate();
      paint();
      benchmark::DoNotOptimize(form->Pixels().Bits());
    }
  }
};

}  // namespace bench
