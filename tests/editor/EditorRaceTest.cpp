// A host that plays automation sets parameters on its audio thread while its user-interface
// thread opens, idles and closes the editor. The window is made and destroyed on the one
// thread and only ever read there: under ThreadSanitizer no data race may show, and in every
// build the window shows the last value set once both threads are done.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "testsupport/editor/EditorHost.h"

namespace {

constexpr int kCycles = 1000;  // each open reads the whole layout and paints the window

TEST(EditorRace, SetParameterOnTheAudioThreadAgainstOpenIdleAndCloseOnTheInterface) {
  editortest::EditorHost host;
  host.Host().recording = false;  // the host allocates nothing while the threads run
  std::atomic<bool> running{true};
  std::thread audio([&] {
    for (int i = 0; running; ++i) {
      host.SetParameter(i % kNumParams, static_cast<float>(i % 128) / 127.0f);
      if (i % 64 == 0) host.PlayNote();
    }
  });
  int opened = 0;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    opened += static_cast<int>(host.Open());
    if (cycle % 8 == 0) host.backend.Advance(50);  // a timer tick now and then
    host.Idle();
    host.Close();
  }
  running = false;
  audio.join();

  EXPECT_EQ(opened, kCycles);
  host.SetParameter(1, 0.25f);
  ASSERT_EQ(host.Open(), 1);
  EXPECT_EQ(host.Window().par1.Position(), 32);
}

}  // namespace
