// A known phrase through the Fluxomatic plug-in with its spreads at 0, so that
// every value it sends is certain. Skipped where the plug-in is not built.
#include <gtest/gtest.h>

#include <filesystem>

#include "FileIo.h"
#include "TextFormat.h"
#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

TEST(FluxomaticPhrase, SendsBothUnitsOnAllChannelsForEachNoteOn) {
  const std::string plugin = test::FluxomaticPath();
  if (plugin.empty() || !std::filesystem::exists(plugin)) {
    GTEST_SKIP() << "the Fluxomatic plug-in is not built";
  }
  test::ScratchDir dir;
  MidiFile phrase;
  phrase.format = 0;
  phrase.division.ticksPerQuarter = 480;
  // Note On at 0 s and at 0.5 s (frame 22050: block 43, offset 34); the Note Off,
  // the Note On of velocity 0 and the Control Change in between send nothing.
  phrase.tracks.push_back({test::At(0, {0x90, 60, 100}), test::At(240, {0x80, 60, 64}),
                           test::At(300, {0x90, 62, 0}), test::At(360, {0xB0, 1, 5}),
                           test::At(480, {0x99, 38, 1})});
  const std::string midi = dir.File("phrase.mid");
  WriteMidiFile(phrase, midi);
  const auto result = test::RunCommand({"play", plugin, "--midi", midi, "--text", "--param", "1=0",
                                        "--param", "4=0", "--tail", "0.1"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  // Events are sent during the block in which the note falls due, at offset 0.
  std::string expected = "    time  block  offset  ch  message\n";
  for (const char* blockStart : {"   0.000      0", "   0.499     43"}) {
    for (int controller : {14, 15}) {
      for (int channel = 1; channel <= 16; ++channel) {
        expected += FormatText("%s       0  %2d  CC %d = 64\n", blockStart, channel, controller);
      }
    }
  }
  EXPECT_EQ(result.out, expected);
}

}  // namespace
}  // namespace fluxhost
