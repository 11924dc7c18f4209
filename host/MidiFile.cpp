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
  explicit ByteReader(std::span<const uint8_t> data) : m_data(data) {}

  size_t offset() const { return m_offset; }
  size_t remaining() const { return m_data.size() - m_offset; }
  bool atEnd() const { return m_offset >= m_data.size(); }

  uint8_t byte(const char* what) {
    need(1, what);
    return m_data[m_offset++];
  }
  uint8_t peek(const char* what) const {
    need(1, what);
    return m_data[m_offset];
  }

  uint32_t bigEndian(size_t count, const char* what) {
    need(count, what);
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value = (value << 8) | m_data[m_offset++];
    return value;
  }

  // At most four bytes, as the file format allows: a value below 2^28.
  uint32_t variableLength(const char* what) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t b = byte(what);
      value = (value << 7) | (b & 0x7Fu);
      if ((b & 0x80u) == 0) return value;
    }
    fail(std::string(what) + " is longer than four bytes");
  }

  std::span<const uint8_t> take(size_t count, const char* what) {
    need(count, what);
    const auto part = m_data.subspan(m_offset, count);
    m_offset += count;
    return part;
  }

  [[noreturn]] void fail(const std::string& message) const {
    throw MidiFileError(message + " (at byte " + std::to_string(m_base + m_offset) + ")");
  }

  // Offsets in messages count from the start of the file.
  void setBase(size_t base) { m_base = base; }

 private:
  void need(size_t count, const char* what) const {
    if (count > remaining()) {
      fail(std::string("file ends inside ") + what + ": " + std::to_string(count) +
           " bytes needed, " + std::to_string(remaining()) + " left");
    }
  }

  std::span<const uint8_t> m_data;
  size_t m_offset = 0;
  size_t m_base = 0;
};

// Data bytes of a channel message, by the high nibble of its status.
size_t channelDataLength(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

MidiTrack readTrack(ByteReader& in) {
  MidiTrack track;
  uint64_t tick = 0;
  uint8_t runningStatus = 0;
  while (!in.atEnd()) {
    tick += in.variableLength("an event's delta time");
    MidiEvent event;
    event.tick = tick;
    uint8_t status = in.peek("an event after its delta time");
    if (status < 0x80) {
      if (runningStatus == 0)
        in.fail("data byte without a status byte (no running status in force)");
      status = runningStatus;
    } else {
      in.byte("a status byte");
    }
    event.bytes.push_back(status);
    if (status < 0xF0) {
      runningStatus = status;
      for (size_t i = channelDataLength(status); i > 0; --i) {
        const uint8_t data = in.byte("a channel message");
        if (data >= 0x80) in.fail("status byte inside a channel message's data");
        event.bytes.push_back(data);
      }
    } else if (status == 0xF0 || status == 0xF7) {
      runningStatus = 0;
      const auto payload =
          in.take(in.variableLength("a system exclusive length"), "a system exclusive message");
      event.bytes.insert(event.bytes.end(), payload.begin(), payload.end());
    } else if (status == 0xFF) {
      runningStatus = 0;
      event.bytes.push_back(in.byte("a meta event"));
      const auto payload = in.take(in.variableLength("a meta event length"), "a meta event");
      event.bytes.insert(event.bytes.end(), payload.begin(), payload.end());
    } else {
      in.fail("status byte " + std::to_string(status) + " is not allowed in a file");
    }
    const bool end = event.isMeta(kMetaEndOfTrack);
    track.push_back(std::move(event));
    if (end) break;  // bytes after the end of a track are ignored
  }
  return track;
}

MidiDivision readDivision(uint32_t raw, const ByteReader& in) {
  MidiDivision division;
  if ((raw & 0x8000u) == 0) {
    if (raw == 0) in.fail("time division of 0 ticks per quarter note");
    division.ticksPerQuarter = static_cast<uint16_t>(raw);
    return division;
  }
  const auto fps = static_cast<uint8_t>(256 - (raw >> 8));
  if (fps != 24 && fps != 25 && fps != 29 && fps != 30) {
    in.fail("SMPTE time division with " + std::to_string(fps) + " frames per second");
  }
  division.ticksPerQuarter = 0;
  division.smpteFramesPerSecond = fps;
  division.ticksPerFrame = static_cast<uint8_t>(raw & 0xFF);
  if (division.ticksPerFrame == 0) in.fail("SMPTE time division with 0 ticks per frame");
  return division;
}

bool chunkIs(std::span<const uint8_t> id, const char* name) {
  return std::memcmp(id.data(), name, 4) == 0;
}

void writeTrack(ByteWriter& out, const MidiTrack& track) {
  out.text("MTrk");
  const size_t lengthAt = out.size();
  out.bigEndian(0, 4);
  TrackEncoder encoder;
  for (const MidiEvent& event : track) encoder.add(out, event);
  encoder.end(out);
  out.patchBigEndian32(lengthAt, static_cast<uint32_t>(out.size() - lengthAt - 4));
}

}  // namespace

MidiFile readMidiFile(std::span<const uint8_t> data) {
  ByteReader in(data);
  if (data.size() < 4 || !chunkIs(data.first(4), "MThd")) {
    throw MidiFileError("not a Standard MIDI File (no MThd header)");
  }
  in.take(4, "the header");
  const uint32_t headerLength = in.bigEndian(4, "the header");
  if (headerLength < 6)
    in.fail("header chunk of " + std::to_string(headerLength) + " bytes, 6 needed");
  const auto header = in.take(headerLength, "the header");
  ByteReader fields(header);
  fields.setBase(8);
  MidiFile file;
  file.format = static_cast<uint16_t>(fields.bigEndian(2, "the header"));
  if (file.format > 2) fields.fail("unknown file format " + std::to_string(file.format));
  const uint32_t declaredTracks = fields.bigEndian(2, "the header");
  file.division = readDivision(fields.bigEndian(2, "the header"), fields);

  while (file.tracks.size() < declaredTracks && !in.atEnd()) {
    const auto id = in.take(4, "a chunk header");
    const uint32_t length = in.bigEndian(4, "a chunk header");
    if (length > in.remaining()) {
      in.fail("chunk claims " + std::to_string(length) + " bytes but only " +
              std::to_string(in.remaining()) + " remain");
    }
    const size_t start = in.offset();
    const auto body = in.take(length, "a chunk");
    if (!chunkIs(id, "MTrk")) continue;  // unknown chunks are skipped, as the format asks
    ByteReader track(body);
    track.setBase(start);
    file.tracks.push_back(readTrack(track));
  }
  if (file.tracks.size() < declaredTracks) {
    throw MidiFileError("header declares " + std::to_string(declaredTracks) +
                        " tracks but the file holds " + std::to_string(file.tracks.size()));
  }
  return file;
}

MidiFile readMidiFile(const std::string& path) {
  const auto bytes = readBinaryFile(path, kMidiFileLimitMiB);
  try {
    return readMidiFile(std::span<const uint8_t>(bytes));
  } catch (const MidiFileError& e) {
    throw MidiFileError("'" + path + "': " + e.what());
  }
}

std::vector<uint8_t> writeMidiFile(const MidiFile& file) {
  ByteWriter out;
  writeHeader(out, file.format, static_cast<uint16_t>(file.tracks.size()), file.division);
  for (const MidiTrack& track : file.tracks) writeTrack(out, track);
  return out.release();
}

void writeMidiFile(const MidiFile& file, const std::string& path) {
  writeBinaryFile(path, writeMidiFile(file));
}

MidiTrack mergeTracks(MidiFile file) {
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
