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
  void Bytes(std::span<const uint8_t> data) { m_Out.insert(m_Out.end(), data.begin(), data.end()); }
  void Byte(uint8_t b) { m_Out.push_back(b); }
  void Text(const char* s) { Bytes({reinterpret_cast<const uint8_t*>(s), std::strlen(s)}); }
  void BigEndian(uint32_t value, int count) {
    for (int shift = (count - 1) * 8; shift >= 0; shift -= 8)
      Byte(static_cast<uint8_t>(value >> shift));
  }
  void VariableLength(uint64_t value);  // clamped to the format's largest, 2^28 - 1
  size_t Size() const { return m_Out.size(); }
  void PatchBigEndian32(size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      m_Out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
  }
  std::span<const uint8_t> Data() const { return m_Out; }
  void Clear() { m_Out.clear(); }
  std::vector<uint8_t> Release() { return std::move(m_Out); }

 private:
  std::vector<uint8_t> m_Out;
};

// The header chunk.
void WriteHeader(ByteWriter& out, uint16_t format, uint16_t tracks, const MidiDivision& division);

// One track's events in turn, with delta times and running status.
class TrackEncoder {
 public:
  // Events after an end-of-track event are left out.
  void Add(ByteWriter& out, const MidiEvent& event);
  // The end-of-track event, unless the track had one.
  void End(ByteWriter& out);

 private:
  uint64_t m_Tick = 0;
  uint8_t m_RunningStatus = 0;
  bool m_Ended = false;
};

}  // namespace fluxhost
