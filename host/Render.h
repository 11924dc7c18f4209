#pragma once
// Runs a plug-in over a stretch of time, block by block, as a host's transport does.

#include <cstdint>
#include <functional>
#include <optional>

#include "AudioStream.h"
#include "MidiSchedule.h"
#include "PluginInstance.h"
#include "TempoMap.h"

namespace fluxhost {

// A file whose events lie days apart is more likely broken than meant; the limit
// also keeps every frame count of a run far from overflowing.
constexpr double kLongestRunSeconds = 24 * 3600.0;

// A MIDI file placed on the frame time line of a run.
struct PreparedMidi {
  TempoMap tempo;
  MidiSchedule schedule;
  int64_t endFrame = 0;  // where the file's last event, of any kind, falls
};

// With `bpm` the file plays at that one tempo, whatever its tempo events say.
// Format 2 files (independent sequences) and files that last longer than
// kLongestRunSeconds are refused.
PreparedMidi PrepareMidi(MidiFile file, std::optional<double> bpm, double sampleRate);

struct RenderSettings {
  double sampleRate = 44100.0;
  int32_t blockSize = 512;
  int64_t frames = 0;                  // length of the run
  const TempoMap* tempo = nullptr;     // what the host reports; 120 beats per minute without
  const MidiSchedule* midi = nullptr;  // events handed in with their block offsets
  AudioSource* input = nullptr;        // input c plays channel c modulo the source's channels
  AudioSink* output = nullptr;         // gets the plug-in's outputs, block by block
  std::function<void(int64_t done, int64_t total)> progress;
};

// Starts the instance, processes every block (silence where there is no input),
// and stops it. What the plug-in sends goes to its HostContext's listener; the
// run ends with what that throws.
void Render(PluginInstance& plugin, const RenderSettings& settings);

}  // namespace fluxhost
