// The plug-in's queue against the literal frame-by-frame algorithm, over
// long random streams of events, blocks and parameter changes: the same host
// calls with the same bytes, the same values for the editor, the same queue
// contents and the same audio after every call.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugin/RandomGenerator.h"
#include "plugin/uPlugin.h"
#include "testsupport/plugin/LiteralCcGenerator.h"
#include "testsupport/vst/FakeHost.h"

namespace {

// What the host saw since the last look: its requests in order and the events sent with them.
struct HostLog {
  std::vector<VstInt32> opcodes;
  std::vector<SentMidi> sent;
  bool operator==(const HostLog&) const = default;
};

HostLog TakeHostLog() {
  FakeHost& host = FakeHost::Instance();
  HostLog log;
  for (const HostCall& call : host.calls) log.opcodes.push_back(call.opcode);
  log.sent.swap(host.sent);
  host.calls.clear();
  return log;
}

class EventStream {
 public:
  explicit EventStream(uint32_t seed) : m_Random(seed) {}

  // A list of random events: mostly MIDI of every kind, some not MIDI, some null.
  VstEvents* MakeList(int blockFrames) {
    const int count = Pick(0, 20) == 0 ? Pick(200, 300) : Pick(0, 12);
    m_Records.assign(static_cast<size_t>(count), VstMidiEvent{});
    m_Storage.assign(sizeof(VstEvents) + sizeof(VstEvent*) * static_cast<size_t>(count + 2), 0);
    auto* list = reinterpret_cast<VstEvents*>(m_Storage.data());
    list->numEvents = count;
    for (int i = 0; i < count; ++i) {
      VstMidiEvent& e = m_Records[static_cast<size_t>(i)];
      e.type = Pick(0, 15) == 0 ? 6 : kVstMidiType;
      e.byteSize = 24;
      e.deltaFrames = Delta(blockFrames);
      const int statuses[] = {0x90, 0x90, 0x90, 0x80, 0xB0, 0xC0, 0xE0};
      e.midiData[0] = static_cast<char>(statuses[Pick(0, 6)] | Pick(0, 15));
      e.midiData[1] = static_cast<char>(Pick(0, 127));
      const int velocities[] = {0, 0x80, 1, 64, 127, 0xFF};
      e.midiData[2] = static_cast<char>(velocities[Pick(0, 5)]);
      e.noteLength = Pick(0, 100);
      e.detune = static_cast<char>(Pick(-50, 50));
      e.reserved2 = static_cast<char>(Pick(0, 3));
      EventEntries(*list)[i] = Pick(0, 40) == 0 ? nullptr : reinterpret_cast<VstEvent*>(&e);
    }
    return list;
  }

  int Delta(int blockFrames) {
    switch (Pick(0, 9)) {
      case 0:
        return 0;
      case 1:
        return Pick(-3, -1);
      case 2:
        return -99;
      case 3:
        return Pick(blockFrames, 5000);
      default:
        return Pick(0, blockFrames > 0 ? blockFrames - 1 : 0);
    }
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_Random); }
  float Value() { return std::uniform_real_distribution<float>(-0.2f, 1.2f)(m_Random); }

 private:
  std::mt19937 m_Random;
  std::vector<VstMidiEvent> m_Records;
  std::vector<unsigned char> m_Storage;
};

void ExpectSameQueue(const APlugin& plugin, const LiteralCcGenerator& literal,
                     const std::string& where) {
  ASSERT_EQ(plugin.QueuedCount(), literal.queueCount) << where;
  for (int slot = 0; slot < LiteralCcGenerator::kSlots; ++slot) {
    ASSERT_EQ(std::memcmp(&plugin.EventSlot(slot), &literal.slots[slot], sizeof(VstMidiEvent)), 0)
        << where << ", slot " << slot;
  }
  ASSERT_EQ(plugin.LastValue(1), literal.lastValue1) << where;
  ASSERT_EQ(plugin.LastValue(2), literal.lastValue2) << where;
}

TEST(QueueDifferential, PluginMatchesTheLiteralAlgorithmOverRandomStreams) {
  size_t controlChanges = 0;
  int fullQueues = 0;
  for (uint32_t run = 0; run < 12; ++run) {
    EventStream stream(1000 + run);
    FakeHost& host = FakeHost::Instance();
    host.Reset();
    host.answers[audioMasterTempoAt] = 1200000;
    host.answers[audioMasterProcessEvents] = 1;
    APlugin plugin(FakeHost::Callback);
    flux::SetRandomSeed(run * 7919u);
    LiteralCcGenerator literal(FakeHost::Callback, plugin.getAeffect(), run * 7919u);
    TakeHostLog();  // what the constructor asked

    constexpr int kMaxFrames = 1024;
    std::vector<float> input[2], pluginOut[2], literalOut[2];
    for (int c = 0; c < 2; ++c) {
      input[c].resize(kMaxFrames);
      for (float& s : input[c]) s = static_cast<float>(stream.Pick(-1000, 1000)) / 1000.0f;
    }

    for (int step = 0; step < 400; ++step) {
      const std::string where = "run " + std::to_string(run) + " step " + std::to_string(step);
      const int frames = stream.Pick(0, 8) == 0 ? 0 : stream.Pick(1, kMaxFrames);
      if (stream.Pick(0, 3) == 0) {
        const int index = stream.Pick(-1, 6);
        plugin.setParameter(index, stream.Value());
      }
      for (int i = 0; i < 6; ++i) literal.params[i] = plugin.Param(i);

      if (stream.Pick(0, 1) == 0) {
        VstEvents* list = stream.MakeList(frames > 0 ? frames : 512);
        plugin.processEvents(list);
        const HostLog pluginLog = TakeHostLog();
        literal.ProcessEvents(list);
        ASSERT_EQ(pluginLog, TakeHostLog()) << where;
        ExpectSameQueue(plugin, literal, where + " after events");
      }

      const bool replacing = stream.Pick(0, 1) == 0;
      const bool nullAudio = stream.Pick(0, 30) == 0;
      for (int c = 0; c < 2; ++c) {
        pluginOut[c].assign(kMaxFrames, 0.25f);
        literalOut[c].assign(kMaxFrames, 0.25f);
      }
      float* in[2] = {input[0].data(), input[1].data()};
      float* outP[2] = {pluginOut[0].data(), pluginOut[1].data()};
      float* outL[2] = {literalOut[0].data(), literalOut[1].data()};
      if (replacing)
        plugin.processReplacing(nullAudio ? nullptr : in, outP, frames);
      else
        plugin.process(nullAudio ? nullptr : in, outP, frames);
      const HostLog pluginLog = TakeHostLog();
      literal.Process(nullAudio ? nullptr : in, outL, frames, replacing);
      ASSERT_EQ(pluginLog, TakeHostLog()) << where;
      controlChanges += pluginLog.sent.size();
      fullQueues += plugin.QueuedCount() == 250;
      ExpectSameQueue(plugin, literal, where + " after process");
      for (int c = 0; c < 2; ++c)
        ASSERT_EQ(
            std::memcmp(pluginOut[c].data(), literalOut[c].data(), sizeof(float) * kMaxFrames), 0)
            << where << " channel " << c;
    }
  }
  // The streams must reach the cases that matter: many sends, a full queue.
  EXPECT_GT(controlChanges, 10000u);
  EXPECT_GT(fullQueues, 0);
}

}  // namespace
