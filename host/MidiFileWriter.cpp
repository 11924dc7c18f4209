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
    : m_Path(path), m_File(path) {
  if (!m_File.CanSeek()) {
    throw std::runtime_error("cannot write '" + path +
                             "': a MIDI file's track length is filled in at the end, and this "
                             "output cannot seek back to it");
  }
  WriteHeader(m_Pending, 0, 1, division);
  m_Pending.Text("MTrk");
  m_Pending.BigEndian(0, 4);
}

void MidiFileWriter::Add(const MidiEvent& event) {
  m_Track.Add(m_Pending, event);
  if (m_Pending.Size() >= kPieceSize) Flush();
}

void MidiFileWriter::Finish() {
  m_Track.End(m_Pending);
  Flush();
  const uint64_t trackLength = m_Written - kTrackStart;
  if (trackLength > UINT32_MAX)
    throw std::runtime_error("cannot write '" + m_Path + "': the track is over 4 GiB");
  ByteWriter length;
  length.BigEndian(static_cast<uint32_t>(trackLength), 4);
  m_File.WriteAt(kLengthAt, length.Data());
  m_File.Close();
}

void MidiFileWriter::Flush() {
  m_File.Write(m_Pending.Data());
  m_Written += m_Pending.Size();
  m_Pending.Clear();
}

}  // namespace fluxhost
