#include "Render.h"

#include <algorithm>
#include <stdexcept>

#include "TextFormat.h"

namespace fluxhost {

namespace {

// Sloppy plug-ins index their first two channels whatever they declare.
constexpr size_t kMinChannelArrays = 2;

struct BlockBuffers {
  BlockBuffers(size_t channels, int32_t blockSize)
      : samples(std::max(channels, kMinChannelArrays),
                std::vector<float>(static_cast<size_t>(blockSize))) {
    for (auto& channel : samples) pointers.push_back(channel.data());
  }
  std::vector<std::vector<float>> samples;
  std::vector<float*> pointers;
};

// The source's channels go straight into the first inputs; the others repeat them.
void FillInputs(BlockBuffers& inputs, AudioSource* source, int32_t frames) {
  const size_t count = inputs.pointers.size();
  const size_t read = source == nullptr ? 0 : std::min(source->Channels(), count);
  const int32_t got = read == 0 ? 0 : source->Read(std::span(inputs.pointers.data(), read), frames);
  for (size_t c = 0; c < count; ++c) {
    float* in = inputs.pointers[c];
    if (c < read) {
      std::fill(in + got, in + frames, 0.0f);
    } else if (read > 0) {
      std::copy_n(inputs.pointers[c % read], frames, in);
    } else {
      std::fill_n(in, frames, 0.0f);
    }
  }
}

std::vector<VstMidiEvent> BlockEvents(const MidiSchedule* midi, int64_t start, int32_t frames) {
  std::vector<VstMidiEvent> events;
  if (midi == nullptr) return events;
  for (const ScheduledMidi& scheduled : midi->Block(start, frames)) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = static_cast<VstInt32>(sizeof(VstMidiEvent));
    event.deltaFrames = static_cast<VstInt32>(scheduled.frame - start);
    std::copy_n(scheduled.bytes, 3, reinterpret_cast<uint8_t*>(event.midiData));
    events.push_back(event);
  }
  return events;
}

}  // namespace

PreparedMidi PrepareMidi(MidiFile file, std::optional<double> bpm, double sampleRate) {
  if (file.format == 2)
    throw std::runtime_error("format 2 MIDI files (independent sequences) cannot be played");
  const MidiDivision division = file.division;
  const MidiTrack merged = MergeTracks(std::move(file));
  TempoMap tempo = bpm ? TempoMap::Constant(division, *bpm) : TempoMap(division, merged);
  // Checked in seconds, before any time becomes a frame number that could overflow.
  const double seconds = merged.empty() ? 0.0 : tempo.SecondsAt(merged.back().tick);
  if (!(seconds <= kLongestRunSeconds)) {
    throw std::runtime_error(
        FormatText("the MIDI file would play for %.0f s; runs over 24 hours are refused", seconds));
  }
  MidiSchedule schedule(merged, tempo, sampleRate);
  const int64_t end = merged.empty() ? 0 : tempo.FrameAt(merged.back().tick, sampleRate) + 1;
  return {std::move(tempo), std::move(schedule), end};
}

void Render(PluginInstance& plugin, const RenderSettings& settings) {
  const auto outputCount = static_cast<size_t>(plugin.Effect().numOutputs);
  BlockBuffers inputs(static_cast<size_t>(plugin.Effect().numInputs), settings.blockSize);
  BlockBuffers outputs(outputCount, settings.blockSize);

  plugin.Host().SetTransport(settings.sampleRate, settings.blockSize,
                             settings.tempo != nullptr
                                 ? *settings.tempo
                                 : TempoMap::Constant(MidiDivision{}, TempoMap::kDefaultBpm));
  plugin.Start(settings.sampleRate, settings.blockSize);
  int64_t block = 0;
  for (int64_t start = 0; start < settings.frames; start += settings.blockSize, ++block) {
    const auto frames =
        static_cast<int32_t>(std::min<int64_t>(settings.blockSize, settings.frames - start));
    FillInputs(inputs, settings.input, frames);
    std::vector<VstMidiEvent> events = BlockEvents(settings.midi, start, frames);
    plugin.Host().BeginBlock(block, start);
    plugin.ProcessBlock(events, inputs.pointers.data(), outputs.pointers.data(), frames);
    plugin.Host().RethrowListenerFailure();
    if (settings.output != nullptr) {
      settings.output->Write(std::span<const float* const>(outputs.pointers.data(), outputCount),
                             frames);
    }
    if (settings.progress) settings.progress(start + frames, settings.frames);
  }
  plugin.Stop();
}

}  // namespace fluxhost
