// The host against plug-ins written by others (ThirdPartyPlugins.h).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "PluginInfo.h"
#include "Render.h"
#include "testsupport/host/HostTestSupport.h"
#include "testsupport/host/MemoryAudio.h"
#include "testsupport/host/ThirdPartyPlugins.h"

namespace fluxhost {
namespace {

using test::AudioBuffer;
using test::kEffect;
using test::kInstrument;
using test::kTrigger;

// Four bursts of a 1 kHz tone, 30 ms each, every half second, on both channels.
AudioBuffer ClickTrack() {
  AudioBuffer audio;
  std::vector<float> samples(88200, 0.0f);
  for (size_t click = 0; click < 4; ++click) {
    for (size_t i = 0; i < 1300; ++i) {
      samples[click * 22050 + i] =
          0.9f * static_cast<float>(
                     std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i) / 44100.0));
    }
  }
  audio.channels = {samples, samples};
  return audio;
}

float PeakIn(const AudioBuffer& audio, int64_t from, int64_t to) {
  float peak = 0.0f;
  for (const auto& channel : audio.channels) {
    for (int64_t i = from; i < to; ++i)
      peak = std::max(peak, std::fabs(channel[static_cast<size_t>(i)]));
  }
  return peak;
}

TEST(ThirdPartyPlugins, InstrumentDescribesItselfAndPlaysNotes) {
  REQUIRE_PLUGIN(kInstrument);
  PluginInstance plugin(kInstrument);
  const PluginInfo info = DescribePlugin(plugin);
  EXPECT_EQ(info.effectName, "amsynth");
  EXPECT_EQ(FourCharText(info.uniqueId), "amsy");
  EXPECT_TRUE(info.flags & effFlagsIsSynth);
  EXPECT_EQ(info.numInputs, 0);
  EXPECT_EQ(info.numOutputs, 2);
  EXPECT_GT(info.numParams, 20);
  EXPECT_EQ(info.parameters[0].name, "amp_attack");
  EXPECT_EQ(info.canDo[3].ability, "receiveVstMidiEvent");
  EXPECT_EQ(info.canDo[3].answer, 1);

  const MidiSchedule notes({{4410, {0x90, 60, 100}},
                            {4410, {0x90, 64, 100}},
                            {30000, {0x80, 60, 0}},
                            {30000, {0x80, 64, 0}}});
  RenderSettings settings;
  settings.frames = 44100;
  settings.midi = &notes;
  const AudioBuffer out = test::RenderToBuffer(plugin, settings);
  EXPECT_LT(PeakIn(out, 0, 4410), 1e-4f) << "sound before the first note";
  EXPECT_GT(PeakIn(out, 4410, 30000), 0.05f) << "no sound from the notes";
}

TEST(ThirdPartyPlugins, EffectChangesTheAudioPassingThrough) {
  REQUIRE_PLUGIN(kEffect);
  PluginInstance plugin(kEffect);
  const PluginInfo info = DescribePlugin(plugin);
  EXPECT_EQ(info.effectName, "Dragonfly Room Reverb");
  EXPECT_EQ(info.numInputs, 2);
  EXPECT_EQ(info.numOutputs, 2);
  EXPECT_EQ(info.parameters[0].name, "Dry Level");

  AudioBuffer input;
  std::vector<float> impulse(44100, 0.0f);
  impulse[100] = 1.0f;
  input.channels = {impulse, impulse};
  RenderSettings settings;
  settings.frames = 44100;
  const AudioBuffer out = test::RenderToBuffer(plugin, settings, &input);
  // The impulse comes out (dry) and a reverberant tail follows it.
  EXPECT_GT(PeakIn(out, 0, 2000), 0.1f);
  EXPECT_GT(PeakIn(out, 2000, 20000), 1e-4f) << "no reverb tail";
}

TEST(ThirdPartyPlugins, TriggerTurnsClicksIntoMidiNotes) {
  REQUIRE_PLUGIN(kTrigger);
  PluginInstance plugin(kTrigger);
  const PluginInfo info = DescribePlugin(plugin);
  EXPECT_EQ(info.effectName, "Trigger MIDI Stereo");
  EXPECT_EQ(info.numInputs, 2);
  EXPECT_EQ(info.canDo[1].ability, "sendVstMidiEvent");
  EXPECT_EQ(info.canDo[1].answer, 1);

  const AudioBuffer clicks = ClickTrack();
  RenderSettings settings;
  settings.frames = clicks.Frames();
  const test::SentEventLog log(plugin.Host());
  test::RenderToBuffer(plugin, settings, &clicks);
  std::vector<int64_t> noteOns;
  for (const SentEvent& e : log.Events()) {
    ASSERT_EQ(e.type, kVstMidiType);
    EXPECT_GE(e.deltaFrames, 0);
    EXPECT_LT(e.deltaFrames, settings.blockSize);
    if ((e.midi[0] & 0xF0) == 0x90 && e.midi[2] > 0) noteOns.push_back(e.Frame());
  }
  ASSERT_EQ(noteOns.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const auto click = static_cast<int64_t>(i) * 22050;
    EXPECT_GE(noteOns[i], click);
    EXPECT_LT(noteOns[i], click + 1300) << "note " << i << " far from its click";
  }
}

TEST(ThirdPartyPlugins, FluxhostCommandsRunEachPlugin) {
  int tried = 0;
  for (const char* path : {kInstrument, kEffect, kTrigger}) {
    if (!test::installed(path)) continue;
    ++tried;
    const auto info = test::RunCommand({"info", path, "--json"});
    EXPECT_EQ(info.exitCode, 0) << path << ": " << info.err;
    EXPECT_NE(info.out.find("\"parameters\": ["), std::string::npos);
  }
  if (tried == 0) GTEST_SKIP() << "none of the plug-ins is installed";
}

}  // namespace
}  // namespace fluxhost
