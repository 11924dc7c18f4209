#include <gtest/gtest.h>

#include "AudioFile.h"
#include "FileIo.h"
#include "testsupport/host/HostTestSupport.h"
#include "testsupport/host/MemoryAudio.h"
#if !defined(_WIN32)
#include "testsupport/host/FluxhostProcess.h"
#endif

namespace fluxhost {
namespace {

using test::At;
using test::RunCommand;
using test::TempoEvent;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Format 1: a conductor track (120 BPM, then 60 BPM after a beat) and two notes.
std::string WritePhrase(const test::ScratchDir& dir) {
  MidiFile file;
  file.format = 1;
  file.division.ticksPerQuarter = 480;
  file.tracks.push_back({TempoEvent(0, 500000), TempoEvent(480, 1000000)});
  file.tracks.push_back({At(0, {0x90, 60, 100}), At(240, {0x80, 60, 0}), At(720, {0x91, 67, 90}),
                         At(960, {0x81, 67, 0})});
  const std::string path = dir.File("phrase.mid");
  WriteMidiFile(file, path);
  return path;
}

TEST(FluxhostCommand, AnswersBadUsageWithExitCode2) {
  const std::string plugin = test::TestPlugin();
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"dance"},
      {"info"},
      {"info", plugin, "--bogus"},
      {"info", plugin, "extra"},
      {"info", plugin, "--json=yes"},
      {"play", plugin},
      {"play", plugin, "--midi"},
      {"play", plugin, "--midi", "x.mid", "--block", "0"},
      {"play", plugin, "--midi", "x.mid", "--rate", "fast"},
      {"play", plugin, "--midi", "x.mid", "--param", "3"},
      {"play", plugin, "--midi", "x.mid", "--param", "0=1.5"},
      {"demo", "--plugin"},
      {"demo", "stray"},
  };
  for (const auto& args : cases) {
    const auto result = RunCommand(args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(result.err.empty());
  }
}

TEST(FluxhostCommand, PrintsHelpForEveryCommand) {
  for (const char* command : {"info", "play", "demo"}) {
    const auto result = RunCommand({command, "--help"});
    EXPECT_EQ(result.exitCode, 0) << command;
    EXPECT_TRUE(Contains(result.out, std::string("Usage: fluxhost ") + command)) << result.out;
  }
  EXPECT_EQ(RunCommand({"--help"}).exitCode, 0);
}

TEST(FluxhostCommand, InfoPrintsTextOrJson) {
  const auto text = RunCommand({"info", test::TestPlugin()});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_TRUE(Contains(text.out, "Effect       Fluxhost Test")) << text.out;
  EXPECT_TRUE(Contains(text.out, "Flags        24: canMono canReplacing")) << text.out;
  EXPECT_TRUE(Contains(text.out, "Parameters (2)")) << text.out;
  EXPECT_TRUE(Contains(text.out, "receiveVstEvents       yes")) << text.out;
  const auto json = RunCommand({"info", test::TestPlugin(), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out.front(), '{');
  EXPECT_TRUE(Contains(json.out, "\"uniqueIdText\": \"FhTp\"")) << json.out;
}

TEST(FluxhostCommand, FailsWithAMessageNamingTheBadFile) {
  test::ScratchDir dir;
  const std::string absent = dir.File("absent.so");
  auto result = RunCommand({"info", absent});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, absent)) << result.err;

  const std::string cut = dir.File("cut.mid");
  WriteBinaryFile(cut, {'M', 'T', 'h', 'd', 0,   0,   0, 6, 0, 0, 0, 1,
                        0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, 9, 0, 0x90});
  result = RunCommand({"play", test::TestPlugin(), "--midi", cut});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "cut.mid") && Contains(result.err, "claims 9 bytes"))
      << result.err;

  result = RunCommand({"play", test::TestPlugin(), "--midi", dir.File("none.mid")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "none.mid")) << result.err;

  MidiFile farAway;
  farAway.tracks.push_back({At(480ull * 2 * 3600 * 30, {0x90, 60, 100})});  // 30 hours in
  WriteMidiFile(farAway, dir.File("far.mid"));
  result = RunCommand({"play", test::TestPlugin(), "--midi", dir.File("far.mid")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "runs over 24 hours are refused")) << result.err;

  result = RunCommand({"play", test::TestPlugin(), "--midi", WritePhrase(dir), "--param", "7=0.5"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "no parameter 7")) << result.err;
}

TEST(FluxhostCommand, PlayWritesTheSentEventsAsTextAndAsAMidiFile) {
  test::ScratchDir dir;
  const std::string out = dir.File("sent.mid");
  const auto result = RunCommand({"play", test::TestPlugin(), "--midi", WritePhrase(dir), "--out",
                                  out, "--text", "--param", "0=0.0787402"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The second note is half a beat into the 60 BPM part: 1.0 s, frame 44100,
  // block 86 at offset 68.
  EXPECT_EQ(result.out,
            "    time  block  offset  ch  message\n"
            "   0.000      0       0   1  CC 10 = 60\n"
            "   1.000     86      68   2  CC 10 = 67\n");
  const MidiFile sent = ReadMidiFile(out);
  ASSERT_EQ(sent.tracks.size(), 1u);
  std::vector<MidiEvent> controlChanges;
  for (const MidiEvent& e : sent.tracks[0]) {
    if (e.IsChannelMessage()) controlChanges.push_back(e);
  }
  ASSERT_EQ(controlChanges.size(), 2u);
  EXPECT_EQ(controlChanges[1].tick, 720u);  // the same tempo map, so the note's own tick
  EXPECT_EQ(controlChanges[1].bytes, (std::vector<uint8_t>{0xB1, 10, 67}));
  EXPECT_TRUE(Contains(result.err, "4 MIDI events in, 2 events out")) << result.err;
}

TEST(FluxhostCommand, PlayAtAFixedTempoIgnoresTheFileTempoMap) {
  test::ScratchDir dir;
  const auto result =
      RunCommand({"play", test::TestPlugin(), "--midi", WritePhrase(dir), "--tempo", "60"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(result.out, "   1.500    129     102   2  CC 14 = 67")) << result.out;
}

TEST(FluxhostCommand, PlayPassesWavAudioThroughThePlugin) {
  test::ScratchDir dir;
  const std::string in = dir.File("in.wav");
  const std::string out = dir.File("out.wav");
  if (!AudioFilesSupported()) {
    EXPECT_EQ(RunCommand({"play", test::TestPlugin(), "--audio", in, "--audio-out", out}).exitCode,
              2);
    return;
  }
  test::AudioBuffer audio;
  audio.sampleRate = 48000.0;
  audio.channels = {std::vector<float>(4800, 0.5f)};
  test::WriteWav(in, audio);
  const auto result = RunCommand({"play", test::TestPlugin(), "--audio", in, "--audio-out", out,
                                  "--param", "1=0.5", "--tail", "0.05"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const test::AudioBuffer back = test::ReadWav(out);
  EXPECT_EQ(back.sampleRate, 48000.0);
  ASSERT_EQ(back.channels.size(), 2u);
  EXPECT_EQ(back.Frames(), 4800 + 2400);
  EXPECT_FLOAT_EQ(back.channels[1][4799], 0.25f);
  EXPECT_FLOAT_EQ(back.channels[0][4800], 0.0f);
  EXPECT_EQ(RunCommand({"play", test::TestPlugin(), "--audio", in, "--rate", "44100"}).exitCode, 2);
}

TEST(FluxhostCommand, DemoReportsControlChangesPerNoteAndUnit) {
  const auto result = RunCommand({"demo", "--plugin", test::TestPlugin()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The test plug-in's one unit sends the key on the note's channel; the demo's
  // first setting, 0.5, makes its controller 64.
  EXPECT_TRUE(Contains(result.out, "    1   0.000  C4    CC  64 =  60 x1")) << result.out;
  EXPECT_TRUE(Contains(result.out, "Unit 1: 32 notes, values 43..72")) << result.out;
  EXPECT_TRUE(Contains(result.out, "   56- 63   16 |")) << result.out;
  EXPECT_TRUE(Contains(result.out, "Unit 2 sent nothing.")) << result.out;
}

#if !defined(_WIN32)
// Crashes and hangs end the process, so these run fluxhost itself.
TEST(FluxhostProcess, ReportsAPluginThatCrashesWhileLoading) {
  test::ScratchDir dir;
  const std::string plugin = test::BesideExecutable("fluxhost_broken_crash");
  const auto result = test::RunFluxhostProcess(dir, {"info", plugin});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "crashed (segmentation fault) while creating the instance"))
      << result.err;
  EXPECT_TRUE(Contains(result.err, plugin)) << result.err;
}

TEST(FluxhostProcess, GivesUpOnAPluginThatNeverFinishesLoading) {
  test::ScratchDir dir;
  const std::string plugin = test::BesideExecutable("fluxhost_broken_hang");
  const auto result = test::RunFluxhostProcess(dir, {"info", "--load-timeout", "0.3", plugin});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.err, "did not finish loading within 0.3 s")) << result.err;
}
#endif

}  // namespace
}  // namespace fluxhost
