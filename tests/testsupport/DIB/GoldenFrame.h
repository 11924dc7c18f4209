#pragma once
// A window's presented frame compared pixel for pixel (mask bytes aside) with a committed PNG
// file of tests/DIB/golden. Set FLUX_UPDATE_GOLDEN=1 to rewrite the files after a deliberate
// change, then look at them.

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/HeadlessBackend.h"
#include "testsupport/GoldenPicture.h"

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
  EXPECT_TRUE(
      testsupport::MatchesGoldenFile(shown, std::string(FLUX_GOLDEN_DIR) + "/" + name + ".png"));
}

}  // namespace dibtest
