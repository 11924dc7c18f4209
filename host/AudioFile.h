#pragma once
// WAV files read and written block by block.

#include <cstdint>
#include <memory>
#include <string>

#include "AudioStream.h"

namespace fluxhost {

class AudioFileReader : public AudioSource {
 public:
  virtual double SampleRate() const = 0;  // as the file's header says
  virtual int64_t Frames() const = 0;
};

class AudioFileWriter : public AudioSink {
 public:
  virtual float Peak() const = 0;  // the largest magnitude written
  // Completes the file; throws when anything was lost.
  virtual void Close() = 0;
};

// False in a build without WAV support (the 32-bit Windows one).
bool AudioFilesSupported();
// Both throw std::runtime_error naming the file and the problem.
std::unique_ptr<AudioFileReader> OpenAudioFile(const std::string& path);
std::unique_ptr<AudioFileWriter> CreateAudioFile(
    const std::string& path, double sampleRate,
    size_t channels);  // 32-bit float WAV, RF64 past 4 GiB

}  // namespace fluxhost
