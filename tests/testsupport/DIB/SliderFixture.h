#pragma once
// Skinned sliders in a container on the headless backend, built from plain images of distinct
// colours, for the slider tests and pictures.

#include <cstdint>

#include "DIB/cDIBImageList.h"
#include "DIB/cDIBSlider.h"
#include "testsupport/DIB/ContainerFixture.h"

namespace dibtest {

// The images of a slider: end caps, track, overlay and pointer, each of one colour, made for
// one orientation (a vertical set is the horizontal one turned a quarter).
struct SliderImages {
  int32_t end1, end2, main, overlay, pointer;
};

class SliderFixture : public ContainerFixture {
 protected:
  SliderFixture();

  // An opaque image of one colour; its index.
  int32_t AddImage(uint16_t width, uint16_t height, ui::Color color);
  // The editor's parameter slider's shapes: caps 6 x 15, track 14 x 15, overlay 14 x 15,
  // pointer 19 x 13; vertical: the same turned.
  SliderImages AddSliderImages(TSliderType type);
  // A slider at (left, top) of the container with the images linked (-1: none) and its width
  // (height when vertical) along the track; AutoSize sets the other side.
  TDIBSlider& AddSlider(int32_t left, int32_t top, int32_t length, const SliderImages& images,
                        TSliderType type = stHorizontal);

  // The mouse at a point of the slider (the left button unless told).
  void MoveTo(const TDIBSlider& slider, int32_t x, int32_t y);
  void Down(const TDIBSlider& slider, int32_t x, int32_t y,
            platform::MouseButton button = platform::MouseButton::Left);
  void Up(const TDIBSlider& slider, int32_t x, int32_t y,
          platform::MouseButton button = platform::MouseButton::Left);
  // A pixel of the container's back buffer, without its mask byte.
  uint32_t BackPixel(int32_t x, int32_t y) const;

  TDIBImageList& m_Images;
};

}  // namespace dibtest
