// The audio thread's path: it allocates nothing, and the values it sends
// spread as the units' settings say.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "plugin/RandomGenerator.h"
#include "plugin/uPlugin.h"
#include "testsupport/common/CountedAllocations.h"
#include "testsupport/vst/FakeHost.h"

namespace {

using testsupport::allocations;
using testsupport::countingAllocations;

TEST(AudioPath, ProcessingAllocatesNothing) {
  FakeHost::Instance().Reset();
  FakeHost::Instance().recording = false;
  APlugin plugin(FakeHost::Callback);
  std::vector<VstMidiEvent> records(300);
  std::vector<VstEvent*> pointers;
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].type = kVstMidiType;
    records[i].deltaFrames = static_cast<VstInt32>(i * 7 % 1500);
    records[i].midiData[0] = static_cast<char>(0x90);
    records[i].midiData[2] = 100;
  }
  std::vector<unsigned char> storage(sizeof(VstEvents) + sizeof(VstEvent*) * records.size());
  auto* list = reinterpret_cast<VstEvents*>(storage.data());
  list->numEvents = static_cast<VstInt32>(records.size());
  for (size_t i = 0; i < records.size(); ++i)
    EventEntries(*list)[i] = reinterpret_cast<VstEvent*>(&records[i]);
  std::vector<float> a(512, 0.5f), b(512, 0.25f), c(512), d(512);
  float* in[2] = {a.data(), b.data()};
  float* out[2] = {c.data(), d.data()};

  int fullest = 0;
  countingAllocations = true;
  for (int block = 0; block < 8; ++block) {
    plugin.processEvents(list);
    fullest = std::max(fullest, plugin.QueuedCount());
    plugin.processReplacing(in, out, 512);
    plugin.process(in, out, 512);
  }
  countingAllocations = false;
  EXPECT_EQ(allocations.load(), 0);
  EXPECT_EQ(fullest, 250);  // the test really ran a full queue
}

// Sends n Note Ons and gathers the values unit 1 sent.
std::vector<int> UnitOneValues(float centre, float spread, int notes) {
  FakeHost& host = FakeHost::Instance();
  host.Reset();
  APlugin plugin(FakeHost::Callback);
  flux::SetRandomSeed(12345);
  plugin.setParameter(0, centre);
  plugin.setParameter(1, spread);
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[2] = 1;
  VstEvents list{1, 0, {reinterpret_cast<VstEvent*>(&note), nullptr}};
  std::vector<int> values;
  for (int i = 0; i < notes; ++i) {
    host.sent.clear();
    plugin.processEvents(&list);
    plugin.processReplacing(nullptr, nullptr, 1);
    values.push_back(host.sent.at(0).Value());
    EXPECT_EQ(plugin.LastValue(1), values.back());
  }
  return values;
}

double ShareOf(const std::vector<int>& values, int value) {
  size_t n = 0;
  for (int v : values) n += v == value;
  return static_cast<double>(n) / static_cast<double>(values.size());
}

TEST(AudioPath, ValuesSpreadAroundTheCentreAndClamp) {
  const std::vector<int> high = UnitOneValues(1.0f, 1.0f, 4000);
  EXPECT_NEAR(ShareOf(high, 127), 0.5, 0.03);
  const std::vector<int> low = UnitOneValues(0.0f, 1.0f, 4000);
  EXPECT_NEAR(ShareOf(low, 0), 0.5, 0.03);

  const std::vector<int> middle = UnitOneValues(0.5f, 0.1f, 4000);
  int lowest = 127, highest = 0;
  double sum = 0;
  for (int v : middle) {
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
    sum += v;
  }
  EXPECT_GE(lowest, 51);   // (0.5 - 0.1) * 127 = 50.8
  EXPECT_LE(highest, 76);  // (0.5 + 0.1) * 127 = 76.2
  EXPECT_NEAR(sum / static_cast<double>(middle.size()), 63.5, 1.0);

  for (int v : UnitOneValues(0.5f, 0.0f, 50)) EXPECT_EQ(v, 64);
}

}  // namespace
