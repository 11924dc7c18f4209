#include "MidiFileWriter.h"

#include <cstdint>
#include <stdexcept>

namespace fluxhost {

namespace {

constexpr size_t kPieceSize = 1 << 16;
// The header chunk, then "MTrk" and the track's length.
constexpr uint64_t kLengthAt = 18;
constexpr uint64_t kTrackStart = kLengthAt + 4;

}  // namespace

MidiFileWriter::MidiFileWriter(const std::string& path, const MidiDivision& division)
    : m_path(path), m_file(path) {
  if (!m_file.canSeek()) {
    throw std::runtime_error("cannot write '" + path +
                             "': a MIDI file's track length is filled in at the end, and this "
                             "output cannot seek back to it");
  }
  writeHeader(m_pending, 0, 1, division);
  m_pending.text("MTrk");
  m_pending.bigEndian(0, 4);
}

void MidiFileWriter::add(const MidiEvent& event) {
  m_track.add(m_pending, event);
  if (m_pending.size() >= kPieceSize) flush();
}

void MidiFileWriter::finish() {
  m_track.end(m_pending);
  flush();
  const uint64_t trackLength = m_written - kTrackStart;
  if (trackLength > UINT32_MAX)
    throw std::runtime_error("cannot write '" + m_path + "': the track is over 4 GiB");
  ByteWriter length;
  length.bigEndian(static_cast<uint32_t>(trackLength), 4);
  m_file.writeAt(kLengthAt, length.data());
  m_file.close();
}

void MidiFileWriter::flush() {
  m_file.write(m_pending.data());
  m_written += m_pending.size();
  m_pending.clear();
}

}  // namespace fluxhost
