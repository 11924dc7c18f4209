#include "SentEventOutput.h"

#include <cerrno>
#include <cstdint>

#include "FileIo.h"
#include "TextFormat.h"

namespace fluxhost {

namespace {

size_t ChannelMessageLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

}  // namespace

std::string DescribeMidi(const uint8_t bytes[3]) {
  const int d1 = bytes[1] & 0x7F;
  const int d2 = bytes[2] & 0x7F;
  switch (bytes[0] & 0xF0) {
    case 0x80:
      return FormatText("Note Off %d velocity %d", d1, d2);
    case 0x90:
      return FormatText("Note On %d velocity %d", d1, d2);
    case 0xA0:
      return FormatText("Aftertouch %d = %d", d1, d2);
    case 0xB0:
      return FormatText("CC %d = %d", d1, d2);
    case 0xC0:
      return FormatText("Program %d", d1);
    case 0xD0:
      return FormatText("Channel pressure %d", d1);
    case 0xE0:
      return FormatText("Pitch bend %d", (d2 << 7 | d1) - 8192);
    default:
      return FormatText("bytes %02X %02X %02X", bytes[0], bytes[1], bytes[2]);
  }
}

SentEventText::SentEventText(std::ostream& out, double sampleRate)
    : m_Out(out), m_SampleRate(sampleRate) {
  m_Out << "    time  block  offset  ch  message\n";
}

void SentEventText::Add(const SentEvent& event) {
  const double seconds = static_cast<double>(event.Frame()) / m_SampleRate;
  m_Out << FormatText("%8.3f  %5s  %6d  ", seconds, std::to_string(event.block).c_str(),
                      static_cast<int>(event.deltaFrames));
  if (event.type != kVstMidiType) {
    m_Out << FormatText("--  event of type %d\n", event.type);
  } else if (event.midi[0] < 0x80 || event.midi[0] >= 0xF0) {
    m_Out << "--  " << DescribeMidi(event.midi) << "\n";
  } else {
    m_Out << FormatText("%2d  ", (event.midi[0] & 0x0F) + 1) << DescribeMidi(event.midi) << "\n";
  }
  // A run need not go on once its output is lost.
  if (!m_Out) throw StreamWriteError("to standard output");
}

void SentEventText::Finish() {
  errno = 0;  // a reason given is the flush's own
  m_Out.flush();
  if (!m_Out) throw StreamWriteError("to standard output");
}

SentEventMidiFile::SentEventMidiFile(const std::string& path, const TempoMap& tempo,
                                     double sampleRate)
    : m_File(path, tempo.Division()),
      m_Tempo(tempo),
      m_SampleRate(sampleRate),
      m_TempoChanges(tempo.Division().IsSmpte() ? MidiTrack{} : tempo.TempoEvents()) {}

void SentEventMidiFile::Add(const SentEvent& event) {
  // Nothing sent from now on falls before this block's start.
  WriteUpTo(m_Tempo.TickAt(static_cast<double>(event.blockStart) / m_SampleRate));
  const uint8_t status = event.midi[0];
  if (event.type != kVstMidiType || status < 0x80 || status >= 0xF0) return;
  MidiEvent midi;
  midi.tick = m_Tempo.TickAt(static_cast<double>(event.Frame()) / m_SampleRate);
  midi.bytes.assign(event.midi, event.midi + ChannelMessageLength(status));
  for (size_t i = 1; i < midi.bytes.size(); ++i) midi.bytes[i] &= 0x7F;
  m_Held.emplace(midi.tick, std::move(midi));  // after those of the same tick
}

void SentEventMidiFile::Finish() {
  WriteUpTo(UINT64_MAX);
  m_File.Finish();
}

// A tempo change goes before the events of its tick.
void SentEventMidiFile::WriteUpTo(uint64_t tick) {
  const auto writeTempoChangesUpTo = [this](uint64_t last) {
    for (; m_TempoChangesWritten < m_TempoChanges.size() &&
           m_TempoChanges[m_TempoChangesWritten].tick <= last;
         ++m_TempoChangesWritten) {
      m_File.Add(m_TempoChanges[m_TempoChangesWritten]);
    }
  };
  while (!m_Held.empty() && m_Held.begin()->first <= tick) {
    writeTempoChangesUpTo(m_Held.begin()->first);
    m_File.Add(m_Held.begin()->second);
    m_Held.erase(m_Held.begin());
  }
  writeTempoChangesUpTo(tick);
}

}  // namespace fluxhost
