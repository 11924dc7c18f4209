// The audio thread and the user-interface thread on one instance at once,
// as hosts do: run under ThreadSanitizer, no data race may show.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "plugin/uPlugin.h"
#include "vst/FakeHost.h"

namespace {

TEST(Threads, ParametersProgramsAndAudioRunConcurrently) {
  FakeHost::instance().reset();
  APlugin plugin(FakeHost::callback);
  std::atomic<bool> running{true};
  std::thread audio([&] {
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.midiData[0] = static_cast<char>(0x90);
    note.midiData[2] = 100;
    VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&note), nullptr}};
    std::vector<float> a(64, 0.5f), b(64);
    float* in[2] = {a.data(), a.data()};
    float* out[2] = {b.data(), b.data()};
    for (int i = 0; i < 2000; ++i) {
      plugin.processEvents(&list);
      plugin.processReplacing(in, out, 64);
      plugin.setParameter(i % 6, 0.25f);
    }
    running = false;
  });
  // The user-interface side keeps going at least until the audio side ends.
  int32_t seen = 0;
  for (int i = 0; running || i < 1000; ++i) {
    plugin.setParameter(i % 6, static_cast<float>(i % 100) / 100.0f);
    if (i % 50 == 0) plugin.setProgram(i % 16);
    seen = std::max({seen, plugin.lastValue(1), plugin.lastValue(2)});
    (void)plugin.getParameter(i % 6);
  }
  audio.join();
  EXPECT_LE(seen, 127);
}

}  // namespace
