#pragma once
// A window's presented frame compared pixel for pixel (mask bytes aside) with a committed PNG
// file of tests/DIB/golden. Set FLUX_UPDATE_GOLDEN=1 to rewrite the files after a deliberate
// change, then look at them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/headless/HeadlessBackend.h"
#include "png/Png.h"

namespace dibtest {

inline void ExpectFrameMatchesGolden(const platform::HeadlessBackend& backend, void* window,
                                     const std::string& name) {
  const platform::Frame* frame = backend.FrameOf(window);
  ASSERT_NE(frame, nullptr);
  png::Picture shown{frame->width, frame->height, {}};
  for (int32_t y = 0; y < frame->height; ++y) {
    for (int32_t x = 0; x < frame->width; ++x)
      shown.pixels.push_back(frame->Pixel(x, y) & 0xFFFFFF);
  }
  const std::string golden = std::string(FLUX_GOLDEN_DIR) + "/" + name + ".png";
  if (std::getenv("FLUX_UPDATE_GOLDEN")) png::WriteFile(golden, shown);
  if (shown != png::ReadFile(golden)) {
    png::WriteFile(name + "_actual.png", shown);
    FAIL() << "frame differs from " << golden << "; see " << name << "_actual.png";
  }
}

}  // namespace dibtest
