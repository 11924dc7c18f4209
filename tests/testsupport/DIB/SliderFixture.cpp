#include "testsupport/DIB/SliderFixture.h"

namespace dibtest {

SliderFixture::SliderFixture() : m_Images(ui::Create<TDIBImageList>(*m_Form)) {
  m_Form->SetBounds(kFormX, kFormY, 380, 280);
  m_Container.SetBounds(kContainerX, kContainerY, 360, 260);
  m_Backend.Pump();
}

int32_t SliderFixture::AddImage(uint16_t width, uint16_t height, ui::Color color) {
  TMemoryDIB& image = m_Images.DIBImages().Add().DIB();
  image.SetSize(width, height);
  image.Fill(color);
  return m_Images.DIBImages().Count() - 1;
}

SliderImages SliderFixture::AddSliderImages(TSliderType type) {
  const auto add = [&](uint16_t along, uint16_t across, ui::Color color) {
    return type == stHorizontal ? AddImage(along, across, color) : AddImage(across, along, color);
  };
  return {add(6, 15, ui::clMaroon), add(6, 15, ui::clNavy), add(14, 15, ui::clGray),
          add(14, 15, ui::clLime), add(19, 13, ui::clYellow)};
}

TDIBSlider& SliderFixture::AddSlider(int32_t left, int32_t top, int32_t length,
                                     const SliderImages& parts, TSliderType type) {
  TDIBSlider& slider = ui::Create<TDIBSlider>(*m_Form);
  slider.SetParent(&m_Container);
  slider.SetSliderType(type);
  slider.SetDIBImageList(&m_Images);
  slider.IndexEnd1().SetDIBIndex(parts.end1);
  slider.IndexEnd2().SetDIBIndex(parts.end2);
  slider.IndexMain().SetDIBIndex(parts.main);
  slider.IndexOverlay().SetDIBIndex(parts.overlay);
  slider.IndexPointer().SetDIBIndex(parts.pointer);
  if (type == stHorizontal) {
    slider.SetBounds(left, top, length, 1);
  } else {
    slider.SetBounds(left, top, 1, length);
  }
  m_Backend.Pump();
  return slider;
}

void SliderFixture::MoveTo(const TDIBSlider& slider, int32_t x, int32_t y) {
  m_Backend.MouseMove(CX(slider.Left() + x), CY(slider.Top() + y));
}

void SliderFixture::Down(const TDIBSlider& slider, int32_t x, int32_t y,
                         platform::MouseButton button) {
  m_Backend.MouseDown(button, CX(slider.Left() + x), CY(slider.Top() + y));
}

void SliderFixture::Up(const TDIBSlider& slider, int32_t x, int32_t y,
                       platform::MouseButton button) {
  m_Backend.MouseUp(button, CX(slider.Left() + x), CY(slider.Top() + y));
}

uint32_t SliderFixture::BackPixel(int32_t x, int32_t y) const {
  return m_Container.BackBuffer().ScanLine(y)[x] & dib::kColorBits;
}

}  // namespace dibtest
