// Sliders of both orientations composed by their container, compared pixel for pixel with
// committed PNG files (see GoldenFrame.h): with and without end caps and overlay, at several
// positions, one being dragged, one disabled, and a tiled indicator. The images have marked
// ends and edges, so that a misplaced, wrongly stretched or wrongly tiled part shows.

#include <gtest/gtest.h>

#include <functional>

#include "testsupport/DIB/GoldenFrame.h"
#include "testsupport/DIB/SliderFixture.h"

namespace dibtest {
namespace {

class SliderGolden : public SliderFixture {
 protected:
  SliderGolden() { m_Container.SetColor(ui::clTeal); }

  // An image drawn by pattern(along, across) with the track running along x (horizontal) or
  // y (vertical).
  int32_t AddPattern(TSliderType type, uint16_t along, uint16_t across,
                     const std::function<ui::Color(int32_t, int32_t)>& pattern) {
    const bool horizontal = type == stHorizontal;
    const int32_t index =
        AddImage(horizontal ? along : across, horizontal ? across : along, ui::clBlack);
    TMemoryDIB& image = m_Images.DIBImages().Items(index).DIB();
    for (int32_t a = 0; a < along; ++a) {
      for (int32_t c = 0; c < across; ++c) {
        image.FillRect(pattern(a, c), horizontal ? a : c, horizontal ? c : a, 1, 1);
      }
    }
    return index;
  }

  // Caps with a white outer edge, a grey track with white ends and dark edges, a lime overlay
  // with green edges, a yellow pointer framed in black with a red centre line.
  SliderImages Parts(TSliderType type) {
    const auto edged = [](ui::Color inside, ui::Color edge, int32_t last) {
      return [=](int32_t, int32_t c) { return c == 0 || c == last ? edge : inside; };
    };
    return {AddPattern(type, 6, 15,
                       [](int32_t a, int32_t) { return a == 0 ? ui::clWhite : ui::clMaroon; }),
            AddPattern(type, 6, 15,
                       [](int32_t a, int32_t) { return a == 5 ? ui::clWhite : ui::clNavy; }),
            AddPattern(type, 14, 15,
                       [](int32_t a, int32_t c) {
                         return a == 0 || a == 13   ? ui::clWhite
                                : c == 0 || c == 14 ? ui::Color(0x404040)
                                                    : ui::clGray;
                       }),
            AddPattern(type, 14, 15, edged(ui::clLime, ui::clGreen, 14)),
            AddPattern(type, 19, 13, [](int32_t a, int32_t c) {
              return a == 0 || a == 18 || c == 0 || c == 12 ? ui::clBlack
                     : a == 9                               ? ui::clRed
                                                            : ui::clYellow;
            })};
  }

  // Eight sliders along `type`, `step` pixels apart across: caps and overlay at 0, 64 and
  // 127; without caps, with an opaque overlay inset by 3; the same dragged (PointerOpacityHigh
  // 255 against Low 96 beside it); disabled; and a tiled indicator.
  void Compose(TSliderType type) {
    const SliderImages parts = Parts(type);
    const int32_t square = AddPattern(type, 4, 4, [](int32_t a, int32_t c) {
      return a == 0 && c == 0 ? ui::clWhite : ui::clRed;
    });
    const int32_t marker = AddPattern(type, 4, 4, [](int32_t, int32_t) { return ui::clBlue; });
    const auto place = [&](int32_t slot, const SliderImages& linked, int32_t position) {
      const int32_t across = 4 + slot * 20;
      TDIBSlider& s = type == stHorizontal ? AddSlider(4, across, 169, linked, type)
                                           : AddSlider(across, 4, 169, linked, type);
      s.SetMax(127);
      s.SetPosition(position);
      return &s;
    };
    place(0, parts, 0);
    place(1, parts, 64);
    place(2, parts, 127);
    const SliderImages bare{-1, -1, parts.main, parts.overlay, parts.pointer};
    TDIBSlider* held = place(4, bare, 40);
    for (TDIBSlider* s : {place(3, bare, 40), held}) {
      s->SetOverlayOpacity(255);
      s->SetOverlayBorderX(3);
      s->SetOverlayBorderY(3);
      s->SetPointerOpacityLow(96);
    }
    place(5, parts, 100)->SetEnabled(false);
    TDIBSlider& indicator = *place(6, {-1, -1, square, -1, marker}, 50);
    indicator.SetStretchBackground(false);
    const dib::InclusiveRect& pointer = held->PointerRect();
    Down(*held, pointer.Left + 2, pointer.Top + 2);
    ASSERT_TRUE(held->Dragging());
    m_Backend.Pump();
  }
};

TEST_F(SliderGolden, HorizontalSliders) {
  m_Form->SetBounds(kFormX, kFormY, 200, 160);
  m_Container.SetBounds(kContainerX, kContainerY, 180, 144);
  Compose(stHorizontal);
  ExpectFrameMatchesGolden(m_Backend, m_Form->Handle(), "slider_horizontal");
}

TEST_F(SliderGolden, VerticalSliders) {
  m_Form->SetBounds(kFormX, kFormY, 164, 200);
  m_Container.SetBounds(kContainerX, kContainerY, 144, 180);
  Compose(stVertical);
  ExpectFrameMatchesGolden(m_Backend, m_Form->Handle(), "slider_vertical");
}

}  // namespace
}  // namespace dibtest
