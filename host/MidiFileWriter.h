#pragma once
// A format 0 Standard MIDI File written event by event, so that a long track
// is never held in memory. The track's length comes first in the file and is
// known only at the end: the file is written to a place that can seek.

#include <string>

#include "FileIo.h"
#include "MidiEncoding.h"
#include "MidiFile.h"

namespace fluxhost {

class MidiFileWriter {
 public:
  // Throws when the file cannot be created or cannot seek.
  MidiFileWriter(const std::string& path, const MidiDivision& division);
  void Add(const MidiEvent& event);  // in time order
  // Ends the track, fills in its length and closes the file; throws on failure.
  void Finish();

 private:
  void Flush();

  std::string m_Path;
  OutputFile m_File;
  ByteWriter m_Pending;  // written out in large pieces
  TrackEncoder m_Track;
  uint64_t m_Written = 0;  // bytes in the file so far
};

}  // namespace fluxhost
