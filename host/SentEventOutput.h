#pragma once
// What a plug-in sent, as a MIDI file or as text a person reads, written as it
// comes so that a long run keeps none of it in memory.

#include <map>
#include <ostream>
#include <string>

#include "HostContext.h"
#include "MidiFileWriter.h"
#include "TempoMap.h"

namespace fluxhost {

// "CC 14 = 64", "Note On 60 velocity 100", ... for one channel message.
std::string DescribeMidi(const uint8_t bytes[3]);

// One line per event on standard output: time in seconds, block, offset in the
// block, channel, message.
class SentEventText {
 public:
  SentEventText(std::ostream& out, double sampleRate);  // writes the heading
  void Add(const SentEvent& event);                     // throws once the stream has failed
  void Finish();                                        // flushes; throws when that fails

 private:
  std::ostream& m_Out;
  double m_SampleRate;
};

// A format 0 file on the time line of `tempo`, its tempo changes included, in
// time order. Events that are not MIDI are left out.
class SentEventMidiFile {
 public:
  // `tempo` must outlive this.
  SentEventMidiFile(const std::string& path, const TempoMap& tempo, double sampleRate);
  void Add(const SentEvent& event);
  void Finish();  // writes what is held back and completes the file

 private:
  void WriteUpTo(uint64_t tick);

  MidiFileWriter m_File;
  const TempoMap& m_Tempo;
  double m_SampleRate;
  MidiTrack m_TempoChanges;
  size_t m_TempoChangesWritten = 0;
  // An event may fall later than one sent after it, but never before the start
  // of the block it was sent in: events wait here until no later one can precede them.
  std::multimap<uint64_t, MidiEvent> m_Held;
};

}  // namespace fluxhost
