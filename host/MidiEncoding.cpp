#include "MidiEncoding.h"

#include <algorithm>

namespace fluxhost {

void ByteWriter::variableLength(uint64_t value) {
  value = std::min<uint64_t>(value, 0x0FFFFFFF);
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) byte(static_cast<uint8_t>(groups[--n] | 0x80));
  byte(groups[0]);
}

void writeHeader(ByteWriter& out, uint16_t format, uint16_t tracks, const MidiDivision& division) {
  out.text("MThd");
  out.bigEndian(6, 4);
  out.bigEndian(format, 2);
  out.bigEndian(tracks, 2);
  if (division.isSmpte()) {
    out.byte(static_cast<uint8_t>(256 - division.smpteFramesPerSecond));
    out.byte(division.ticksPerFrame);
  } else {
    out.bigEndian(division.ticksPerQuarter, 2);
  }
}

void TrackEncoder::add(ByteWriter& out, const MidiEvent& event) {
  if (event.bytes.empty() || m_ended) return;
  // Deltas beyond the format's largest quantity (2^28 - 1 ticks) are clamped.
  out.variableLength(event.tick >= m_tick ? event.tick - m_tick : 0);
  m_tick = std::max(m_tick, event.tick);
  const uint8_t status = event.bytes[0];
  const auto rest = std::span(event.bytes).subspan(1);
  if (event.isChannelMessage()) {
    if (status != m_runningStatus) out.byte(status);
    m_runningStatus = status;
    out.bytes(rest);
  } else if (status == 0xFF && !rest.empty()) {
    m_runningStatus = 0;
    out.byte(status);
    out.byte(rest[0]);
    out.variableLength(rest.size() - 1);
    out.bytes(rest.subspan(1));
    m_ended = rest[0] == kMetaEndOfTrack;
  } else {
    m_runningStatus = 0;
    out.byte(status);
    out.variableLength(rest.size());
    out.bytes(rest);
  }
}

void TrackEncoder::end(ByteWriter& out) {
  if (m_ended) return;
  out.variableLength(0);
  const uint8_t endOfTrack[] = {0xFF, kMetaEndOfTrack, 0x00};
  out.bytes(endOfTrack);
  m_ended = true;
}

}  // namespace fluxhost
