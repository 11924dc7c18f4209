// The audio thread and the user-interface thread on one instance at once, as hosts do: under
// ThreadSanitizer no data race may show, and in every build, whatever the interleaving, every
// note sends two whole groups of 16 Control Changes made from settings that were really made.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "plugin/uPlugin.h"
#include "testsupport/vst/FakeHost.h"

namespace {

// Every value either thread gives parameter k is n / 127 with n in its own band, so that a
// controller or value sent tells which settings it came from. With the centres and spreads
// below, unit 1 can only send values 0..31 and unit 2 only 64..95.
struct Band {
  int low, high;
  bool Holds(int n) const { return low <= n && n <= high; }
};
constexpr Band kBands[kNumParams] = {{8, 23}, {0, 8}, {32, 63}, {72, 87}, {0, 8}, {96, 127}};
constexpr Band kUnitValues[2] = {{0, 31}, {64, 95}};

float Setting(int index, int step) {
  const Band band = kBands[index];
  return static_cast<float>(band.low + step % (band.high - band.low + 1)) / 127.0f;
}

// Whether a parameter value read back is one of the settings made for it.
bool IsSetting(int index, float value) {
  const auto n = static_cast<int>(std::lround(value * 127.0f));
  return kBands[index].Holds(n) && value == static_cast<float>(n) / 127.0f;
}

TEST(Threads, EveryNoteSendsWholeGroupsFromRealSettingsWhileBothThreadsChangeThem) {
  FakeHost& host = FakeHost::Instance();
  host.Reset();
  APlugin plugin(FakeHost::Callback);
  for (int program = kNumPrograms - 1; program >= 0; --program) {
    plugin.setProgram(program);
    for (int index = 0; index < kNumParams; ++index)
      plugin.setParameter(index, Setting(index, program));
  }
  host.calls.clear();

  constexpr int kBlocks = 2000;
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
    for (int i = 0; i < kBlocks; ++i) {
      plugin.processEvents(&list);
      plugin.processReplacing(in, out, 64);
      plugin.setParameter(i % kNumParams, Setting(i % kNumParams, i));  // automation
    }
    running = false;
  });
  // The user-interface side keeps going at least until the audio side ends.
  int strangeParameters = 0, strangeValues = 0;
  for (int i = 0; running || i < 1000; ++i) {
    const int index = i % kNumParams;
    plugin.setParameter(index, Setting(index, i * 7));
    if (i % 50 == 0) plugin.setProgram(i % kNumPrograms);
    strangeParameters += !IsSetting(index, plugin.getParameter(index));
    strangeValues += !kUnitValues[0].Holds(plugin.LastValue(1));
    const int32_t second = plugin.LastValue(2);
    strangeValues += second != 0 && !kUnitValues[1].Holds(second);  // 0 before the first note
  }
  audio.join();
  EXPECT_EQ(strangeParameters, 0);
  EXPECT_EQ(strangeValues, 0);

  const std::vector<SentMidi>& sent = host.sent;
  ASSERT_EQ(sent.size(), size_t{kBlocks} * 32);
  for (size_t group = 0; group < sent.size() / 16; ++group) {
    const int unit = static_cast<int>(group % 2);
    const SentMidi& first = sent[group * 16];
    ASSERT_TRUE(kBands[unit * 3 + 2].Holds(first.Controller()))
        << "group " << group << ": controller " << first.Controller();
    ASSERT_TRUE(kUnitValues[unit].Holds(first.Value()))
        << "group " << group << ": value " << first.Value();
    for (int channel = 0; channel < 16; ++channel) {
      const SentMidi& cc = sent[group * 16 + static_cast<size_t>(channel)];
      ASSERT_EQ(cc.Status(), 0xB0 + channel) << "group " << group;
      ASSERT_EQ(cc.Controller(), first.Controller()) << "group " << group;
      ASSERT_EQ(cc.Value(), first.Value()) << "group " << group;
      ASSERT_EQ(cc.deltaFrames, 0) << "group " << group;
    }
  }
  EXPECT_EQ(plugin.LastValue(1), sent[sent.size() - 32].Value());
  EXPECT_EQ(plugin.LastValue(2), sent.back().Value());
}

}  // namespace
