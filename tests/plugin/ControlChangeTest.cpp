// What the plug-in is for, seen from the host: Note Ons that fall due make
// both units send a Control Change on all 16 channels; audio passes through.

#include <cmath>
#include <cstring>
#include <limits>

#include "testsupport/plugin/PluginTestBase.h"

namespace {

using ControlChanges = PluginTestBase;

void ExpectUnitGroup(const std::vector<SentMidi>& sent, size_t first, int controller, int value) {
  ASSERT_GE(sent.size(), first + 16);
  for (int channel = 0; channel < 16; ++channel) {
    const SentMidi& cc = sent[first + static_cast<size_t>(channel)];
    EXPECT_EQ(cc.Status(), 0xB0 + channel);
    EXPECT_EQ(cc.Controller(), controller);
    EXPECT_EQ(cc.Value(), value);
    EXPECT_EQ(cc.deltaFrames, 0);
    EXPECT_EQ(cc.reserved1, 99);
  }
}

TEST_F(ControlChanges, FirstNoteSendsControllers14And15WithValue64) {
  MidiList notes;
  notes.Add(0x90, 60, 100, 0);
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, notes.List()), 1);
  EXPECT_TRUE(Sent().empty());  // nothing is sent before the block is processed
  RunBlock(512);
  ASSERT_EQ(Sent().size(), 32u);
  ExpectUnitGroup(Sent(), 0, 14, 64);
  ExpectUnitGroup(Sent(), 16, 15, 64);
  RunBlock(512);
  EXPECT_EQ(Sent().size(), 32u);  // the slot was freed
}

TEST_F(ControlChanges, OnlyNoteOnsWithVelocityTrigger) {
  MidiList events;
  events
      .Add(0x90, 60, 0, 0)        // velocity 0 is a Note Off
      .Add(0x90, 60, 0x80, 0)     // only the low seven bits count
      .Add(0x80, 60, 64, 0)       // Note Off
      .Add(0xB0, 7, 100, 0)       // Control Change
      .Add(0xC0, 5, 0, 0)         // Program Change
      .Add(0x90, 60, 100, 0, 6);  // not a MIDI record
  Dispatch(effProcessEvents, 0, 0, events.List());
  RunBlock(64);
  EXPECT_TRUE(Sent().empty());

  MidiList drum;
  drum.Add(0x99, 36, 1, 0);  // channel 10 triggers like channel 1
  Dispatch(effProcessEvents, 0, 0, drum.List());
  RunBlock(64);
  EXPECT_EQ(Sent().size(), 32u);
}

TEST_F(ControlChanges, EventsFallDueCountingFramesAcrossBlocks) {
  // Output samples are written frame by frame after each frame's pass, so
  // the number already written tells the frame at which a send happened.
  FakeHost::Instance().framePosition = [&] {
    int frame = 0;
    while (frame < static_cast<int>(m_Out[0].size()) &&
           m_Out[0][static_cast<size_t>(frame)] == 0.5f)
      ++frame;
    return frame;
  };
  MidiList late;
  late.Add(0x90, 60, 100, 700);
  Dispatch(effProcessEvents, 0, 0, late.List());
  RunBlock(512);
  EXPECT_TRUE(Sent().empty());
  RunBlock(512);
  ASSERT_EQ(Sent().size(), 32u);
  EXPECT_EQ(Sent()[0].atFrame, 187);  // the 700th frame counted from the first block

  Sent().clear();
  MidiList two;
  two.Add(0x90, 60, 100, 0).Add(0x90, 62, 100, 100);
  Dispatch(effProcessEvents, 0, 0, two.List());
  RunBlock(512);
  ASSERT_EQ(Sent().size(), 64u);
  EXPECT_EQ(Sent()[0].atFrame, 0);
  EXPECT_EQ(Sent()[32].atFrame, 99);
  for (const SentMidi& cc : Sent()) EXPECT_EQ(cc.deltaFrames, 0);
}

TEST_F(ControlChanges, TheQueueHolds250EventsAndDropsTheRest) {
  MidiList many;
  for (int i = 0; i < 251; ++i) many.Add(0x90, 60, 100, 10);
  Dispatch(effProcessEvents, 0, 0, many.List());
  RunBlock(16);
  EXPECT_EQ(Sent().size(), 250u * 32u);

  Sent().clear();
  MidiList mixed;  // records that are not MIDI take no slot
  for (int i = 0; i < 250; ++i) mixed.Add(0xF0, 0, 0, 0, 6);
  mixed.Add(0x90, 60, 100, 0);
  Dispatch(effProcessEvents, 0, 0, mixed.List());
  RunBlock(16);
  EXPECT_EQ(Sent().size(), 32u);
}

TEST_F(ControlChanges, SettingsShapeTheControllersAndValues) {
  SetParameter(2, 1.0f);  // unit 1 sends controller 127
  SetParameter(5, 1.0f);  // and so does unit 2
  SetParameter(0, 1.0f);
  SetParameter(3, 0.0f);
  MidiList note;
  note.Add(0x90, 60, 100, 0);
  Dispatch(effProcessEvents, 0, 0, note.List());
  RunBlock(8);
  ASSERT_EQ(Sent().size(), 32u);
  ExpectUnitGroup(Sent(), 0, 127, 127);
  ExpectUnitGroup(Sent(), 16, 127, 0);
}

TEST_F(ControlChanges, ReplacingCopiesEveryBitAndProcessAdds) {
  const float special[] = {0.0f,
                           -0.0f,
                           1.0f,
                           std::numeric_limits<float>::denorm_min(),
                           std::numeric_limits<float>::infinity(),
                           -3.25f};
  std::vector<float> left(special, special + 6), right(6, 0.125f);
  uint32_t signalling = 0x7FA00001;  // a NaN payload survives only a bit copy
  std::memcpy(&left[0], &signalling, 4);
  std::vector<float> outLeft(6, 9.0f), outRight(6, 9.0f);
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  m_Effect->processReplacing(m_Effect, inputs, outputs, 6);
  EXPECT_EQ(std::memcmp(outLeft.data(), left.data(), 24), 0);
  EXPECT_EQ(std::memcmp(outRight.data(), right.data(), 24), 0);

  std::vector<float> accLeft(6, 1.0f), accRight(6, -1.0f);
  float* accumulate[2] = {accLeft.data(), accRight.data()};
  float* dry[2] = {right.data(), right.data()};
  m_Effect->process(m_Effect, dry, accumulate, 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(accLeft[static_cast<size_t>(i)], 1.125f);
    EXPECT_EQ(accRight[static_cast<size_t>(i)], -0.875f);
  }
}

TEST_F(ControlChanges, HostileInputIsHandledWithoutLosingSlots) {
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, nullptr), 1);  // nothing to queue

  MidiList odd;
  odd.Add(0x90, 60, 100, -5).Add(0x90, 61, 100, -99);
  VstEvents* list = odd.List();
  Dispatch(effProcessEvents, 0, 0, list);
  list->numEvents = -3;  // a negative count does nothing
  Dispatch(effProcessEvents, 0, 0, list);
  RunBlock(1);  // negative offsets are due at once
  EXPECT_EQ(Sent().size(), 64u);

  MidiList withHoles;
  withHoles.Add(0x90, 60, 100, 0).Add(0x90, 60, 100, 0);
  VstEvents* holes = withHoles.List();
  holes->events[0] = nullptr;
  Sent().clear();
  Dispatch(effProcessEvents, 0, 0, holes);
  RunBlock(1);
  EXPECT_EQ(Sent().size(), 32u);

  // The queue is whole again: 250 events still fit.
  Sent().clear();
  MidiList many;
  for (int i = 0; i < 250; ++i) many.Add(0x90, 60, 100, 0);
  Dispatch(effProcessEvents, 0, 0, many.List());
  m_Effect->processReplacing(m_Effect, nullptr, nullptr, 1);  // no buffers: events still run
  EXPECT_EQ(Sent().size(), 250u * 32u);
  m_Effect->processReplacing(m_Effect, nullptr, nullptr, 0);
  m_Effect->processReplacing(m_Effect, nullptr, nullptr, -5);
  m_Effect->process(m_Effect, nullptr, nullptr, -1);
}

}  // namespace
