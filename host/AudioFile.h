#pragma once
// Audio in memory, one array per channel, and its WAV files.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace fluxhost {

struct AudioBuffer {
  double sampleRate = 44100.0;
  std::vector<std::vector<float>> channels;  // all of the same length

  int64_t frames() const { return channels.empty() ? 0 : static_cast<int64_t>(channels[0].size()); }
  float peak() const {  // the largest magnitude of any sample
    float largest = 0.0f;
    for (const auto& channel : channels) {
      for (float sample : channel) largest = std::max(largest, std::fabs(sample));
    }
    return largest;
  }
};

// False in a build without WAV support (the 32-bit Windows one).
bool audioFilesSupported();
// Both throw std::runtime_error naming the file and the problem.
AudioBuffer readAudioFile(const std::string& path);
void writeAudioFile(const std::string& path, const AudioBuffer& audio);  // 32-bit float WAV

}  // namespace fluxhost
