// The 32-bit Windows build has no audio-file library: WAV options are refused.
#include <stdexcept>

#include "AudioFile.h"

namespace fluxhost {

namespace {

[[noreturn]] void unavailable(const std::string& path) {
  throw std::runtime_error("cannot use '" + path + "': this build of fluxhost has no WAV support");
}

}  // namespace

bool audioFilesSupported() {
  return false;
}

std::unique_ptr<AudioFileReader> openAudioFile(const std::string& path) {
  unavailable(path);
}

std::unique_ptr<AudioFileWriter> createAudioFile(const std::string& path, double, size_t) {
  unavailable(path);
}

}  // namespace fluxhost
