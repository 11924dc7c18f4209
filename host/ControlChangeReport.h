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
  std::vector<UnitOutput> units;  // the first kKeptUnits, in the order sent
  int64_t unitsLeftOut = 0;       // those that came after them
};

// The Control Changes per Note On of the input, fed with what the plug-in sends
// as it comes. A Control Change is credited to the last Note On that reached the
// plug-in in the block it came in or before; the others are left out.
class ControlChangeReport {
 public:
  // Fluxomatic has two units; a plug-in sending more per note has them counted.
  static constexpr size_t kKeptUnits = 2;

  ControlChangeReport(const MidiSchedule& input, int32_t blockSize);
  void Add(const SentEvent& event);
  const std::vector<NoteOutput>& Notes() const { return m_Notes; }

 private:
  // The unit that a note's next Control Change may still belong to.
  struct OpenUnit {
    int controller = -1;  // none yet
    uint16_t channels = 0;
  };

  std::vector<NoteOutput> m_Notes;
  std::vector<int64_t> m_NoteBlocks;
  std::vector<OpenUnit> m_OpenUnits;
};

// The values unit `unit` (0 for the first) sent, one per note that has it.
std::vector<int> UnitValues(const std::vector<NoteOutput>& notes, size_t unit);

// One line per bin of `binWidth` values over 0..127: range, count, bar of '#'.
std::string ValueHistogram(const std::vector<int>& values, int binWidth);

std::string NoteName(int key);  // "C4" for 60

}  // namespace fluxhost
