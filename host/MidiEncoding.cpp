#include "MidiEncoding.h"

#include <algorithm>

namespace fluxhost {

void ByteWriter::VariableLength(uint64_t value) {
  value = std::min<uint64_t>(value, 0x0FFFFFFF);
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) Byte(static_cast<uint8_t>(groups[--n] | 0x80));
  Byte(groups[0]);
}

void WriteHeader(ByteWriter& out, uint16_t format, uint16_t tracks, const MidiDivision& division) {
  out.Text("MThd");
  out.BigEndian(6, 4);
  out.BigEndian(format, 2);
  out.BigEndian(tracks, 2);
  if (division.IsSmpte()) {
    out.Byte(static_cast<uint8_t>(256 - division.smpteFramesPerSecond));
    out.Byte(division.ticksPerFrame);
  } else {
    out.BigEndian(division.ticksPerQuarter, 2);
  }
}

void TrackEncoder::Add(ByteWriter& out, const MidiEvent& event) {
  if (event.bytes.empty() || m_Ended) return;
  // Deltas beyond the format's largest quantity (2^28 - 1 ticks) are clamped.
  out.VariableLength(event.tick >= m_Tick ? event.tick - m_Tick : 0);
  m_Tick = std::max(m_Tick, event.tick);
  const uint8_t status = event.bytes[0];
  const auto rest = std::span(event.bytes).subspan(1);
  if (event.IsChannelMessage()) {
    if (status != m_RunningStatus) out.Byte(status);
    m_RunningStatus = status;
    out.Bytes(rest);
  } else if (status == 0xFF && !rest.empty()) {
    m_RunningStatus = 0;
    out.Byte(status);
    out.Byte(rest[0]);
    out.VariableLength(rest.size() - 1);
    out.Bytes(rest.subspan(1));
    m_Ended = rest[0] == kMetaEndOfTrack;
  } else {
    m_RunningStatus = 0;
    out.Byte(status);
    out.VariableLength(rest.size());
    out.Bytes(rest);
  }
}

void TrackEncoder::End(ByteWriter& out) {
  if (m_Ended) return;
  out.VariableLength(0);
  const uint8_t endOfTrack[] = {0xFF, kMetaEndOfTrack, 0x00};
  out.Bytes(endOfTrack);
  m_Ended = true;
}

}  // namespace fluxhost
