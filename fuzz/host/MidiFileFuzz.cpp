// Any bytes as a Standard MIDI File: the reader either throws MidiFileError or
// returns a file that writes and reads back to the same events, and whose time
// line can be computed.
#include <cstdlib>

#include "MidiFile.h"
#include "MidiSchedule.h"
#include "TempoMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fluxhost;
  MidiFile file;
  try {
    file = ReadMidiFile(std::span<const uint8_t>(data, size));
  } catch (const MidiFileError&) {
    return 0;
  }
  const MidiTrack merged = MergeTracks(file);
  const TempoMap tempo(file.division, merged);
  const MidiSchedule schedule(merged, tempo, 44100.0);
  static_cast<void>(schedule.Block(0, 512));

  const MidiFile back = ReadMidiFile(WriteMidiFile(file));
  if (back.tracks.size() != file.tracks.size()) std::abort();
  for (size_t t = 0; t < file.tracks.size(); ++t) {
    const MidiTrack& a = file.tracks[t];
    const MidiTrack& b = back.tracks[t];
    // The writer adds an end-of-track event where one is missing.
    if (b.size() < a.size()) std::abort();
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].tick != b[i].tick || a[i].bytes != b[i].bytes) std::abort();
    }
  }
  return 0;
}
