#include "ControlChangeReport.h"

#include <algorithm>

#include "TextFormat.h"

namespace fluxhost {

namespace {

bool isNoteOn(const uint8_t* bytes) {
  return (bytes[0] & 0xF0) == 0x90 && (bytes[2] & 0x7F) > 0;
}
bool isControlChange(const SentEvent& e) {
  return e.type == kVstMidiType && (e.midi[0] & 0xF0) == 0xB0;
}

void addToUnits(std::vector<UnitOutput>& units, std::vector<uint16_t>& channelSets,
                const SentEvent& e) {
  const int channel = e.midi[0] & 0x0F;
  const int controller = e.midi[1] & 0x7F;
  const int value = e.midi[2] & 0x7F;
  const auto bit = static_cast<uint16_t>(1u << channel);
  if (units.empty() || units.back().controller != controller || (channelSets.back() & bit) != 0) {
    units.push_back({controller, value, 0, true});
    channelSets.push_back(0);
  }
  UnitOutput& unit = units.back();
  channelSets.back() = static_cast<uint16_t>(channelSets.back() | bit);
  ++unit.channels;
  unit.sameValue = unit.sameValue && unit.value == value;
}

}  // namespace

std::vector<NoteOutput> controlChangesPerNote(const MidiSchedule& input,
                                              const std::vector<SentEvent>& sent,
                                              int32_t blockSize) {
  std::vector<NoteOutput> notes;
  std::vector<int64_t> noteBlocks;
  for (const ScheduledMidi& e : input.events()) {
    if (!isNoteOn(e.bytes)) continue;
    notes.push_back({e.frame, e.bytes[1] & 0x7F, e.bytes[2] & 0x7F, {}});
    noteBlocks.push_back(e.frame / blockSize);
  }
  std::vector<std::vector<uint16_t>> channelSets(notes.size());
  for (const SentEvent& e : sent) {
    if (!isControlChange(e)) continue;
    const auto after = std::upper_bound(noteBlocks.begin(), noteBlocks.end(), e.block);
    if (after == noteBlocks.begin()) continue;
    const auto note = static_cast<size_t>(after - noteBlocks.begin() - 1);
    addToUnits(notes[note].units, channelSets[note], e);
  }
  return notes;
}

std::vector<int> unitValues(const std::vector<NoteOutput>& notes, size_t unit) {
  std::vector<int> values;
  for (const NoteOutput& note : notes) {
    if (unit < note.units.size()) values.push_back(note.units[unit].value);
  }
  return values;
}

std::string valueHistogram(const std::vector<int>& values, int binWidth) {
  constexpr int kBarWidth = 40;
  const int bins = (128 + binWidth - 1) / binWidth;
  std::vector<int> counts(static_cast<size_t>(bins), 0);
  for (int v : values) ++counts[static_cast<size_t>(std::clamp(v, 0, 127) / binWidth)];
  const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));
  std::string text;
  for (int b = 0; b < bins; ++b) {
    const int count = counts[static_cast<size_t>(b)];
    const int bar = count == 0 ? 0 : std::max(1, count * kBarWidth / most);
    text += formatText("  %3d-%3d %4d |%s\n", b * binWidth, std::min(127, (b + 1) * binWidth - 1),
                       count, std::string(static_cast<size_t>(bar), '#').c_str());
  }
  return text;
}

std::string noteName(int key) {
  static constexpr const char* kNames[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                           "F#", "G",  "G#", "A",  "A#", "B"};
  return kNames[key % 12] + std::to_string(key / 12 - 1);
}

}  // namespace fluxhost
