#include <gtest/gtest.h>

#include <cmath>

#include "PluginInfo.h"
#include "PluginInstance.h"
#include "Render.h"
#include "testsupport/host/HostTestSupport.h"
#include "testsupport/host/MemoryAudio.h"

namespace fluxhost {
namespace {

using test::At;
using test::AudioBuffer;
using test::TempoEvent;

// What the test plug-in answers through effVendorSpecific.
constexpr VstInt32 kAskTempo = 1;
constexpr VstInt32 kAskQuarterNotes = 2;
constexpr VstInt32 kAskProcessCalls = 3;
constexpr VstInt32 kAskShellId = 4;

TEST(PluginHost, ReadsTheDescriptorNamesParametersProgramsAndPins) {
  PluginInstance plugin(test::TestPlugin());
  const PluginInfo info = DescribePlugin(plugin);
  EXPECT_EQ(FourCharText(info.uniqueId), "FhTp");
  EXPECT_EQ(info.version, 3);
  EXPECT_EQ(FlagNames(info.flags), (std::vector<std::string>{"canMono", "canReplacing"}));
  EXPECT_EQ(info.effectName, "Fluxhost Test");
  EXPECT_EQ(info.vendor, "Quelbrook");
  EXPECT_EQ(info.product, "Test Plug-in");
  EXPECT_EQ(info.vendorVersion, 7);
  ASSERT_EQ(info.parameters.size(), 2u);
  EXPECT_EQ(info.parameters[0].name, "CC Out");
  EXPECT_EQ(info.parameters[0].display, "14");
  EXPECT_EQ(info.parameters[1].label, "x");
  EXPECT_FLOAT_EQ(info.parameters[1].value, 1.0f);
  EXPECT_EQ(info.programs, (std::vector<std::string>{"First", "Second"}));
  ASSERT_EQ(info.inputs.size(), 2u);
  EXPECT_EQ(info.inputs[1].label, "In 2");
  EXPECT_EQ(info.outputs[0].label, "Out 1");
  EXPECT_EQ(info.outputs[0].flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_TRUE(info.wantsMidi);
  for (const CanDoAnswer& a : info.canDo) {
    EXPECT_EQ(a.answer, a.ability == "receiveVstEvents" || a.ability == "sendVstMidiEvent" ? 1 : -1)
        << a.ability;
  }
  const std::string json = FormatInfoJson(info);
  EXPECT_NE(json.find("\"effectName\": \"Fluxhost Test\""), std::string::npos);
  EXPECT_NE(json.find("\"programs\": [\"First\", \"Second\"]"), std::string::npos);
}

TEST(PluginHost, CollectsWhatThePluginSendsWithItsBlockAndOffset) {
  PluginInstance plugin(test::TestPlugin());
  // Notes at frames 0, 700 (block 1, offset 188) and 1535 (block 2, offset 511).
  const MidiSchedule midi({{0, {0x90, 60, 100}},
                           {700, {0x93, 62, 100}},
                           {900, {0x80, 60, 0}},
                           {1000, {0x90, 70, 0}},
                           {1535, {0x9F, 64, 1}}});
  RenderSettings settings;
  settings.blockSize = 512;
  settings.frames = 2048;
  settings.midi = &midi;
  const test::SentEventLog log(plugin.Host());
  Render(plugin, settings);
  const auto& sent = log.Events();
  ASSERT_EQ(sent.size(), 3u);  // a Note Off and a Note On of velocity 0 send nothing
  const struct {
    int64_t block;
    int32_t offset;
    uint8_t status, key;
  } expected[] = {{0, 0, 0xB0, 60}, {1, 188, 0xB3, 62}, {2, 511, 0xBF, 64}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sent[i].block, expected[i].block);
    EXPECT_EQ(sent[i].deltaFrames, expected[i].offset);
    EXPECT_EQ(sent[i].Frame(), expected[i].block * 512 + expected[i].offset);
    EXPECT_EQ(sent[i].midi[0], expected[i].status);
    EXPECT_EQ(sent[i].midi[1], 14);
    EXPECT_EQ(sent[i].midi[2], expected[i].key);
  }
  const auto automation = plugin.Host().Automation();
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, 1);
  EXPECT_FLOAT_EQ(automation[0].value, 1.0f);
}

TEST(PluginHost, EndsTheRunWithWhatTheListenerThrewWithoutCrossingThePlugin) {
  PluginInstance plugin(test::TestPlugin());
  const MidiSchedule midi({{0, {0x90, 60, 100}}, {100, {0x90, 61, 100}}, {600, {0x90, 62, 100}}});
  int heard = 0;
  const ListeningScope listening(plugin.Host(), [&heard](const SentEvent&) {
    ++heard;
    throw std::runtime_error("disk full");
  });
  RenderSettings settings;
  settings.frames = 2048;
  settings.midi = &midi;
  try {
    Render(plugin, settings);
    ADD_FAILURE() << "the run went on";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "disk full");
  }
  EXPECT_EQ(heard, 1);  // nothing more once it failed
}

TEST(PluginHost, PassesAudioThroughTheInputsAndKeepsTheLastShortBlock) {
  PluginInstance plugin(test::TestPlugin());
  plugin.SetParameter(1, 0.5f);
  AudioBuffer input;
  input.channels = {std::vector<float>(1000), std::vector<float>(1000)};
  for (size_t i = 0; i < 1000; ++i) {
    input.channels[0][i] = static_cast<float>(i);
    input.channels[1][i] = -static_cast<float>(i);
  }
  RenderSettings settings;
  settings.blockSize = 256;
  settings.frames = 1100;
  const AudioBuffer out = test::RenderToBuffer(plugin, settings, &input);
  ASSERT_EQ(out.channels.size(), 2u);
  ASSERT_EQ(out.Frames(), 1100);
  EXPECT_FLOAT_EQ(out.channels[0][999], 499.5f);
  EXPECT_FLOAT_EQ(out.channels[1][257], -128.5f);
  EXPECT_FLOAT_EQ(out.channels[0][1050], 0.0f);  // silence after the input ends
}

TEST(PluginHost, FeedsMonoInputToEveryChannel) {
  PluginInstance plugin(test::TestPlugin());
  AudioBuffer mono;
  mono.channels = {std::vector<float>(64, 0.25f)};
  RenderSettings settings;
  settings.blockSize = 32;
  settings.frames = 64;
  const AudioBuffer out = test::RenderToBuffer(plugin, settings, &mono);
  EXPECT_FLOAT_EQ(out.channels[1][63], 0.25f);
}

TEST(PluginHost, UsesAccumulatingProcessWithClearedOutputsWhenReplacingIsMissing) {
  PluginInstance plugin(test::BesideExecutable("fluxhost_test_plugin_accumulating"));
  EXPECT_FALSE(plugin.CanReplace());
  AudioBuffer input;
  input.channels = {std::vector<float>(100, 1.0f), std::vector<float>(100, 2.0f)};
  RenderSettings settings;
  settings.blockSize = 50;
  settings.frames = 100;
  const AudioBuffer out = test::RenderToBuffer(plugin, settings, &input);
  // Outputs are cleared before each call, so nothing is added twice.
  EXPECT_FLOAT_EQ(out.channels[0][99], 1.0f);
  EXPECT_FLOAT_EQ(out.channels[1][0], 2.0f);
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, kAskProcessCalls), 2);
}

TEST(PluginHost, AnswersTempoAndTimeInfoFromTheTempoMap) {
  PluginInstance plugin(test::TestPlugin());
  MidiDivision division;
  division.ticksPerQuarter = 480;
  const TempoMap tempo(division, {TempoEvent(0, 600000)});  // 100 BPM
  RenderSettings settings;
  settings.blockSize = 441;
  settings.frames = 441 * 61;  // the last block starts at 26460 frames = 0.6 s = one quarter
  settings.tempo = &tempo;
  Render(plugin, settings);
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, kAskTempo), 1000000);
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, kAskQuarterNotes), 1000);
}

TEST(PluginHost, RefusesLibrariesThatAreNotPlugins) {
  test::ScratchDir dir;
  const std::string text = dir.File(std::string("notes") + platform::LibraryExtension());
  {
    std::FILE* f = std::fopen(text.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("just some text\n", f);
    std::fclose(f);
  }
  const struct {
    std::string path;
    const char* messagePart;
  } cases[] = {
      {dir.File("absent.so"), "cannot load"},
      {text, "cannot load"},
      {test::BesideExecutable("fluxhost_broken_no_entry"),
       "exports neither VSTPluginMain nor main"},
      {test::BesideExecutable("fluxhost_broken_null_entry"), "returned no instance"},
      {test::BesideExecutable("fluxhost_broken_bad_magic"), "not a VST 2 descriptor"},
  };
  for (const auto& c : cases) {
    try {
      PluginInstance plugin(c.path);
      ADD_FAILURE() << c.path << " loaded";
    } catch (const PluginError& e) {
      EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
    }
  }
}

TEST(PluginHost, AnswersCallsMadeBeforeTheEntryPointReturns) {
  LoadOptions options;
  options.shellId = FourCharCode('S', 'u', 'b', '2');
  PluginInstance plugin(test::TestPlugin(), options);
  EXPECT_EQ(plugin.Dispatch(effVendorSpecific, kAskShellId), options.shellId);
}

TEST(PluginHost, KeepsTwoInstancesApart) {
  PluginInstance first(test::TestPlugin());
  PluginInstance second(test::TestPlugin());
  second.SetParameter(0, 20.0f / 127.0f);
  const MidiSchedule midi(std::vector<ScheduledMidi>{{10, {0x90, 60, 100}}});
  RenderSettings settings;
  settings.frames = 512;
  settings.midi = &midi;
  const test::SentEventLog firstLog(first.Host());
  const test::SentEventLog secondLog(second.Host());
  Render(first, settings);
  Render(second, settings);
  ASSERT_EQ(firstLog.Events().size(), 1u);
  ASSERT_EQ(secondLog.Events().size(), 1u);
  EXPECT_EQ(firstLog.Events()[0].midi[1], 14);
  EXPECT_EQ(secondLog.Events()[0].midi[1], 20);
}

}  // namespace
}  // namespace fluxhost
