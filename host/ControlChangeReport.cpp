#include "ControlChangeReport.h"

#include <algorithm>

#include "TextFormat.h"

namespace fluxhost {

namespace {

bool IsNoteOn(const uint8_t* bytes) {
  return (bytes[0] & 0xF0) == 0x90 && (bytes[2] & 0x7F) > 0;
}
bool IsControlChange(const SentEvent& e) {
  return e.type == kVstMidiType && (e.midi[0] & 0xF0) == 0xB0;
}

}  // namespace

ControlChangeReport::ControlChangeReport(const MidiSchedule& input, int32_t blockSize) {
  for (const ScheduledMidi& e : input.Events()) {
    if (!IsNoteOn(e.bytes)) continue;
    m_Notes.push_back({e.frame, e.bytes[1] & 0x7F, e.bytes[2] & 0x7F, {}, 0});
    m_NoteBlocks.push_back(e.frame / blockSize);
  }
  m_OpenUnits.resize(m_Notes.size());
}

// A run of one controller over distinct channels is one unit's output.
void ControlChangeReport::Add(const SentEvent& e) {
  if (!IsControlChange(e)) return;
  const auto after = std::upper_bound(m_NoteBlocks.begin(), m_NoteBlocks.end(), e.block);
  if (after == m_NoteBlocks.begin()) return;
  const auto index = static_cast<size_t>(after - m_NoteBlocks.begin() - 1);
  NoteOutput& note = m_Notes[index];
  OpenUnit& open = m_OpenUnits[index];
  const int controller = e.midi[1] & 0x7F;
  const int value = e.midi[2] & 0x7F;
  const auto bit = static_cast<uint16_t>(1u << (e.midi[0] & 0x0F));
  if (open.controller != controller || (open.channels & bit) != 0) {
    open = {controller, 0};
    if (note.units.size() < kKeptUnits) {
      note.units.push_back({controller, value, 0, true});
    } else {
      ++note.unitsLeftOut;
    }
  }
  open.channels = static_cast<uint16_t>(open.channels | bit);
  if (note.unitsLeftOut > 0) return;
  UnitOutput& unit = note.units.back();
  ++unit.channels;
  unit.sameValue = unit.sameValue && unit.value == value;
}

std::vector<int> UnitValues(const std::vector<NoteOutput>& notes, size_t unit) {
  std::vector<int> values;
  for (const NoteOutput& note : notes) {
    if (unit < note.units.size()) values.push_back(note.units[unit].value);
  }
  return values;
}

std::string ValueHistogram(const std::vector<int>& values, int binWidth) {
  constexpr int kBarWidth = 40;
  const int bins = (128 + binWidth - 1) / binWidth;
  std::vector<int> counts(static_cast<size_t>(bins), 0);
  for (int v : values) ++counts[static_cast<size_t>(std::clamp(v, 0, 127) / binWidth)];
  const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));
  std::string text;
  for (int b = 0; b < bins; ++b) {
    const int count = counts[static_cast<size_t>(b)];
    const int bar = count == 0 ? 0 : std::max(1, count * kBarWidth / most);
    text += FormatText("  %3d-%3d %4d |%s\n", b * binWidth, std::min(127, (b + 1) * binWidth - 1),
                       count, std::string(static_cast<size_t>(bar), '#').c_str());
  }
  return text;
}

std::string NoteName(int key) {
  static constexpr const char* kNames[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                           "F#", "G",  "G#", "A",  "A#", "B"};
  return kNames[key % 12] + std::to_string(key / 12 - 1);
}

}  // namespace fluxhost
