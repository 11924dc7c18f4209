#include "SentEventOutput.h"

#include <algorithm>

#include "TextFormat.h"

namespace fluxhost {

namespace {

size_t channelMessageLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

}  // namespace

std::string describeMidi(const uint8_t bytes[3]) {
  const int d1 = bytes[1] & 0x7F;
  const int d2 = bytes[2] & 0x7F;
  switch (bytes[0] & 0xF0) {
    case 0x80:
      return formatText("Note Off %d velocity %d", d1, d2);
    case 0x90:
      return formatText("Note On %d velocity %d", d1, d2);
    case 0xA0:
      return formatText("Aftertouch %d = %d", d1, d2);
    case 0xB0:
      return formatText("CC %d = %d", d1, d2);
    case 0xC0:
      return formatText("Program %d", d1);
    case 0xD0:
      return formatText("Channel pressure %d", d1);
    case 0xE0:
      return formatText("Pitch bend %d", (d2 << 7 | d1) - 8192);
    default:
      return formatText("bytes %02X %02X %02X", bytes[0], bytes[1], bytes[2]);
  }
}

std::string sentEventsAsText(const std::vector<SentEvent>& events, double sampleRate) {
  std::string text = "    time  block  offset  ch  message\n";
  for (const SentEvent& event : events) {
    const double seconds = static_cast<double>(event.frame()) / sampleRate;
    text += formatText("%8.3f  %5s  %6d  ", seconds, std::to_string(event.block).c_str(),
                       static_cast<int>(event.deltaFrames));
    if (event.type != kVstMidiType) {
      text += formatText("--  event of type %d\n", event.type);
    } else if (event.midi[0] < 0x80 || event.midi[0] >= 0xF0) {
      text += "--  " + describeMidi(event.midi) + "\n";
    } else {
      text += formatText("%2d  ", (event.midi[0] & 0x0F) + 1) + describeMidi(event.midi) + "\n";
    }
  }
  return text;
}

MidiFile sentEventsAsMidiFile(const std::vector<SentEvent>& events, const TempoMap& tempo,
                              double sampleRate) {
  MidiFile file;
  file.format = 0;
  file.division = tempo.division();
  MidiTrack track = file.division.isSmpte() ? MidiTrack{} : tempo.tempoEvents();
  for (const SentEvent& event : events) {
    const uint8_t status = event.midi[0];
    if (event.type != kVstMidiType || status < 0x80 || status >= 0xF0) continue;
    MidiEvent midi;
    midi.tick = tempo.tickAt(static_cast<double>(event.frame()) / sampleRate);
    midi.bytes.assign(event.midi, event.midi + channelMessageLength(status));
    for (size_t i = 1; i < midi.bytes.size(); ++i) midi.bytes[i] &= 0x7F;
    track.push_back(std::move(midi));
  }
  std::stable_sort(track.begin(), track.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  file.tracks.push_back(std::move(track));
  return file;
}

}  // namespace fluxhost
