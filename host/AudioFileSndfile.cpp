#include <sndfile.h>

#include <memory>
#include <stdexcept>

#include "AudioFile.h"

namespace fluxhost {

namespace {

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

std::runtime_error audioError(const std::string& what, const std::string& path, SNDFILE* file) {
  return std::runtime_error("cannot " + what + " '" + path + "': " + sf_strerror(file));
}

}  // namespace

bool audioFilesSupported() {
  return true;
}

AudioBuffer readAudioFile(const std::string& path) {
  SF_INFO info{};
  SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) throw audioError("read audio file", path, nullptr);
  if (info.channels <= 0 || info.samplerate <= 0 || info.frames < 0) {
    throw std::runtime_error("'" + path + "' has no usable audio");
  }
  const auto channels = static_cast<size_t>(info.channels);
  const auto frames = static_cast<size_t>(info.frames);
  std::vector<float> interleaved(frames * channels);
  const sf_count_t read = sf_readf_float(file.get(), interleaved.data(), info.frames);
  AudioBuffer audio;
  audio.sampleRate = info.samplerate;
  audio.channels.assign(channels, std::vector<float>(static_cast<size_t>(read)));
  for (size_t f = 0; f < static_cast<size_t>(read); ++f) {
    for (size_t c = 0; c < channels; ++c) audio.channels[c][f] = interleaved[f * channels + c];
  }
  return audio;
}

void writeAudioFile(const std::string& path, const AudioBuffer& audio) {
  SF_INFO info{};
  info.samplerate = static_cast<int>(audio.sampleRate);
  info.channels = static_cast<int>(audio.channels.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  if (info.channels == 0) throw std::runtime_error("no audio channels to write to '" + path + "'");
  SndfileHandle file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file) throw audioError("create", path, nullptr);
  const auto channels = audio.channels.size();
  const auto frames = static_cast<size_t>(audio.frames());
  std::vector<float> interleaved(frames * channels);
  for (size_t f = 0; f < frames; ++f) {
    for (size_t c = 0; c < channels; ++c) interleaved[f * channels + c] = audio.channels[c][f];
  }
  if (sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(frames)) !=
      static_cast<sf_count_t>(frames)) {
    throw audioError("write", path, file.get());
  }
}

}  // namespace fluxhost
