#pragma once
// Standard MIDI Files in memory: reading (formats 0, 1 and 2, running status,
// system exclusive and meta events) and writing.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace fluxhost {

// A reader's complaint about a file: names what is wrong and where.
class MidiFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One event with its absolute time in ticks. `bytes` is the whole message:
// a channel message (status and data), a system exclusive message (F0 or F7
// followed by its payload) or a meta event (FF, type, payload), lengths left out.
struct MidiEvent {
  uint64_t tick = 0;
  std::vector<uint8_t> bytes;

  bool IsChannelMessage() const { return !bytes.empty() && bytes[0] >= 0x80 && bytes[0] < 0xF0; }
  bool IsMeta(uint8_t type) const {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == type;
  }
};

using MidiTrack = std::vector<MidiEvent>;  // in time order

constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;

// The header's time division: ticks per quarter note, or SMPTE frames per
// second (24, 25, 29 for 29.97 drop frame, 30) with ticks per frame.
struct MidiDivision {
  uint16_t ticksPerQuarter = 480;  // 0 when SMPTE timing is used
  uint8_t smpteFramesPerSecond = 0;
  uint8_t ticksPerFrame = 0;

  bool IsSmpte() const { return ticksPerQuarter == 0; }
};

struct MidiFile {
  uint16_t format = 1;
  MidiDivision division;
  std::vector<MidiTrack> tracks;
};

// Real files are far smaller; an event takes some 64 bytes once read, so this
// also bounds the memory that reading a file takes.
constexpr size_t kMidiFileLimitMiB = 16;

// Throws MidiFileError for anything that is not a well-formed file.
MidiFile ReadMidiFile(std::span<const uint8_t> data);
// A regular file or a pipe of at most kMidiFileLimitMiB.
MidiFile ReadMidiFile(const std::string& path);

// Writes with running status for channel messages and an end-of-track event
// at the end of every track that lacks one.
std::vector<uint8_t> WriteMidiFile(const MidiFile& file);
void WriteMidiFile(const MidiFile& file, const std::string& path);

// Every track's events merged into one list ordered by tick; events at the
// same tick keep the order of their tracks, then of the file. Taken by value
// so that a file handed over is merged without copying its events.
MidiTrack MergeTracks(MidiFile file);

}  // namespace fluxhost
