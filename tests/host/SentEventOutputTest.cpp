#include "SentEventOutput.h"

#include <gtest/gtest.h>

#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

SentEvent ControlChange(int64_t block, int32_t deltaFrames, uint8_t controller) {
  SentEvent e;
  e.block = block;
  e.blockStart = block * 512;
  e.deltaFrames = deltaFrames;
  e.midi[0] = 0xB0;
  e.midi[1] = controller;
  e.midi[2] = 0x80 | 1;  // a data byte out of range is masked
  return e;
}

// At 96 kHz, 120 BPM and 480 ticks per quarter a tick is 100 frames; from tick
// 960 (frame 96000) on, at 60 BPM, 200 frames.
TEST(SentEventMidiFile, WritesEventsInTimeOrderWhateverOrderTheyCameIn) {
  test::ScratchDir dir;
  MidiDivision division;
  division.ticksPerQuarter = 480;
  const TempoMap tempo(division, {test::TempoEvent(0, 500000), test::TempoEvent(960, 1000000)});
  SentEvent sysex = ControlChange(2, 0, 0);
  sysex.type = 6;
  const SentEvent sent[] = {
      ControlChange(0, 300, 1),     // tick 3
      ControlChange(0, 100, 2),     // tick 1: earlier than the one before it
      ControlChange(1, 200000, 3),  // frame 200512, tick 1483: long after later blocks
      ControlChange(2, -5, 4),      // before its block: at its start, tick 10
      sysex,                        // not MIDI: left out
      ControlChange(2, 0, 5),       // tick 10 as well, so after the one sent before it
      ControlChange(187, 256, 6),   // frame 96000: tick 960, after the tempo change there
      ControlChange(200, 0, 7),     // frame 102400, tick 992
  };
  const std::string path = dir.File("sent.mid");
  SentEventMidiFile file(path, tempo, 96000.0);
  for (const SentEvent& e : sent) file.Add(e);
  file.Finish();

  const MidiFile back = ReadMidiFile(path);
  EXPECT_EQ(back.format, 0);
  ASSERT_EQ(back.tracks.size(), 1u);
  std::vector<std::pair<uint64_t, int>> order;  // tick, controller or -1 for tempo
  for (const MidiEvent& e : back.tracks[0]) {
    if (e.IsChannelMessage()) {
      EXPECT_EQ(e.bytes, (std::vector<uint8_t>{0xB0, e.bytes[1], 1}));
      order.emplace_back(e.tick, e.bytes[1]);
    } else if (e.IsMeta(kMetaTempo)) {
      order.emplace_back(e.tick, -1);
    }
  }
  const std::vector<std::pair<uint64_t, int>> expected = {
      {0, -1}, {1, 2}, {3, 1}, {10, 4}, {10, 5}, {960, -1}, {960, 6}, {992, 7}, {1483, 3}};
  EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace fluxhost
