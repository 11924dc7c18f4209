#pragma once
// Converts between a MIDI file's ticks and seconds through its tempo changes.

#include <cstdint>
#include <vector>

#include "MidiFile.h"

namespace fluxhost {

class TempoMap {
 public:
  static constexpr double kDefaultBpm = 120.0;

  // The tempo events of `merged`; 120 beats per minute until the first one.
  TempoMap(const MidiDivision& division, const MidiTrack& merged);
  // One tempo for the whole file, whatever its tempo events say.
  static TempoMap Constant(const MidiDivision& division, double bpm);

  double SecondsAt(uint64_t tick) const;
  uint64_t TickAt(double seconds) const;  // the inverse, to the nearest tick
  double BpmAt(uint64_t tick) const;
  double BpmAtSeconds(double seconds) const { return BpmAt(TickAt(seconds)); }
  double QuarterNotesAt(double seconds) const;

  int64_t FrameAt(uint64_t tick, double sampleRate) const;
  // The tempo changes as meta events, for a file written on this time line.
  MidiTrack TempoEvents() const;
  const MidiDivision& Division() const { return m_Division; }

 private:
  struct Segment {
    uint64_t tick;
    double seconds;
    double quarters;
    uint32_t microsPerQuarter;
  };

  TempoMap(const MidiDivision& division, uint32_t firstMicrosPerQuarter);
  void AddChange(uint64_t tick, uint32_t microsPerQuarter);
  double SecondsPerTick(const Segment& segment) const;
  const Segment& SegmentAtTick(uint64_t tick) const;
  const Segment& SegmentAtSeconds(double seconds) const;

  MidiDivision m_Division;
  std::vector<Segment> m_Segments;  // ordered by tick, never empty
};

}  // namespace fluxhost
