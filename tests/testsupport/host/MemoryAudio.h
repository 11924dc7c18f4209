#pragma once
// Audio held in memory for the host's tests, one array per channel: as the
// input and output of a run, and read from or written to a WAV file.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AudioFile.h"
#include "Render.h"

namespace fluxhost::test {

struct AudioBuffer {
  double sampleRate = 44100.0;
  std::vector<std::vector<float>> channels;  // all of the same length

  int64_t Frames() const { return channels.empty() ? 0 : static_cast<int64_t>(channels[0].size()); }
};

class BufferSource : public AudioSource {
 public:
  explicit BufferSource(const AudioBuffer& audio) : m_Audio(audio) {}
  size_t Channels() const override { return m_Audio.channels.size(); }
  int32_t Read(std::span<float* const> channels, int32_t frames) override {
    const auto left = static_cast<size_t>(m_Audio.Frames()) - m_Read;
    const auto count = std::min(static_cast<size_t>(frames), left);
    for (size_t c = 0; c < channels.size(); ++c)
      std::copy_n(m_Audio.channels[c].data() + m_Read, count, channels[c]);
    m_Read += count;
    return static_cast<int32_t>(count);
  }

 private:
  const AudioBuffer& m_Audio;
  size_t m_Read = 0;
};

class BufferSink : public AudioSink {
 public:
  void Write(std::span<const float* const> channels, int32_t frames) override {
    audio.channels.resize(channels.size());
    for (size_t c = 0; c < channels.size(); ++c)
      audio.channels[c].insert(audio.channels[c].end(), channels[c], channels[c] + frames);
  }
  AudioBuffer audio;
};

// Runs the plug-in with `input` in its inputs (silence without) and returns its outputs.
inline AudioBuffer RenderToBuffer(PluginInstance& plugin, RenderSettings settings,
                                  const AudioBuffer* input = nullptr) {
  std::optional<BufferSource> source;
  if (input != nullptr) settings.input = &source.emplace(*input);
  BufferSink sink;
  settings.output = &sink;
  Render(plugin, settings);
  sink.audio.sampleRate = settings.sampleRate;
  return sink.audio;
}

inline AudioBuffer ReadWav(const std::string& path) {
  const auto file = OpenAudioFile(path);
  BufferSink sink;
  std::vector<std::vector<float>> block(file->Channels(), std::vector<float>(4096));
  std::vector<float*> pointers;
  for (auto& channel : block) pointers.push_back(channel.data());
  while (const int32_t got = file->Read(pointers, 4096)) {
    sink.Write(std::vector<const float*>(pointers.begin(), pointers.end()), got);
  }
  sink.audio.sampleRate = file->SampleRate();
  return sink.audio;
}

inline void WriteWav(const std::string& path, const AudioBuffer& audio) {
  const auto file = CreateAudioFile(path, audio.sampleRate, audio.channels.size());
  std::vector<const float*> pointers;
  for (const auto& channel : audio.channels) pointers.push_back(channel.data());
  file->Write(pointers, static_cast<int32_t>(audio.Frames()));
  file->Close();
}

}  // namespace fluxhost::test
