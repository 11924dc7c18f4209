// A repaint that changes nothing but pixels allocates nothing: this binary replaces the global
// operator new to count allocations while the container repaints what an idle request of the
// editor invalidates (the indicators' new positions) and the whole container.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DIB/cDIBImageList.h"
#include "DIB/cDIBPanel.h"
#include "DIB/cDIBSlider.h"
#include "platform/headless/HeadlessBackend.h"
#include "testsupport/common/CountedAllocations.h"
#include "ui/controls/Form.h"
#include "ui/controls/Label.h"

namespace {

// Allocations made by `work`.
template <class Work>
int AllocationsOf(Work work) {
  testsupport::allocations = 0;
  testsupport::countingAllocations = true;
  work();
  testsupport::countingAllocations = false;
  return testsupport::allocations;
}

class PaintAllocation : public ::testing::Test {
 protected:
  PaintAllocation() {
    m_Form->SetBounds(0, 0, 533, 165);
    m_Container.SetParent(m_Form.get());
    m_Container.SetBounds(0, 24, 533, 141);
    m_Container.SetColor(ui::clSilver);
    const int32_t end = Add(6, 15, ui::clMaroon);
    const int32_t track = Add(14, 15, ui::clGray);
    const int32_t overlay = Add(14, 15, ui::clLime);
    const int32_t pointer = Add(19, 13, ui::clWhite);
    m_Images.DIBImages().Items(pointer).DIB().FillAlpha(200);
    m_Images.DIBImages().Items(pointer).DIB().SetMasked(true);
    const int32_t square = Add(4, 4, ui::clRed);
    m_Images.DIBImages().Items(square).DIB().FillRect(ui::clWhite, 0, 0, 1, 1);  // not uniform
    const int32_t bar = Add(4, 4, ui::clNavy);
    const int32_t marker = Add(4, 4, ui::clBlue);
    for (int i = 0; i < 6; ++i) {
      TDIBSlider& s = AddSlider(8 + (i / 3) * 260, 8 + (i % 3) * 32, 169, {end, track, overlay});
      s.IndexEnd2().SetDIBIndex(end);
      s.IndexPointer().SetDIBIndex(pointer);
    }
    m_Indicators[0] = &AddSlider(8, 110, 333, {-1, square, -1});
    m_Indicators[1] = &AddSlider(8, 120, 333, {-1, bar, -1});
    for (TDIBSlider* indicator : m_Indicators) {
      indicator->IndexPointer().SetDIBIndex(marker);
      indicator->SetStretchBackground(false);
      indicator->SetEnabled(false);
    }
    for (int i = 0; i < 11; ++i) {
      ui::Label& label = ui::Create<ui::Label>(*m_Form);
      label.SetParent(&m_Container);
      label.SetBounds(182 + (i / 6) * 260, 8 + (i % 6) * 16, 0, 0);
      label.SetCaption("Value " + std::to_string(i));
    }
    m_Form->Show();
    m_Backend.Pump();
  }

  int32_t Add(uint16_t width, uint16_t height, ui::Color color) {
    TMemoryDIB& image = m_Images.DIBImages().Add().DIB();
    image.SetSize(width, height);
    image.Fill(color);
    return m_Images.DIBImages().Count() - 1;
  }

  struct Links {
    int32_t end1, main, overlay;
  };

  TDIBSlider& AddSlider(int32_t left, int32_t top, int32_t width, Links links) {
    TDIBSlider& slider = ui::Create<TDIBSlider>(*m_Form);
    slider.SetParent(&m_Container);
    slider.SetDIBImageList(&m_Images);
    slider.IndexEnd1().SetDIBIndex(links.end1);
    slider.IndexMain().SetDIBIndex(links.main);
    slider.IndexOverlay().SetDIBIndex(links.overlay);
    slider.SetMax(127);
    slider.SetPosition(40);
    slider.SetBounds(left, top, width, 1);
    return slider;
  }

  // What the editor's idle request does to the indicators, and the repaint that follows.
  void ShowNewValues(int32_t value) {
    for (TDIBSlider* indicator : m_Indicators) indicator->SetPosition(value);
    m_Container.Perform(ui::WM_PAINT);
  }

  void RepaintWhole() {
    m_Container.Invalidate();
    m_Container.Perform(ui::WM_PAINT);
  }

  platform::HeadlessBackend m_Backend{platform::HeadlessBackend::Delivery::AtOnce};
  platform::ScopedBackend m_Installed{m_Backend};
  std::unique_ptr<ui::Form> m_Form =
      std::make_unique<ui::Form>(nullptr, m_Backend.CreateHostWindow({0, 0, 533, 165}));
  TDIBContainer& m_Container = ui::Create<TDIBContainer>(*m_Form);
  TDIBImageList& m_Images = ui::Create<TDIBImageList>(*m_Form);
  TDIBSlider* m_Indicators[2] = {};
};

TEST_F(PaintAllocation, RepaintingTheIndicatorsAllocatesNothing) {
  ShowNewValues(10);  // the first paint may size the buffers it keeps
  ShowNewValues(90);
  EXPECT_EQ(AllocationsOf([&] {
              for (int32_t value = 0; value < 100; value += 7) ShowNewValues(value);
            }),
            0);
  EXPECT_EQ(m_Indicators[1]->Position(), 98);
}

TEST_F(PaintAllocation, RepaintingTheWholeContainerAllocatesNothing) {
  RepaintWhole();
  RepaintWhole();
  EXPECT_EQ(AllocationsOf([&] {
              for (int i = 0; i < 3; ++i) RepaintWhole();
            }),
            0);
}

}  // namespace
