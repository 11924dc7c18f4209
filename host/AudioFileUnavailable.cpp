// The 32-bit Windows build has no audio-file library: WAV options are refused.
#include <stdexcept>

#include "AudioFile.h"

namespace fluxhost {

namespace {

[[noreturn]] void Unavailable(const std::string& path) {
  throw std::runtime_error("cannot use '" + path + "': this build of fluxhost has no WAV support");
}

}  // namespace

bool AudioFilesSupported() {
  return false;
}

std::unique_ptr<AudioFileReader> OpenAudioFile(const std::string& path) {
  Unavailable(path);
}

std::unique_ptr<AudioFileWriter> CreateAudioFile(const std::string& path, double, size_t) {
  Unavailable(path);
}

}  // namespace fluxhost
