#include "AudioFile.h"

#include <gtest/gtest.h>

#include "testsupport/host/HostTestSupport.h"

namespace fluxhost {
namespace {

float SampleAt(size_t channel, size_t frame) {
  return static_cast<float>(channel + 1) * 0.0015f * static_cast<float>(frame % 97) - 0.25f;
}

// Three channels of 50000 frames are more samples than one conversion takes,
// on the way out and on the way back.
TEST(AudioFile, WritesAndReadsBackBlocksLongerThanOneConversion) {
  if (!AudioFilesSupported()) GTEST_SKIP() << "this build has no WAV support";
  test::ScratchDir dir;
  const std::string path = dir.File("three.wav");
  constexpr size_t kFrames = 50000;
  std::vector<std::vector<float>> channels(3, std::vector<float>(kFrames));
  for (size_t c = 0; c < 3; ++c) {
    for (size_t f = 0; f < kFrames; ++f) channels[c][f] = SampleAt(c, f);
  }
  channels[1][40000] = -0.875f;
  const std::vector<const float*> out = {channels[0].data(), channels[1].data(),
                                         channels[2].data()};
  const auto writer = CreateAudioFile(path, 48000.0, 3);
  writer->Write(out, kFrames);
  writer->Close();
  EXPECT_FLOAT_EQ(writer->Peak(), 0.875f);

  const auto reader = OpenAudioFile(path);
  EXPECT_EQ(reader->Channels(), 3u);
  EXPECT_EQ(reader->SampleRate(), 48000.0);
  EXPECT_EQ(reader->Frames(), static_cast<int64_t>(kFrames));
  std::vector<std::vector<float>> back(2, std::vector<float>(1 << 16));
  const std::vector<float*> in = {back[0].data(), back[1].data()};  // the first two only
  ASSERT_EQ(reader->Read(in, 1 << 16), static_cast<int32_t>(kFrames));
  for (size_t c = 0; c < 2; ++c) {
    back[c].resize(kFrames);
    EXPECT_EQ(back[c], channels[c]) << "channel " << c;
  }
  EXPECT_EQ(reader->Read(in, 100), 0);
}

}  // namespace
}  // namespace fluxhost
