#pragma once
// Audio that flows through a run block by block, one array per channel: where
// it comes from and where it goes, so that no run holds all of it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace fluxhost {

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual size_t Channels() const = 0;
  // Fills the arrays of the first channels.size() channels (at most Channels())
  // with up to `frames` samples each; returns how many, fewer only at the end.
  virtual int32_t Read(std::span<float* const> channels, int32_t frames) = 0;
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual void Write(std::span<const float* const> channels, int32_t frames) = 0;
};

}  // namespace fluxhost
