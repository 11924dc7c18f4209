#include <gtest/gtest.h>

#include "MidiSchedule.h"
#include "TempoMap.h"
#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

using test::At;
using test::TempoEvent;

MidiDivision Ppq(uint16_t ticks) {
  MidiDivision d;
  d.ticksPerQuarter = ticks;
  return d;
}

// 480 ticks per quarter: 120 BPM for a beat, 60 BPM for a beat, then 240 BPM.
MidiTrack TempoChanges() {
  return {TempoEvent(0, 500000), TempoEvent(480, 1000000), TempoEvent(960, 250000)};
}

TEST(TempoMap, ConvertsTicksToSecondsAcrossTempoChanges) {
  const TempoMap map(Ppq(480), TempoChanges());
  EXPECT_DOUBLE_EQ(map.SecondsAt(0), 0.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(240), 0.25);
  EXPECT_DOUBLE_EQ(map.SecondsAt(480), 0.5);
  EXPECT_DOUBLE_EQ(map.SecondsAt(720), 1.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(960), 1.5);
  EXPECT_DOUBLE_EQ(map.SecondsAt(1440), 1.75);
  EXPECT_DOUBLE_EQ(map.BpmAt(500), 60.0);
  EXPECT_DOUBLE_EQ(map.BpmAt(960), 240.0);
  EXPECT_DOUBLE_EQ(map.QuarterNotesAt(1.75), 3.0);
  for (uint64_t tick : {0u, 1u, 479u, 480u, 481u, 959u, 960u, 5000u}) {
    EXPECT_EQ(map.TickAt(map.SecondsAt(tick)), tick);
  }
}

TEST(TempoMap, Uses120BpmBeforeTheFirstTempoEventAndLetsTheLastOfATickWin) {
  const TempoMap map(Ppq(96), {TempoEvent(192, 1000000), TempoEvent(192, 250000)});
  EXPECT_DOUBLE_EQ(map.SecondsAt(96), 0.5);
  EXPECT_DOUBLE_EQ(map.SecondsAt(192 + 96), 1.25);
  const TempoMap constant = TempoMap::Constant(Ppq(96), 90.0);
  EXPECT_NEAR(constant.SecondsAt(96), 60.0 / 90.0, 1e-6);
}

TEST(TempoMap, CountsSmpteTicksInRealTime) {
  MidiDivision smpte;
  smpte.ticksPerQuarter = 0;
  smpte.smpteFramesPerSecond = 25;
  smpte.ticksPerFrame = 40;
  const TempoMap map(smpte, TempoChanges());
  EXPECT_DOUBLE_EQ(map.SecondsAt(1000), 1.0);
  EXPECT_DOUBLE_EQ(map.SecondsAt(2500), 2.5);
}

TEST(MidiSchedule, PlacesEventsOnFramesThroughTheTempoMap) {
  const TempoMap map(Ppq(480), TempoChanges());
  MidiTrack merged = TempoChanges();
  merged.push_back(At(480, {0x90, 60, 100}));
  merged.push_back(At(720, {0x80, 60, 0}));
  merged.push_back(At(1440, {0xF0, 0x01, 0xF7}));  // not a channel message: left out
  const MidiSchedule schedule(merged, map, 44100.0);
  ASSERT_EQ(schedule.Events().size(), 2u);
  EXPECT_EQ(schedule.Events()[0].frame, 22050);
  EXPECT_EQ(schedule.Events()[1].frame, 44100);
  EXPECT_EQ(schedule.Length(), 44101);
}

TEST(MidiSchedule, HandsOutEachEventOnceInTheBlockThatHoldsIt) {
  std::vector<ScheduledMidi> events;
  for (int64_t frame : {0, 511, 512, 513, 1023, 1024, 2000})
    events.push_back({frame, {0x90, 1, 1}});
  const MidiSchedule schedule(events);
  std::vector<std::pair<int64_t, int64_t>> seen;  // block start, offset
  for (int64_t start = 0; start < 2048; start += 512) {
    for (const ScheduledMidi& e : schedule.Block(start, 512))
      seen.push_back({start, e.frame - start});
  }
  const std::vector<std::pair<int64_t, int64_t>> expected = {
      {0, 0}, {0, 511}, {512, 0}, {512, 1}, {512, 511}, {1024, 0}, {1536, 464}};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(schedule.Block(2048, 512).empty());
}

TEST(MidiSchedule, OffsetsAcrossATempoChangeMidBlock) {
  // 120 BPM for one quarter (22050 frames), then 60 BPM: a note half a beat into
  // the slow part sits 22050 + 22050 frames in, frame 44100 = block 86, offset 68.
  const MidiTrack merged = {TempoEvent(0, 500000), TempoEvent(480, 1000000),
                            At(720, {0x90, 62, 80})};
  const MidiSchedule schedule(merged, TempoMap(Ppq(480), merged), 44100.0);
  const auto block = schedule.Block(86 * 512, 512);
  ASSERT_EQ(block.size(), 1u);
  EXPECT_EQ(block[0].frame - 86 * 512, 68);
}

}  // namespace
}  // namespace fluxhost
