#include <gtest/gtest.h>

#include "MidiSchedule.h"
#include "TempoMap.h"
#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

using test::at;
using test::tempoEvent;

MidiDivision ppq(uint16_t ticks) {
  MidiDivision d;
  d.ticksPerQuarter = ticks;
  return d;
}

// 480 ticks per quarter: 120 BPM for a beat, 60 BPM for a beat, then 240 BPM.
MidiTrack tempoChanges() {
  return {tempoEvent(0, 500000), tempoEvent(480, 1000000), tempoEvent(960, 250000)};
}

TEST(TempoMap, ConvertsTicksToSecondsAcrossTempoChanges) {
  const TempoMap map(ppq(480), tempoChanges());
  EXPECT_DOUBLE_EQ(map.secondsAt(0), 0.0);
  EXPECT_DOUBLE_EQ(map.secondsAt(240), 0.25);
  EXPECT_DOUBLE_EQ(map.secondsAt(480), 0.5);
  EXPECT_DOUBLE_EQ(map.secondsAt(720), 1.0);
  EXPECT_DOUBLE_EQ(map.secondsAt(960), 1.5);
  EXPECT_DOUBLE_EQ(map.secondsAt(1440), 1.75);
  EXPECT_DOUBLE_EQ(map.bpmAt(500), 60.0);
  EXPECT_DOUBLE_EQ(map.bpmAt(960), 240.0);
  EXPECT_DOUBLE_EQ(map.quarterNotesAt(1.75), 3.0);
  for (uint64_t tick : {0u, 1u, 479u, 480u, 481u, 959u, 960u, 5000u}) {
    EXPECT_EQ(map.tickAt(map.secondsAt(tick)), tick);
  }
}

TEST(TempoMap, Uses120BpmBeforeTheFirstTempoEventAndLetsTheLastOfATickWin) {
  const TempoMap map(ppq(96), {tempoEvent(192, 1000000), tempoEvent(192, 250000)});
  EXPECT_DOUBLE_EQ(map.secondsAt(96), 0.5);
  EXPECT_DOUBLE_EQ(map.secondsAt(192 + 96), 1.25);
  const TempoMap constant = TempoMap::constant(ppq(96), 90.0);
  EXPECT_NEAR(constant.secondsAt(96), 60.0 / 90.0, 1e-6);
}

TEST(TempoMap, CountsSmpteTicksInRealTime) {
  MidiDivision smpte;
  smpte.ticksPerQuarter = 0;
  smpte.smpteFramesPerSecond = 25;
  smpte.ticksPerFrame = 40;
  const TempoMap map(smpte, tempoChanges());
  EXPECT_DOUBLE_EQ(map.secondsAt(1000), 1.0);
  EXPECT_DOUBLE_EQ(map.secondsAt(2500), 2.5);
}

TEST(MidiSchedule, PlacesEventsOnFramesThroughTheTempoMap) {
  const TempoMap map(ppq(480), tempoChanges());
  MidiTrack merged = tempoChanges();
  merged.push_back(at(480, {0x90, 60, 100}));
  merged.push_back(at(720, {0x80, 60, 0}));
  merged.push_back(at(1440, {0xF0, 0x01, 0xF7}));  // not a channel message: left out
  const MidiSchedule schedule(merged, map, 44100.0);
  ASSERT_EQ(schedule.events().size(), 2u);
  EXPECT_EQ(schedule.events()[0].frame, 22050);
  EXPECT_EQ(schedule.events()[1].frame, 44100);
  EXPECT_EQ(schedule.length(), 44101);
}

TEST(MidiSchedule, HandsOutEachEventOnceInTheBlockThatHoldsIt) {
  std::vector<ScheduledMidi> events;
  for (int64_t frame : {0, 511, 512, 513, 1023, 1024, 2000})
    events.push_back({frame, {0x90, 1, 1}});
  const MidiSchedule schedule(events);
  std::vector<std::pair<int64_t, int64_t>> seen;  // block start, offset
  for (int64_t start = 0; start < 2048; start += 512) {
    for (const ScheduledMidi& e : schedule.block(start, 512))
      seen.push_back({start, e.frame - start});
  }
  const std::vector<std::pair<int64_t, int64_t>> expected = {
      {0, 0}, {0, 511}, {512, 0}, {512, 1}, {512, 511}, {1024, 0}, {1536, 464}};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(schedule.block(2048, 512).empty());
}

TEST(MidiSchedule, OffsetsAcrossATempoChangeMidBlock) {
  // 120 BPM for one quarter (22050 frames), then 60 BPM: a note half a beat into
  // the slow part sits 22050 + 22050 frames in, frame 44100 = block 86, offset 68.
  const MidiTrack merged = {tempoEvent(0, 500000), tempoEvent(480, 1000000),
                            at(720, {0x90, 62, 80})};
  const MidiSchedule schedule(merged, TempoMap(ppq(480), merged), 44100.0);
  const auto block = schedule.block(86 * 512, 512);
  ASSERT_EQ(block.size(), 1u);
  EXPECT_EQ(block[0].frame - 86 * 512, 68);
}

}  // namespace
}  // namespace fluxhost
