#pragma once
// The channel messages of a MIDI file placed on the sample-frame time line and
// handed out block by block with their offsets inside the block.

#include <cstdint>
#include <span>
#include <vector>

#include "MidiFile.h"
#include "TempoMap.h"

namespace fluxhost {

struct ScheduledMidi {
  int64_t frame = 0;  // from the start of the run
  uint8_t bytes[3] = {};
};

class MidiSchedule {
 public:
  MidiSchedule() = default;
  // System exclusive and meta events are left out: a VST MIDI event carries
  // one channel message.
  MidiSchedule(const MidiTrack& merged, const TempoMap& tempo, double sampleRate);
  explicit MidiSchedule(std::vector<ScheduledMidi> events);

  // The events in [blockStart, blockStart + blockSize), in order.
  std::span<const ScheduledMidi> Block(int64_t blockStart, int32_t blockSize) const;
  // One frame past the last event, 0 without events.
  int64_t Length() const { return m_Events.empty() ? 0 : m_Events.back().frame + 1; }
  const std::vector<ScheduledMidi>& Events() const { return m_Events; }

 private:
  std::vector<ScheduledMidi> m_Events;  // ordered by frame
};

}  // namespace fluxhost
