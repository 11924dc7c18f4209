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

using test::at;
using test::runCommand;
using test::tempoEvent;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Format 1: a conductor track (120 BPM, then 60 BPM after a beat) and two notes.
std::string writePhrase(const test::ScratchDir& dir) {
  MidiFile file;
  file.format = 1;
  file.division.ticksPerQuarter = 480;
  file.tracks.push_back({tempoEvent(0, 500000), tempoEvent(480, 1000000)});
  file.tracks.push_back({at(0, {0x90, 60, 100}), at(240, {0x80, 60, 0}), at(720, {0x91, 67, 90}),
                         at(960, {0x81, 67, 0})});
  const std::string path = dir.file("phrase.mid");
  writeMidiFile(file, path);
  return path;
}

TEST(FluxhostCommand, AnswersBadUsageWithExitCode2) {
  const std::string plugin = test::testPlugin();
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
    const auto result = runCommand(args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(result.err.empty());
  }
}

TEST(FluxhostCommand, PrintsHelpForEveryCommand) {
  for (const char* command : {"info", "play", "demo"}) {
    const auto result = runCommand({command, "--help"});
    EXPECT_EQ(result.exitCode, 0) << command;
    EXPECT_TRUE(contains(result.out, std::string("Usage: fluxhost ") + command)) << result.out;
  }
  EXPECT_EQ(runCommand({"--help"}).exitCode, 0);
}

TEST(FluxhostCommand, InfoPrintsTextOrJson) {
  const auto text = runCommand({"info", test::testPlugin()});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "Effect       Fluxhost Test")) << text.out;
  EXPECT_TRUE(contains(text.out, "Flags        24: canMono canReplacing")) << text.out;
  EXPECT_TRUE(contains(text.out, "Parameters (2)")) << text.out;
  EXPECT_TRUE(contains(text.out, "receiveVstEvents       yes")) << text.out;
  const auto json = runCommand({"info", test::testPlugin(), "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(json.out.front(), '{');
  EXPECT_TRUE(contains(json.out, "\"uniqueIdText\": \"FhTp\"")) << json.out;
}

TEST(FluxhostCommand, FailsWithAMessageNamingTheBadFile) {
  test::ScratchDir dir;
  const std::string absent = dir.file("absent.so");
  auto result = runCommand({"info", absent});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, absent)) << result.err;

  const std::string cut = dir.file("cut.mid");
  writeBinaryFile(cut, {'M', 'T', 'h', 'd', 0,   0,   0, 6, 0, 0, 0, 1,
                        0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, 9, 0, 0x90});
  result = runCommand({"play", test::testPlugin(), "--midi", cut});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "cut.mid") && contains(result.err, "claims 9 bytes"))
      << result.err;

  result = runCommand({"play", test::testPlugin(), "--midi", dir.file("none.mid")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "none.mid")) << result.err;

  MidiFile farAway;
  farAway.tracks.push_back({at(480ull * 2 * 3600 * 30, {0x90, 60, 100})});  // 30 hours in
  writeMidiFile(farAway, dir.file("far.mid"));
  result = runCommand({"play", test::testPlugin(), "--midi", dir.file("far.mid")});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "runs over 24 hours are refused")) << result.err;

  result = runCommand({"play", test::testPlugin(), "--midi", writePhrase(dir), "--param", "7=0.5"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "no parameter 7")) << result.err;
}

TEST(FluxhostCommand, PlayWritesTheSentEventsAsTextAndAsAMidiFile) {
  test::ScratchDir dir;
  const std::string out = dir.file("sent.mid");
  const auto result = runCommand({"play", test::testPlugin(), "--midi", writePhrase(dir), "--out",
                                  out, "--text", "--param", "0=0.0787402"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The second note is half a beat into the 60 BPM part: 1.0 s, frame 44100,
  // block 86 at offset 68.
  EXPECT_EQ(result.out,
            "    time  block  offset  ch  message\n"
            "   0.000      0       0   1  CC 10 = 60\n"
            "   1.000     86      68   2  CC 10 = 67\n");
  const MidiFile sent = readMidiFile(out);
  ASSERT_EQ(sent.tracks.size(), 1u);
  std::vector<MidiEvent> controlChanges;
  for (const MidiEvent& e : sent.tracks[0]) {
    if (e.isChannelMessage()) controlChanges.push_back(e);
  }
  ASSERT_EQ(controlChanges.size(), 2u);
  EXPECT_EQ(controlChanges[1].tick, 720u);  // the same tempo map, so the note's own tick
  EXPECT_EQ(controlChanges[1].bytes, (std::vector<uint8_t>{0xB1, 10, 67}));
  EXPECT_TRUE(contains(result.err, "4 MIDI events in, 2 events out")) << result.err;
}

TEST(FluxhostCommand, PlayAtAFixedTempoIgnoresTheFileTempoMap) {
  test::ScratchDir dir;
  const auto result =
      runCommand({"play", test::testPlugin(), "--midi", writePhrase(dir), "--tempo", "60"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.out, "   1.500    129     102   2  CC 14 = 67")) << result.out;
}

TEST(FluxhostCommand, PlayPassesWavAudioThroughThePlugin) {
  test::ScratchDir dir;
  const std::string in = dir.file("in.wav");
  const std::string out = dir.file("out.wav");
  if (!audioFilesSupported()) {
    EXPECT_EQ(runCommand({"play", test::testPlugin(), "--audio", in, "--audio-out", out}).exitCode,
              2);
    return;
  }
  test::AudioBuffer audio;
  audio.sampleRate = 48000.0;
  audio.channels = {std::vector<float>(4800, 0.5f)};
  test::writeWav(in, audio);
  const auto result = runCommand({"play", test::testPlugin(), "--audio", in, "--audio-out", out,
                                  "--param", "1=0.5", "--tail", "0.05"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const test::AudioBuffer back = test::readWav(out);
  EXPECT_EQ(back.sampleRate, 48000.0);
  ASSERT_EQ(back.channels.size(), 2u);
  EXPECT_EQ(back.frames(), 4800 + 2400);
  EXPECT_FLOAT_EQ(back.channels[1][4799], 0.25f);
  EXPECT_FLOAT_EQ(back.channels[0][4800], 0.0f);
  EXPECT_EQ(runCommand({"play", test::testPlugin(), "--audio", in, "--rate", "44100"}).exitCode, 2);
}

TEST(FluxhostCommand, DemoReportsControlChangesPerNoteAndUnit) {
  const auto result = runCommand({"demo", "--plugin", test::testPlugin()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The test plug-in's one unit sends the key on the note's channel; the demo's
  // first setting, 0.5, makes its controller 64.
  EXPECT_TRUE(contains(result.out, "    1   0.000  C4    CC  64 =  60 x1")) << result.out;
  EXPECT_TRUE(contains(result.out, "Unit 1: 32 notes, values 43..72")) << result.out;
  EXPECT_TRUE(contains(result.out, "   56- 63   16 |")) << result.out;
  EXPECT_TRUE(contains(result.out, "Unit 2 sent nothing.")) << result.out;
}

#if !defined(_WIN32)
// Crashes and hangs end the process, so these run fluxhost itself.
TEST(FluxhostProcess, ReportsAPluginThatCrashesWhileLoading) {
  test::ScratchDir dir;
  const std::string plugin = test::besideExecutable("fluxhost_broken_crash");
  const auto result = test::runFluxhostProcess(dir, {"info", plugin});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "crashed (segmentation fault) while creating the instance"))
      << result.err;
  EXPECT_TRUE(contains(result.err, plugin)) << result.err;
}

TEST(FluxhostProcess, GivesUpOnAPluginThatNeverFinishesLoading) {
  test::ScratchDir dir;
  const std::string plugin = test::besideExecutable("fluxhost_broken_hang");
  const auto result = test::runFluxhostProcess(dir, {"info", "--load-timeout", "0.3", plugin});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "did not finish loading within 0.3 s")) << result.err;
}
#endif

}  // namespace
}  // namespace fluxhost
