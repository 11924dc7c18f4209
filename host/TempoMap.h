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
  static TempoMap constant(const MidiDivision& division, double bpm);

  double secondsAt(uint64_t tick) const;
  uint64_t tickAt(double seconds) const;  // the inverse, to the nearest tick
  double bpmAt(uint64_t tick) const;
  double bpmAtSeconds(double seconds) const { return bpmAt(tickAt(seconds)); }
  double quarterNotesAt(double seconds) const;

  int64_t frameAt(uint64_t tick, double sampleRate) const;
  // The tempo changes as meta events, for a file written on this time line.
  MidiTrack tempoEvents() const;
  const MidiDivision& division() const { return m_division; }

 private:
  struct Segment {
    uint64_t tick;
    double seconds;
    double quarters;
    uint32_t microsPerQuarter;
  };

  TempoMap(const MidiDivision& division, uint32_t firstMicrosPerQuarter);
  void addChange(uint64_t tick, uint32_t microsPerQuarter);
  double secondsPerTick(const Segment& segment) const;
  const Segment& segmentAtTick(uint64_t tick) const;
  const Segment& segmentAtSeconds(double seconds) const;

  MidiDivision m_division;
  std::vector<Segment> m_segments;  // ordered by tick, never empty
};

}  // namespace fluxhost
