// fluxhost against inputs made to hurt it: each run is a process of its own
// with little address space, so that a regression to buffers sized by what an
// input claims fails here at once instead of swapping. POSIX only: the limits
// and devices these use have no counterpart in the Windows build.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <filesystem>

#include "FluxhostProcess.h"

namespace fluxhost {
namespace {

using test::at;
using test::tempoEvent;

// Enough for the program and its libraries with room to spare; far less than
// any input here would make a host that sizes its buffers by it ask for.
constexpr rlim_t kAddressSpace = rlim_t{512} << 20;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

test::ProcessResult runHostile(const test::ScratchDir& dir, std::vector<std::string> args,
                               const std::string& outPath = "/dev/null",
                               const std::string& input = "") {
  test::ProcessSetup setup;
  setup.input = input;
  setup.outPath = outPath;
  if (test::kAddressSpaceLimitApplies) setup.addressSpace = kAddressSpace;
  return test::runFluxhostProcess(dir, std::move(args), setup);
}

TEST(HostileInput, RefusesEventsTooFarOutToCountInFrames) {
  test::ScratchDir dir;
  // The slowest tempo at one tick per quarter: 16.8 s a tick. The last event,
  // 1.3e13 s in, lies past frame 2^63 at 768 kHz.
  MidiFile file;
  file.format = 0;
  file.division.ticksPerQuarter = 1;
  MidiTrack track = {tempoEvent(0, 0xFFFFFF), at(0, {0x90, 60, 100})};
  constexpr uint64_t kLongestDelta = 0x0FFFFFFF;
  for (uint64_t tick = kLongestDelta; tick < 800'000'000'000; tick += kLongestDelta)
    track.push_back(at(tick, {0xB0, 1, 1}));
  file.tracks.push_back(std::move(track));
  const std::string midi = dir.file("far.mid");
  writeMidiFile(file, midi);
  const std::string out = dir.file("out.txt");
  const auto result =
      runHostile(dir, {"play", test::testPlugin(), "--midi", midi, "--rate", "768000"}, out);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "runs over 24 hours are refused")) << result.err;
  EXPECT_EQ(test::fileText(out), "");
}

TEST(HostileInput, ReadsMidiOnlyFromFilesAndPipesOfBoundedSize) {
  test::ScratchDir dir;
  auto result = runHostile(dir, {"play", test::testPlugin(), "--midi", "/dev/zero"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "'/dev/zero': not a regular file or a pipe")) << result.err;

  const std::string limit = std::to_string(kMidiFileLimitMiB) + " MiB";
  const std::string huge = dir.file("huge.mid");
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, (kMidiFileLimitMiB << 20) + 1);
  result = runHostile(dir, {"play", test::testPlugin(), "--midi", huge});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, huge + "': larger than " + limit)) << result.err;
  EXPECT_TRUE(contains(test::runCommand({"play", "--help"}).out, limit));

  MidiFile note;
  note.tracks.push_back({at(0, {0x90, 60, 100})});
  const auto bytes = writeMidiFile(note);
  const std::string out = dir.file("out.txt");
  result = runHostile(dir, {"play", test::testPlugin(), "--midi", "/dev/stdin", "--text"}, out,
                      std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(test::fileText(out), "CC 14 = 60")) << test::fileText(out);
}

}  // namespace
}  // namespace fluxhost

#endif
