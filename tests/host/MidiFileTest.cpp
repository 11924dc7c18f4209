#include "MidiFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "MidiFileWriter.h"
#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

using test::At;
using test::TempoEvent;
using Bytes = std::vector<uint8_t>;

// A header chunk followed by the given track bodies, each wrapped in MTrk.
Bytes FileBytes(uint16_t format, const std::vector<Bytes>& tracks, uint16_t division = 96) {
  Bytes out = {'M',
               'T',
               'h',
               'd',
               0,
               0,
               0,
               6,
               0,
               static_cast<uint8_t>(format),
               0,
               static_cast<uint8_t>(tracks.size()),
               static_cast<uint8_t>(division >> 8),
               static_cast<uint8_t>(division)};
  for (const Bytes& body : tracks) {
    const auto n = static_cast<uint32_t>(body.size());
    out.insert(out.end(),
               {'M', 'T', 'r', 'k', static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

MidiFile Parse(const Bytes& bytes) {
  return ReadMidiFile(std::span<const uint8_t>(bytes));
}

TEST(MidiFileReader, FollowsRunningStatusAcrossChannelMessages) {
  const MidiFile file = Parse(FileBytes(0, {{0x00, 0x90, 60,   100,  // Note On
                                             0x10, 64,   90,         // running status
                                             0x10, 0x80, 60,   0,    // new status
                                             0x00, 67,   0,          // running Note Off
                                             0x00, 0xC2, 5,          // one data byte
                                             0x05, 7,                // running program change
                                             0x00, 0xFF, 0x2F, 0x00}}));
  ASSERT_EQ(file.tracks.size(), 1u);
  const MidiTrack& t = file.tracks[0];
  ASSERT_EQ(t.size(), 7u);
  EXPECT_EQ(t[1].bytes, (Bytes{0x90, 64, 90}));
  EXPECT_EQ(t[1].tick, 16u);
  EXPECT_EQ(t[3].bytes, (Bytes{0x80, 67, 0}));
  EXPECT_EQ(t[3].tick, 32u);
  EXPECT_EQ(t[5].bytes, (Bytes{0xC2, 7}));
  EXPECT_EQ(t[5].tick, 37u);
}

TEST(MidiFileReader, EndsRunningStatusAtMetaAndSystemExclusiveEvents) {
  EXPECT_THROW(
      Parse(FileBytes(0, {{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x01, 'x', 0x00, 61, 100}})),
      MidiFileError);
  EXPECT_THROW(Parse(FileBytes(0, {{0x00, 0x90, 60, 100, 0x00, 0xF0, 0x01, 0xF7, 0x00, 61, 100}})),
               MidiFileError);
}

TEST(MidiFileRoundTrip, KeepsEveryEventOfAFormat1File) {
  MidiFile file;
  file.format = 1;
  file.division.ticksPerQuarter = 480;
  file.tracks.push_back({TempoEvent(0, 500000), At(0, {0xFF, 0x58, 4, 2, 24, 8}),
                         TempoEvent(960, 400000), TempoEvent(1920, 600000),
                         At(1920, {0xFF, 0x2F})});
  file.tracks.push_back({At(0, {0x90, 60, 100}), At(240, {0x90, 64, 100}), At(480, {0x80, 60, 0}),
                         At(480, {0x80, 64, 0}), At(500, {0xB3, 7, 90}), At(600, {0xE0, 0, 64}),
                         At(700, {0xF0, 0x7E, 0x7F, 0xF7}), At(700, {0xD1, 33}),
                         At(0x0FFFFFFF, {0x80, 1, 2}), At(0x0FFFFFFF, {0xFF, 0x2F})});
  const Bytes bytes = WriteMidiFile(file);
  const MidiFile back = Parse(bytes);
  EXPECT_EQ(back.format, 1);
  EXPECT_EQ(back.division.ticksPerQuarter, 480);
  ASSERT_EQ(back.tracks.size(), 2u);
  for (size_t t = 0; t < 2; ++t) {
    ASSERT_EQ(back.tracks[t].size(), file.tracks[t].size()) << "track " << t;
    for (size_t i = 0; i < file.tracks[t].size(); ++i) {
      EXPECT_EQ(back.tracks[t][i].tick, file.tracks[t][i].tick) << t << ":" << i;
      EXPECT_EQ(back.tracks[t][i].bytes, file.tracks[t][i].bytes) << t << ":" << i;
    }
  }
  // Identical bytes again on a second pass: nothing drifts.
  EXPECT_EQ(WriteMidiFile(back), bytes);
}

TEST(MidiFileWriter, UsesRunningStatusAndEndsEveryTrack) {
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = 96;
  file.tracks.push_back({At(0, {0x90, 60, 100}), At(0, {0x90, 64, 100}), At(200, {0x80, 60, 0})});
  const Bytes bytes = WriteMidiFile(file);
  const Bytes body(bytes.begin() + 22, bytes.end());
  EXPECT_EQ(body, (Bytes{0x00, 0x90, 60, 100, 0x00, 64, 100, 0x81, 0x48, 0x80, 60, 0, 0x00, 0xFF,
                         0x2F, 0x00}));
}

TEST(MidiFileWriter, StreamsTheBytesOfTheWholeFileWriter) {
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = 0;
  file.division.smpteFramesPerSecond = 29;
  file.division.ticksPerFrame = 80;
  // Far more than one piece of output, with running status, meta and system
  // exclusive events, a delta beyond the format's largest and an event after the end.
  MidiTrack track = {TempoEvent(0, 400000)};
  for (uint64_t i = 0; i < 40000; ++i)
    track.push_back(At(i / 3, {static_cast<uint8_t>(0x90 | (i / 7 % 2)), 60, 100}));
  track.push_back(At(20000, {0xF0, 0x7E, 0x7F, 0xF7}));
  track.push_back(At(1ull << 40, {0xC3, 9}));
  track.push_back(At(1ull << 40, {0xFF, kMetaEndOfTrack}));
  track.push_back(At(1ull << 41, {0x80, 60, 0}));
  file.tracks.push_back(track);

  test::ScratchDir dir;
  const std::string path = dir.File("streamed.mid");
  MidiFileWriter writer(path, file.division);
  for (const MidiEvent& e : track) writer.Add(e);
  writer.Finish();
  std::ifstream in(path, std::ios::binary);
  const Bytes streamed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(streamed, WriteMidiFile(file));
}

TEST(MidiFileRoundTrip, KeepsSmpteTimeDivision) {
  MidiFile file;
  file.division.ticksPerQuarter = 0;
  file.division.smpteFramesPerSecond = 25;
  file.division.ticksPerFrame = 40;
  file.tracks.push_back({At(1000, {0x90, 1, 2})});
  const MidiFile back = Parse(WriteMidiFile(file));
  EXPECT_TRUE(back.division.IsSmpte());
  EXPECT_EQ(back.division.smpteFramesPerSecond, 25);
  EXPECT_EQ(back.division.ticksPerFrame, 40);
}

TEST(MidiFileMerge, OrdersByTickAndKeepsTrackOrderForTies) {
  MidiFile file;
  file.tracks.push_back({At(0, {0x90, 1, 1}), At(100, {0x90, 2, 1}), At(300, {0x90, 3, 1})});
  file.tracks.push_back({At(50, {0x91, 4, 1}), At(100, {0x91, 5, 1}), At(200, {0x91, 6, 1})});
  std::vector<int> keys;
  for (const MidiEvent& e : MergeTracks(file)) keys.push_back(e.bytes[1]);
  EXPECT_EQ(keys, (std::vector<int>{1, 4, 2, 5, 6, 3}));
}

TEST(MidiFileReader, SkipsUnknownChunksAndBytesAfterTheEndOfATrack) {
  Bytes bytes = FileBytes(1, {});
  bytes[11] = 1;  // one track, after an unknown chunk
  bytes.insert(bytes.end(), {'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 0xAA, 0xBB});
  const Bytes track = FileBytes(0, {{0x00, 0x90, 1, 2, 0x00, 0xFF, 0x2F, 0x00, 0x99, 0x99}});
  bytes.insert(bytes.end(), track.begin() + 14, track.end());
  const MidiFile file = Parse(bytes);
  ASSERT_EQ(file.tracks.size(), 1u);
  EXPECT_EQ(file.tracks[0].size(), 2u);
}

struct HostileFile {
  const char* what;
  Bytes bytes;
  const char* messagePart;
};

TEST(MidiFileReader, RejectsHostileFilesWithAMessageNamingTheFault) {
  Bytes lyingTrack = FileBytes(0, {{0x00, 0x90, 60, 100}});
  lyingTrack[21] = 0x50;  // the track claims 0x50 bytes, the file holds 4
  Bytes tooManyTracks = FileBytes(1, {{0x00, 0xFF, 0x2F, 0x00}});
  tooManyTracks[11] = 3;
  const Bytes smpteBadRate = FileBytes(0, {}, 0xE928);  // -23 frames per second
  const HostileFile cases[] = {
      {"empty", {}, "no MThd"},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, "no MThd"},
      {"header cut short", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}, "file ends inside"},
      {"header too small", {'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 1}, "6 needed"},
      {"unknown format", FileBytes(3, {}), "unknown file format"},
      {"zero division", FileBytes(0, {{0x00, 0xFF, 0x2F, 0x00}}, 0), "0 ticks per quarter"},
      {"SMPTE rate", smpteBadRate, "frames per second"},
      {"track longer than file", lyingTrack, "claims 80 bytes"},
      {"missing tracks", tooManyTracks, "declares 3 tracks"},
      {"message cut short", FileBytes(0, {{0x00, 0x90, 60}}), "file ends inside a channel message"},
      {"delta too long", FileBytes(0, {{0x81, 0x81, 0x81, 0x81, 0x01}}), "longer than four bytes"},
      {"no status", FileBytes(0, {{0x00, 60, 100}}), "without a status byte"},
      {"status in data", FileBytes(0, {{0x00, 0x90, 60, 0x90}}), "status byte inside"},
      {"system exclusive too long", FileBytes(0, {{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 1}}),
       "file ends inside a system exclusive"},
      {"meta too long", FileBytes(0, {{0x00, 0xFF, 0x01, 0x7F, 'a'}}),
       "file ends inside a meta event"},
      {"real-time status", FileBytes(0, {{0x00, 0xF8}}), "not allowed in a file"},
      {"delta time at the end", FileBytes(0, {{0x00, 0x90, 60, 100, 0x10}}),
       "file ends inside an event after its delta time"},
  };
  for (const HostileFile& c : cases) {
    try {
      Parse(c.bytes);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const MidiFileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos)
          << c.what << ": " << e.what();
    }
  }
}

// Inputs the fuzzer found, kept in data/: each must give a clean error or a file.
TEST(MidiFileReader, ReadsEveryFuzzerFindingWithoutFault) {
  const std::filesystem::path data = FLUXHOST_TEST_DATA;
  if (!std::filesystem::is_directory(data)) GTEST_SKIP() << "no access to " << data.string();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    try {
      ReadMidiFile(entry.path().string());
    } catch (const MidiFileError&) {
    }
    ++files;
  }
  EXPECT_GT(files, 0);
}

TEST(MidiFileReader, NamesTheFileWhenReadingFromDisk) {
  test::ScratchDir dir;
  const std::string path = dir.File("cut.mid");
  Bytes bytes = FileBytes(0, {{0x00, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00}});
  bytes.resize(bytes.size() - 3);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  try {
    ReadMidiFile(path);
    ADD_FAILURE() << "accepted";
  } catch (const MidiFileError& e) {
    EXPECT_NE(std::string(e.what()).find("cut.mid"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ReadMidiFile(dir.File("absent.mid")), std::runtime_error);
}

}  // namespace
}  // namespace fluxhost
