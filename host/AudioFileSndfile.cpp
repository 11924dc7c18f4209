#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "AudioFile.h"

namespace fluxhost {

namespace {

// Samples converted at a time, whatever the block size and channel count.
constexpr size_t kInterleavedSamples = 1 << 16;

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

std::runtime_error AudioError(const std::string& what, const std::string& path, SNDFILE* file) {
  return std::runtime_error("cannot " + what + " '" + path + "': " + sf_strerror(file));
}

// Frames of `channels` interleaved samples that fit in one conversion.
int32_t FramesPerPiece(size_t channels) {
  return static_cast<int32_t>(std::max<size_t>(1, kInterleavedSamples / channels));
}

class SndfileReader final : public AudioFileReader {
 public:
  explicit SndfileReader(const std::string& path) : m_Path(path) {
    m_File.reset(sf_open(path.c_str(), SFM_READ, &m_Info));
    if (!m_File) throw AudioError("read audio file", path, nullptr);
    if (m_Info.channels <= 0 || m_Info.samplerate <= 0 || m_Info.frames < 0) {
      throw std::runtime_error("'" + path + "' has no usable audio");
    }
  }

  size_t Channels() const override { return static_cast<size_t>(m_Info.channels); }
  double SampleRate() const override { return m_Info.samplerate; }
  int64_t Frames() const override { return m_Info.frames; }

  int32_t Read(std::span<float* const> channels, int32_t frames) override {
    const size_t stride = this->Channels();
    const int32_t piece = FramesPerPiece(stride);
    m_Interleaved.resize(static_cast<size_t>(std::min(frames, piece)) * stride);
    int32_t done = 0;
    while (done < frames) {
      const int32_t wanted = std::min(frames - done, piece);
      const auto got =
          static_cast<int32_t>(sf_readf_float(m_File.get(), m_Interleaved.data(), wanted));
      if (sf_error(m_File.get()) != SF_ERR_NO_ERROR) throw AudioError("read", m_Path, m_File.get());
      for (size_t c = 0; c < channels.size(); ++c) {
        for (int32_t f = 0; f < got; ++f)
          channels[c][done + f] = m_Interleaved[static_cast<size_t>(f) * stride + c];
      }
      done += got;
      if (got < wanted) break;
    }
    return done;
  }

 private:
  std::string m_Path;
  SF_INFO m_Info{};
  SndfileHandle m_File;
  std::vector<float> m_Interleaved;
};

class SndfileWriter final : public AudioFileWriter {
 public:
  SndfileWriter(const std::string& path, double sampleRate, size_t channels) : m_Path(path) {
    if (channels == 0) throw std::runtime_error("no audio channels to write to '" + path + "'");
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRate);
    info.channels = static_cast<int>(channels);
    // A WAV file's sizes stop at 4 GiB: a longer render becomes RF64 when it is closed, and a
    // shorter one stays plain WAV.
    info.format = SF_FORMAT_RF64 | SF_FORMAT_FLOAT;
    m_File.reset(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!m_File) throw AudioError("create", path, nullptr);
    sf_command(m_File.get(), SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
  }

  float Peak() const override { return m_Peak; }

  void Write(std::span<const float* const> channels, int32_t frames) override {
    const size_t stride = channels.size();
    const int32_t piece = FramesPerPiece(stride);
    m_Interleaved.resize(static_cast<size_t>(std::min(frames, piece)) * stride);
    for (int32_t done = 0; done < frames; done += piece) {
      const int32_t count = std::min(frames - done, piece);
      for (size_t c = 0; c < stride; ++c) {
        for (int32_t f = 0; f < count; ++f) {
          const float sample = channels[c][done + f];
          m_Interleaved[static_cast<size_t>(f) * stride + c] = sample;
          m_Peak = std::max(m_Peak, std::fabs(sample));
        }
      }
      if (sf_writef_float(m_File.get(), m_Interleaved.data(), count) != count)
        throw AudioError("write", m_Path, m_File.get());
    }
  }

  void Close() override {
    // The header's lengths are written on closing.
    const int error = sf_close(m_File.release());
    if (error != SF_ERR_NO_ERROR) {
      throw std::runtime_error("cannot write '" + m_Path + "': " + sf_error_number(error));
    }
  }

 private:
  std::string m_Path;
  SndfileHandle m_File;
  std::vector<float> m_Interleaved;
  float m_Peak = 0.0f;
};

}  // namespace

bool AudioFilesSupported() {
  return true;
}

std::unique_ptr<AudioFileReader> OpenAudioFile(const std::string& path) {
  return std::make_unique<SndfileReader>(path);
}

std::unique_ptr<AudioFileWriter> CreateAudioFile(const std::string& path, double sampleRate,
                                                 size_t channels) {
  return std::make_unique<SndfileWriter>(path, sampleRate, channels);
}

}  // namespace fluxhost
