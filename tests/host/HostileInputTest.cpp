// fluxhost against inputs made to hurt it: each run is a process of its own
// with little address space (under sanitizers, which reserve terabytes, a bound
// on its resident memory instead), so that a regression to buffers sized by
// what an input claims fails here at once instead of swapping. POSIX only: the
// limits and devices these use have no counterpart in the Windows build.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <sndfile.h>

#include <filesystem>

#include "testsupport/host/FluxhostProcess.h"

namespace fluxhost {
namespace {

using test::At;
using test::TempoEvent;

// Enough for the program and its libraries with room to spare; far less than
// any input here would make a host that sizes its buffers by it ask for.
constexpr rlim_t kAddressSpace = rlim_t{256} << 20;
// The most resident memory a run may take. Sanitizers keep freed memory in
// quarantine and add their own to every allocation, so theirs is larger.
constexpr long kPeakKiB = test::kAddressSpaceLimitApplies ? 160 << 10 : 1 << 20;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

test::ProcessResult RunHostile(const test::ScratchDir& dir, std::vector<std::string> args,
                               const std::string& outPath = "/dev/null",
                               const std::string& input = "") {
  test::ProcessSetup setup;
  setup.input = input;
  setup.outPath = outPath;
  if (test::kAddressSpaceLimitApplies) setup.addressSpace = kAddressSpace;
  return test::RunFluxhostProcess(dir, std::move(args), setup);
}

TEST(HostileInput, RefusesEventsTooFarOutToCountInFrames) {
  test::ScratchDir dir;
  // The slowest tempo at one tick per quarter: 16.8 s a tick. The last event,
  // 1.3e13 s in, lies past frame 2^63 at 768 kHz.
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = 1;
  MidiTrack track = {TempoEvent(0, 0xFFFFFF), At(0, {0x90, 60, 100})};
  constexpr uint64_t kLongestDelta = 0x0FFFFFFF;
  for (uint64_t tick = kLongestDelta; tick < 800'000'000'000; tick += kLongestDelta)
    track.push_back(At(tick, {0xB0, 1, 1}));
  file.tracks.push_back(std::move(track));
  const std::string midi = dir.File("far.mid");
  WriteMidiFile(file, midi);
  const std::string out = dir.File("out.txt");
  const auto result =
      RunHostile(dir, {"play", test::TestPlugin(), "--midi", midi, "--rate", "768000"}, out);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "runs over 24 hours are refused")) << result.err;
  EXPECT_EQ(test::FileText(out), "");
}

// Format 0, 480 ticks per quarter: Note Ons of key 60 a tick apart, three
// bytes each with running status.
std::string NoteOnsFile(size_t count) {
  const size_t trackLength = 4 + (count - 1) * 3 + 4;
  std::string bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, static_cast<char>(0xE0)};
  bytes += "MTrk";
  for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(trackLength >> shift);
  bytes += {0x00, static_cast<char>(0x90), 60, 100};
  for (size_t i = 1; i < count; ++i) bytes += {0x01, 60, 100};
  bytes += {0x00, static_cast<char>(0xFF), 0x2F, 0x00};
  return bytes;
}

TEST(HostileInput, StreamsWhatAMillionNoteOnsSendInBoundedMemory) {
  test::ScratchDir dir;
  constexpr size_t kNotes = 1'000'000;
  const std::string midi = dir.File("notes.mid");
  std::ofstream(midi, std::ios::binary) << NoteOnsFile(kNotes);
  const std::string text = dir.File("sent.txt");
  const std::string sentMidi = dir.File("sent.mid");
  const auto result = RunHostile(
      dir, {"play", test::TestPlugin(), "--midi", midi, "--text", "--out", sentMidi}, text);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_LT(result.peakKiB, kPeakKiB);
  EXPECT_TRUE(Contains(result.err, "1000000 MIDI events in, 1000000 events out")) << result.err;

  // The test plug-in answers each Note On with a Control Change at its frame.
  std::ifstream lines(text);
  std::string line;
  size_t count = 0;
  while (std::getline(lines, line)) {
    if (count++ == 1) {
      EXPECT_EQ(line, "   0.000      0       0   1  CC 14 = 60");
    }
  }
  EXPECT_EQ(count, kNotes + 1);
  const MidiFile sent = ReadMidiFile(sentMidi);
  ASSERT_EQ(sent.tracks.size(), 1u);
  size_t controlChanges = 0;
  for (const MidiEvent& e : sent.tracks[0]) {
    if (!e.IsChannelMessage()) continue;
    EXPECT_EQ(e.tick, controlChanges);
    ++controlChanges;
  }
  EXPECT_EQ(controlChanges, kNotes);
}

TEST(HostileInput, StreamsALongAudioRenderInBoundedMemory) {
  test::ScratchDir dir;
  // A minute and a frame, and the second of tail, at the highest rate: 46.8
  // million frames in 91501 blocks, 375 MB of output.
  MidiFile file;
  file.tracks.push_back({At(0, {0x90, 60, 100}), At(480 * 2 * 60, {0x80, 60, 0})});
  const std::string midi = dir.File("minute.mid");
  WriteMidiFile(file, midi);
  const auto result = RunHostile(dir, {"play", test::TestPlugin(), "--midi", midi, "--rate",
                                       "768000", "--audio-out", "/dev/null"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_LT(result.peakKiB, kPeakKiB);
  EXPECT_TRUE(Contains(result.err, "played 61 s in 91501 blocks")) << result.err;
}

// A WAV file's sizes wrap past 4 GiB; the render must come out as an RF64 file that holds
// every frame where it belongs. It writes 4.3 GB: optimised builds only.
TEST(HostileInput, WritesARenderPastFourGibibytesAsAnRf64File) {
#if !defined(NDEBUG)
  GTEST_SKIP() << "writes 4.3 GB; run in optimised builds";
#endif
  test::ScratchDir dir;
  if (std::filesystem::space(dir.File("")).available < (uintmax_t{5} << 30))
    GTEST_SKIP() << "less than 5 GiB free for the render";
  MidiFile file;
  file.tracks.push_back({At(0, {0x90, 60, 100}), At(1, {0x80, 60, 0})});
  const std::string midi = dir.File("note.mid");
  WriteMidiFile(file, midi);
  const std::string wav = dir.File("long.wav");
  const auto result =
      RunHostile(dir, {"play", test::BesideExecutable("fluxhost_test_plugin_counting"), "--midi",
                       midi, "--rate", "768000", "--tail", "700", "--audio-out", wav});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The last event falls on frame 800; then 700 s of tail. Two float channels: 4.3 GB.
  constexpr sf_count_t kFrames = 801 + 700 * 768000;
  SF_INFO info{};
  SNDFILE* back = sf_open(wav.c_str(), SFM_READ, &info);
  ASSERT_NE(back, nullptr) << sf_strerror(nullptr);
  EXPECT_EQ(info.format, SF_FORMAT_RF64 | SF_FORMAT_FLOAT);
  EXPECT_EQ(info.frames, kFrames);
  ASSERT_EQ(sf_seek(back, kFrames - 3, SEEK_SET), kFrames - 3);
  float last[3][2] = {};
  EXPECT_EQ(sf_readf_float(back, &last[0][0], 3), 3);
  sf_close(back);
  for (sf_count_t i = 0; i < 3; ++i) {
    const float counted = static_cast<float>((kFrames - 3 + i) & 0xFFFF) / 65536.0f;
    EXPECT_EQ(last[i][0], counted) << "frame " << kFrames - 3 + i;
    EXPECT_EQ(last[i][1], counted + 1.0f) << "frame " << kFrames - 3 + i;
  }
}

// A 16-bit mono WAV file of 100 silent samples.
std::string WavFile(uint32_t sampleRate) {
  std::string bytes;
  const auto little = [&bytes](uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(value >> (8 * i));
  };
  bytes += "RIFF";
  little(36 + 200, 4);
  bytes += "WAVEfmt ";
  little(16, 4);
  little(1, 2);  // integer samples
  little(1, 2);  // one channel
  little(sampleRate, 4);
  little(sampleRate * 2, 4);
  little(2, 2);
  little(16, 2);
  bytes += "data";
  little(200, 4);
  return bytes + std::string(200, '\0');
}

TEST(HostileInput, RefusesAWavFileWithAnImplausibleSampleRate) {
  test::ScratchDir dir;
  const std::string wav = dir.File("fast.wav");
  std::ofstream(wav, std::ios::binary) << WavFile(2147483647);
  const auto result = RunHostile(
      dir, {"play", test::TestPlugin(), "--audio", wav, "--audio-out", dir.File("out.wav")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err,
                       "fast.wav' has a sample rate of 2147483647 Hz; fluxhost plays "
                       "1000 to 768000 Hz"))
      << result.err;
}

TEST(HostileInput, SaysWhichOutputCouldNotBeWritten) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to fill";
  test::ScratchDir dir;
  const std::string noFree = "No space left on device";
  // A few lines stay in the stream's buffer until the end; thousands fail on the way.
  for (size_t notes : {size_t{1}, size_t{5000}}) {
    const std::string midi = dir.File("notes.mid");
    std::ofstream(midi, std::ios::binary) << NoteOnsFile(notes);
    const auto result =
        RunHostile(dir, {"play", test::TestPlugin(), "--midi", midi, "--text"}, "/dev/full");
    EXPECT_EQ(result.exitCode, 1) << notes;
    EXPECT_TRUE(Contains(result.err, "fluxhost play: cannot write to standard output: " + noFree))
        << result.err;
  }
  for (const char* option : {"--out", "--audio-out"}) {
    const auto result = RunHostile(
        dir, {"play", test::TestPlugin(), "--midi", dir.File("notes.mid"), option, "/dev/full"});
    EXPECT_EQ(result.exitCode, 1) << option;
    EXPECT_TRUE(Contains(result.err, "'/dev/full': ") && Contains(result.err, noFree))
        << result.err;
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, {"info", test::TestPlugin()}}) {
    const auto result = RunHostile(dir, args, "/dev/full");
    EXPECT_EQ(result.exitCode, 1) << args[0];
    EXPECT_TRUE(Contains(result.err, "cannot write to standard output: " + noFree)) << result.err;
  }
}

TEST(HostileInput, ReadsMidiOnlyFromFilesAndPipesOfBoundedSize) {
  test::ScratchDir dir;
  auto result = RunHostile(dir, {"play", test::TestPlugin(), "--midi", "/dev/zero"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "'/dev/zero': not a regular file or a pipe")) << result.err;

  const std::string limit = std::to_string(kMidiFileLimitMiB) + " MiB";
  const std::string huge = dir.File("huge.mid");
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, (kMidiFileLimitMiB << 20) + 1);
  result = RunHostile(dir, {"play", test::TestPlugin(), "--midi", huge});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, huge + "': larger than " + limit)) << result.err;
  EXPECT_TRUE(Contains(test::RunCommand({"play", "--help"}).out, limit));

  MidiFile note;
  note.tracks.push_back({At(0, {0x90, 60, 100})});
  const auto bytes = WriteMidiFile(note);
  const std::string out = dir.File("out.txt");
  result = RunHostile(dir, {"play", test::TestPlugin(), "--midi", "/dev/stdin", "--text"}, out,
                      std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(test::FileText(out), "CC 14 = 60")) << test::FileText(out);
}

}  // namespace
}  // namespace fluxhost

#endif
