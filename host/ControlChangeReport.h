#pragma once
// Which Control Changes a plug-in sent for which note, grouped per unit: the
// numbers a musician wants to see from a MIDI effect like Fluxomatic.

#include <cstdint>
#include <string>
#include <vector>

#include "HostContext.h"
#include "MidiSchedule.h"

namespace fluxhost {

// A run of one controller over distinct channels: what one unit sent for a note.
struct UnitOutput {
  int controller = 0;
  int value = 0;  // the first channel's value
  int channels = 0;
  bool sameValue = true;  // every channel got `value`
};

struct NoteOutput {
  int64_t frame = 0;
  int key = 0;
  int velocity = 0;
  std::vector<UnitOutput> units;  // in the order sent
};

// Control Changes are credited to the last Note On that reached the plug-in in
// the block they came in or before; the others are left out.
std::vector<NoteOutput> controlChangesPerNote(const MidiSchedule& input,
                                              const std::vector<SentEvent>& sent,
                                              int32_t blockSize);

// The values unit `unit` (0 for the first) sent, one per note that has it.
std::vector<int> unitValues(const std::vector<NoteOutput>& notes, size_t unit);

// One line per bin of `binWidth` values over 0..127: range, count, bar of '#'.
std::string valueHistogram(const std::vector<int>& values, int binWidth);

std::string noteName(int key);  // "C4" for 60

}  // namespace fluxhost
