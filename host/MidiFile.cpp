#include "MidiFile.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "FileIo.h"
#include "MidiEncoding.h"

namespace fluxhost {

namespace {

// Bounds-checked reading of big-endian numbers and variable-length quantities.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : m_Data(data) {}

  size_t Offset() const { return m_Offset; }
  size_t Remaining() const { return m_Data.size() - m_Offset; }
  bool AtEnd() const { return m_Offset >= m_Data.size(); }

  uint8_t Byte(const char* what) {
    Need(1, what);
    return m_Data[m_Offset++];
  }
  uint8_t Peek(const char* what) const {
    Need(1, what);
    return m_Data[m_Offset];
  }

  uint32_t BigEndian(size_t count, const char* what) {
    Need(count, what);
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | m_Data[m_Offset++];
    return value;
  }

  // At most four bytes, as the file format allows: a value below 2^28.
  uint32_t VariableLength(const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t b = Byte(what);
      value = (value << 7) | (b & 0x7Fu);
      if ((b & 0x80u) == 0) return value;
    }
    Fail(std::string(what) + " is longer than four bytes");
  }

  std::span<const uint8_t> Take(size_t count, const char* what) {
    Need(count, what);
    const auto part = m_Data.subspan(m_Offset, count);
    m_Offset += count;
    return part;
  }

  [[noreturn]] void Fail(const std::string& message) const {
    throw MidiFileError(message + " (at byte " + std::to_string(m_Base + m_Offset) + ")");
  }

  // Offsets in messages count from the start of the file.
  void SetBase(size_t base) { m_Base = base; }

 private:
  void Need(size_t count, const char* what) const {
    if (count > Remaining()) {
      Fail(std::string("file ends inside ") + what + ": " + std::to_string(count) +
           " bytes needed, " + std::to_string(Remaining()) + " left");
    }
  }

  std::span<const uint8_t> m_Data;
  size_t m_Offset = 0;
  size_t m_Base = 0;
};

// Data bytes of a channel message, by the high nibble of its status.
size_t ChannelDataLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

MidiTrack ReadTrack(ByteReader& in) {
  MidiTrack track;
  uint64_t tick = 0;
  uint8_t runningStatus = 0;
  while (!in.AtEnd()) {
    tick += in.VariableLength("an event's delta time");
    MidiEvent event;
    event.tick = tick;
    uint8_t status = in.Peek("an event after its delta time");
    if (status < 0x80) {
      if (runningStatus == 0)
        in.Fail("data byte without a status byte (no running status in force)");
      status = runningStatus;
    } else {
      in.Byte("a status byte");
    }
    event.bytes.push_back(status);
    if (status < 0xF0) {
      runningStatus = status;
      for (size_t i = ChannelDataLength(status); i > 0; --i) {
        const uint8_t data = in.Byte("a channel message");
        if (data >= 0x80) in.Fail("status byte inside a channel message's data");
        event.bytes.push_back(data);
      }
    } else if (status == 0xF0 || status == 0xF7) {
      runningStatus = 0;
      const auto payload =
          in.Take(in.VariableLength("a system exclusive length"), "a system exclusive message");
      event.bytes.insert(event.bytes.end(), payload.begin(), payload.end());
    } else if (status == 0xFF) {
      runningStatus = 0;
      event.bytes.push_back(in.Byte("a meta event"));
      const auto payload = in.Take(in.VariableLength("a meta event length"), "a meta event");
      event.bytes.insert(event.bytes.end(), payload.begin(), payload.end());
    } else {
      in.Fail("status byte " + std::to_string(status) + " is not allowed in a file");
    }
    const bool end = event.IsMeta(kMetaEndOfTrack);
    track.push_back(std::move(event));
    if (end) break;  // bytes after the end of a track are ignored
  }
  return track;
}

MidiDivision ReadDivision(uint32_t raw, const ByteReader& in) {
  MidiDivision division;
  if ((raw & 0x8000u) == 0) {
    if (raw == 0) in.Fail("time division of 0 ticks per quarter note");
    division.ticksPerQuarter = static_cast<uint16_t>(raw);
    return division;
  }
  const auto fps = static_cast<uint8_t>(256 - (raw >> 8));
  if (fps != 24 && fps != 25 && fps != 29 && fps != 30) {
    in.Fail("SMPTE time division with " + std::to_string(fps) + " frames per second");
  }
  division.ticksPerQuarter = 0;
  division.smpteFramesPerSecond = fps;
  division.ticksPerFrame = static_cast<uint8_t>(raw & 0xFF);
  if (division.ticksPerFrame == 0) in.Fail("SMPTE time division with 0 ticks per frame");
  return division;
}

bool ChunkIs(std::span<const uint8_t> id, const char* name) {
  return std::memcmp(id.data(), name, 4) == 0;
}

void WriteTrack(ByteWriter& out, const MidiTrack& track) {
  out.Text("MTrk");
  const size_t lengthAt = out.Size();
  out.BigEndian(0, 4);
  TrackEncoder encoder;
  for (const MidiEvent& event : track) encoder.Add(out, event);
  encoder.End(out);
  out.PatchBigEndian32(lengthAt, static_cast<uint32_t>(out.Size() - lengthAt - 4));
}

}  // namespace

MidiFile ReadMidiFile(std::span<const uint8_t> data) {
  ByteReader in(data);
  if (data.size() < 4 || !ChunkIs(data.first(4), "MThd")) {
    throw MidiFileError("not a Standard MIDI File (no MThd header)");
  }
  in.Take(4, "the header");
  const uint32_t headerLength = in.BigEndian(4, "the header");
  if (headerLength < 6)
    in.Fail("header chunk of " + std::to_string(headerLength) + " bytes, 6 needed");
  const auto header = in.Take(headerLength, "the header");
  ByteReader fields(header);
  fields.SetBase(8);
  MidiFile file;
  file.format = static_cast<uint16_t>(fields.BigEndian(2, "the header"));
  if (file.format > 2) fields.Fail("unknown file format " + std::to_string(file.format));
  const uint32_t declaredTracks = fields.BigEndian(2, "the header");
  file.division = ReadDivision(fields.BigEndian(2, "the header"), fields);

  while (file.tracks.size() < declaredTracks && !in.AtEnd()) {
    const auto id = in.Take(4, "a chunk header");
    const uint32_t length = in.BigEndian(4, "a chunk header");
    if (length > in.Remaining()) {
      in.Fail("chunk claims " + std::to_string(length) + " bytes but only " +
              std::to_string(in.Remaining()) + " remain");
    }
    const size_t start = in.Offset();
    const auto body = in.Take(length, "a chunk");
    if (!ChunkIs(id, "MTrk")) continue;  // unknown chunks are skipped, as the format asks
    ByteReader track(body);
    track.SetBase(start);
    file.tracks.push_back(ReadTrack(track));
  }
  if (file.tracks.size() < declaredTracks) {
    throw MidiFileError("header declares " + std::to_string(declaredTracks) +
                        " tracks but the file holds " + std::to_string(file.tracks.size()));
  }
  return file;
}

MidiFile ReadMidiFile(const std::string& path) {
  const auto bytes = ReadBinaryFile(path, kMidiFileLimitMiB);
  try {
    return ReadMidiFile(std::span<const uint8_t>(bytes));
  } catch (const MidiFileError& e) {
    throw MidiFileError("'" + path + "': " + e.what());
  }
}

std::vector<uint8_t> WriteMidiFile(const MidiFile& file) {
  ByteWriter out;
  WriteHeader(out, file.format, static_cast<uint16_t>(file.tracks.size()), file.division);
  for (const MidiTrack& track : file.tracks) WriteTrack(out, track);
  return out.Release();
}

void WriteMidiFile(const MidiFile& file, const std::string& path) {
  WriteBinaryFile(path, WriteMidiFile(file));
}

MidiTrack MergeTracks(MidiFile file) {
  if (file.tracks.size() == 1) return std::move(file.tracks.front());  // already in time order
  MidiTrack merged;
  for (MidiTrack& track : file.tracks) {
    merged.insert(merged.end(), std::make_move_iterator(track.begin()),
                  std::make_move_iterator(track.end()));
    MidiTrack().swap(track);  // each track's memory goes once it is merged
  }
  std::stable_sort(merged.begin(), merged.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  return merged;
}

}  // namespace fluxhost
