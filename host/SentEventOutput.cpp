#include "SentEventOutput.h"

#include <cerrno>
#include <cstdint>

#include "FileIo.h"
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

SentEventText::SentEventText(std::ostream& out, double sampleRate)
    : m_out(out), m_sampleRate(sampleRate) {
  m_out << "    time  block  offset  ch  message\n";
}

void SentEventText::add(const SentEvent& event) {
  const double seconds = static_cast<double>(event.frame()) / m_sampleRate;
  m_out << formatText("%8.3f  %5s  %6d  ", seconds, std::to_string(event.block).c_str(),
                      static_cast<int>(event.deltaFrames));
  if (event.type != kVstMidiType) {
    m_out << formatText("--  event of type %d\n", event.type);
  } else if (event.midi[0] < 0x80 || event.midi[0] >= 0xF0) {
    m_out << "--  " << describeMidi(event.midi) << "\n";
  } else {
    m_out << formatText("%2d  ", (event.midi[0] & 0x0F) + 1) << describeMidi(event.midi) << "\n";
  }
  // A run need not go on once its output is lost.
  if (!m_out) throw streamWriteError("to standard output");
}

void SentEventText::finish() {
  errno = 0;  // a reason given is the flush's own
  m_out.flush();
  if (!m_out) throw streamWriteError("to standard output");
}

SentEventMidiFile::SentEventMidiFile(const std::string& path, const TempoMap& tempo,
                                     double sampleRate)
    : m_file(path, tempo.division()),
      m_tempo(tempo),
      m_sampleRate(sampleRate),
      m_tempoChanges(tempo.division().isSmpte() ? MidiTrack{} : tempo.tempoEvents()) {}

void SentEventMidiFile::add(const SentEvent& event) {
  // Nothing sent from now on falls before this block's start.
  writeUpTo(m_tempo.tickAt(static_cast<double>(event.blockStart) / m_sampleRate));
  const uint8_t status = event.midi[0];
  if (event.type != kVstMidiType || status < 0x80 || status >= 0xF0) return;
  MidiEvent midi;
  midi.tick = m_tempo.tickAt(static_cast<double>(event.frame()) / m_sampleRate);
  midi.bytes.assign(event.midi, event.midi + channelMessageLength(status));
  for (size_t i = 1; i < midi.bytes.size(); ++i) midi.bytes[i] &= 0x7F;
  m_held.emplace(midi.tick, std::move(midi));  // after those of the same tick
}

void SentEventMidiFile::finish() {
  writeUpTo(UINT64_MAX);
  m_file.finish();
}

// A tempo change goes before the events of its tick.
void SentEventMidiFile::writeUpTo(uint64_t tick) {
  const auto writeTempoChangesUpTo = [this](uint64_t last) {
    for (; m_tempoChangesWritten < m_tempoChanges.size() &&
           m_tempoChanges[m_tempoChangesWritten].tick <= last;
         ++m_tempoChangesWritten) {
      m_file.add(m_tempoChanges[m_tempoChangesWritten]);
    }
  };
  while (!m_held.empty() && m_held.begin()->first <= tick) {
    writeTempoChangesUpTo(m_held.begin()->first);
    m_file.add(m_held.begin()->second);
    m_held.erase(m_held.begin());
  }
  writeTempoChangesUpTo(tick);
}

}  // namespace fluxhost
