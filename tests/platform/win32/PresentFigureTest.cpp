// The figure win32_present_full_vs_memcpy: putting the whole 432 × 135 editor window on the
// screen (SetDIBitsToDevice, flushed) against a memcpy of the same pixels, medians of the same
// run, printed as "ratio win32_present_full_vs_memcpy <value>". The pixels timed must be the
// pixels shown.

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <random>
#include <vector>

#include "platform/NativeBackend.h"
#include "testsupport/platform/win32/DesktopHost.h"

namespace {

constexpr int32_t kWidth = 432, kHeight = 135;
constexpr int kSamples = 31;
constexpr int kRepeats = 20;  // per sample: a single memcpy is below the clock's grain

class SilentClient final : public platform::PeerClient {};

template <typename Work>
double MedianSeconds(Work work) {
  std::vector<double> samples;
  for (int sample = 0; sample < kSamples; ++sample) {
    const auto start = std::chrono::steady_clock::now();
    for (int repeat = 0; repeat < kRepeats; ++repeat) work();
    samples.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
  return samples[kSamples / 2];
}

TEST(Win32PresentFigure, WholeWindowAgainstMemcpy) {
  const win32test::HostWindow host = win32test::OpenHost();
  SilentClient client;
  auto peer = platform::NativeBackend().CreateChildWindow(host->NativeHandle(), client);
  ASSERT_TRUE(peer);
  peer->SetBounds({0, 0, kWidth, kHeight});
  peer->SetVisible(true);
  win32test::PumpFor(*host, 30);

  std::mt19937 random(17);
  std::vector<uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (uint32_t& p : pixels) p = random() | 0xFF000000u;
  std::vector<uint32_t> copy(pixels.size());
  const flux::PixelView view{pixels.data(), kWidth, kHeight};

  const double present = MedianSeconds([&] {
    peer->Present(view, {0, 0, kWidth, kHeight});
    GdiFlush();
  });
  const double memcpy = MedianSeconds([&] {
    std::memcpy(copy.data(), pixels.data(), pixels.size() * sizeof pixels[0]);
    asm volatile("" : : "r"(copy.data()) : "memory");  // the copy is used
  });

  const png::Picture shown = win32test::ShownBy(*host, static_cast<HWND>(peer->NativeHandle()));
  ASSERT_EQ(shown.width, kWidth);
  ASSERT_EQ(shown.height, kHeight);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint32_t expected =
          pixels[static_cast<std::size_t>(kHeight - 1 - y) * kWidth + static_cast<std::size_t>(x)];
      ASSERT_EQ(shown.Pixel(x, y), expected & 0xFFFFFF) << x << ", " << y;
    }
  }
  ASSERT_GT(memcpy, 0.0);
  const double ratio = present / memcpy;
  std::cout << "ratio win32_present_full_vs_memcpy " << ratio << std::endl;
  ::testing::Test::RecordProperty("win32_present_full_vs_memcpy", std::to_string(ratio));
}

}  // namespace
