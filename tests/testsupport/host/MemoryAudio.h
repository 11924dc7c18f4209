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

  int64_t frames() const { return channels.empty() ? 0 : static_cast<int64_t>(channels[0].size()); }
};

class BufferSource : public AudioSource {
 public:
  explicit BufferSource(const AudioBuffer& audio) : m_audio(audio) {}
  size_t channels() const override { return m_audio.channels.size(); }
  int32_t read(std::span<float* const> channels, int32_t frames) override {
    const auto left = static_cast<size_t>(m_audio.frames()) - m_read;
    const auto count = std::min(static_cast<size_t>(frames), left);
    for (size_t c = 0; c < channels.size(); ++c)
      std::copy_n(m_audio.channels[c].data() + m_read, count, channels[c]);
    m_read += count;
    return static_cast<int32_t>(count);
  }

 private:
  const AudioBuffer& m_audio;
  size_t m_read = 0;
};

class BufferSink : public AudioSink {
 public:
  void write(std::span<const float* const> channels, int32_t frames) override {
    audio.channels.resize(channels.size());
    for (size_t c = 0; c < channels.size(); ++c)
      audio.channels[c].insert(audio.channels[c].end(), channels[c], channels[c] + frames);
  }
  AudioBuffer audio;
};

// Runs the plug-in with `input` in its inputs (silence without) and returns its outputs.
inline AudioBuffer renderToBuffer(PluginInstance& plugin, RenderSettings settings,
                                  const AudioBuffer* input = nullptr) {
  std::optional<BufferSource> source;
  if (input != nullptr) settings.input = &source.emplace(*input);
  BufferSink sink;
  settings.output = &sink;
  render(plugin, settings);
  sink.audio.sampleRate = settings.sampleRate;
  return sink.audio;
}

inline AudioBuffer readWav(const std::string& path) {
  const auto file = openAudioFile(path);
  BufferSink sink;
  std::vector<std::vector<float>> block(file->channels(), std::vector<float>(4096));
  std::vector<float*> pointers;
  for (auto& channel : block) pointers.push_back(channel.data());
  while (const int32_t got = file->read(pointers, 4096)) {
    sink.write(std::vector<const float*>(pointers.begin(), pointers.end()), got);
  }
  sink.audio.sampleRate = file->sampleRate();
  return sink.audio;
}

inline void writeWav(const std::string& path, const AudioBuffer& audio) {
  const auto file = createAudioFile(path, audio.sampleRate, audio.channels.size());
  std::vector<const float*> pointers;
  for (const auto& channel : audio.channels) pointers.push_back(channel.data());
  file->write(pointers, static_cast<int32_t>(audio.frames()));
  file->close();
}

}  // namespace fluxhost::test
