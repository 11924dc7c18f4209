// The audio thread and the user-interface thread on one instance at once,
// as hosts do: run under ThreadSanitizer, no data race may show.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "plugin/uPlugin.h"

namespace {

VstIntPtr VSTCALLBACK silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(Threads, ParametersProgramsAndAudioRunConcurrently) {
  APlugin plugin(silentHost);
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
  int reads = 0;
  while (running) {
    plugin.setParameter(reads % 6, static_cast<float>(reads % 100) / 100.0f);
    if (reads % 50 == 0) plugin.setProgram(reads % 16);
    reads += plugin.lastValue(1) >= 0 && plugin.lastValue(2) <= 127;
    (void)plugin.getParameter(reads % 6);
  }
  audio.join();
  EXPECT_GT(reads, 0);
}

}  // namespace
