#pragma once
// The bytes of a Standard MIDI File as it is written: big-endian numbers,
// variable-length quantities, the header and the events of a track.

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "MidiFile.h"

namespace fluxhost {

class ByteWriter {
 public:
  void bytes(std::span<const uint8_t> data) { m_out.insert(m_out.end(), data.begin(), data.end()); }
  void byte(uint8_t b) { m_out.push_back(b); }
  void text(const char* s) { bytes({reinterpret_cast<const uint8_t*>(s), std::strlen(s)}); }
  void bigEndian(uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8)
      byte(static_cast<uint8_t>(value >> shift));
  }
  void variableLength(uint64_t value);  // clamped to the format's largest, 2^28 - 1
  size_t size() const { return m_out.size(); }
  void patchBigEndian32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      m_out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
  }
  std::span<const uint8_t> data() const { return m_out; }
  void clear() { m_out.clear(); }
  std::vector<uint8_t> release() { return std::move(m_out); }

 private:
  std::vector<uint8_t> m_out;
};

// The header chunk.
void writeHeader(ByteWriter& out, uint16_t format, uint16_t tracks, const MidiDivision& division);

// One track's events in turn, with delta times and running status.
class TrackEncoder {
 public:
  // Events after an end-of-track event are left out.
  void add(ByteWriter& out, const MidiEvent& event);
  // The end-of-track event, unless the track had one.
  void end(ByteWriter& out);

 private:
  uint64_t m_tick = 0;
  uint8_t m_runningStatus = 0;
  bool m_ended = false;
};

}  // namespace fluxhost
