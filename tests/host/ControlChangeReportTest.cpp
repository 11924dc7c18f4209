#include "ControlChangeReport.h"

#include <gtest/gtest.h>

namespace fluxhost {
namespace {

SentEvent ControlChange(int64_t block, int channel, int controller, int value) {
  SentEvent e;
  e.block = block;
  e.midi[0] = static_cast<uint8_t>(0xB0 | channel);
  e.midi[1] = static_cast<uint8_t>(controller);
  e.midi[2] = static_cast<uint8_t>(value);
  return e;
}

TEST(ControlChangeReport, CreditsControlChangesToTheLastNoteOnOfTheirBlockOrBefore) {
  // Blocks of 512: Note Ons in blocks 0 and 2, a Note On of velocity 0 in block 1.
  const MidiSchedule input(
      {{10, {0x90, 60, 100}}, {600, {0x90, 62, 0}}, {1100, {0x91, 64, 90}}, {1200, {0x80, 60, 0}}});
  ControlChangeReport report(input, 512);
  report.Add(ControlChange(-1, 0, 74, 1));  // before any note: left out
  report.Add(ControlChange(0, 0, 74, 10));
  report.Add(ControlChange(1, 1, 74, 10));  // still the first note's
  SentEvent noteOn = ControlChange(2, 0, 74, 99);
  noteOn.midi[0] = 0x90;  // not a Control Change
  report.Add(noteOn);
  report.Add(ControlChange(2, 0, 74, 20));
  report.Add(ControlChange(9, 1, 74, 30));

  const auto& notes = report.Notes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].frame, 10);
  EXPECT_EQ(notes[0].key, 60);
  ASSERT_EQ(notes[0].units.size(), 1u);
  EXPECT_EQ(notes[0].units[0].channels, 2);
  EXPECT_TRUE(notes[0].units[0].sameValue);
  EXPECT_EQ(notes[1].key, 64);
  EXPECT_EQ(notes[1].velocity, 90);
  ASSERT_EQ(notes[1].units.size(), 1u);
  EXPECT_EQ(notes[1].units[0].value, 20);
  EXPECT_EQ(notes[1].units[0].channels, 2);
  EXPECT_FALSE(notes[1].units[0].sameValue);
}

TEST(ControlChangeReport, GroupsUnitsByControllerAndCountsThoseBeyondTheKeptOnes) {
  const MidiSchedule input(std::vector<ScheduledMidi>{{0, {0x90, 60, 100}}});
  ControlChangeReport report(input, 512);
  for (int channel = 0; channel < 16; ++channel) report.Add(ControlChange(0, channel, 74, 64));
  report.Add(ControlChange(0, 0, 10, 5));
  report.Add(ControlChange(0, 1, 10, 6));
  report.Add(ControlChange(0, 0, 74, 1));  // a third unit
  report.Add(ControlChange(0, 1, 74, 1));  // the same third unit
  report.Add(ControlChange(0, 1, 74, 1));  // a channel again: a fourth
  report.Add(ControlChange(0, 2, 74, 1));

  const NoteOutput& note = report.Notes().at(0);
  ASSERT_EQ(note.units.size(), ControlChangeReport::kKeptUnits);
  EXPECT_EQ(note.units[0].controller, 74);
  EXPECT_EQ(note.units[0].channels, 16);
  EXPECT_TRUE(note.units[0].sameValue);
  EXPECT_EQ(note.units[1].controller, 10);
  EXPECT_EQ(note.units[1].value, 5);
  EXPECT_EQ(note.units[1].channels, 2);
  EXPECT_FALSE(note.units[1].sameValue);
  EXPECT_EQ(note.unitsLeftOut, 2);
}

}  // namespace
}  // namespace fluxhost
