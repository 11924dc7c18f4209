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

AudioBuffer readAudioFile(const std::string& path) {
  unavailable(path);
}

void writeAudioFile(const std::string& path, const AudioBuffer&) {
  unavailable(path);
}

}  // namespace fluxhost
