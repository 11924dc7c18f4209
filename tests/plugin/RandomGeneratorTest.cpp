// The shared generator: the sequence from known seeds, wrapping at 2^32, the ends of its range,
// and reseeding from the time of day.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>

#include "plugin/RandomGenerator.h"

namespace {

struct Draw {
  uint32_t state;
  double value;
};

void ExpectDraws(uint32_t seed, std::initializer_list<Draw> draws) {
  flux::SetRandomSeed(seed);
  for (const Draw& draw : draws) {
    EXPECT_EQ(flux::nextRandom(), draw.value) << "after seed " << seed;
    EXPECT_EQ(flux::randomSeed(), draw.state) << "after seed " << seed;
  }
}

TEST(RandomGenerator, DrawsTheKnownSequences) {
  ExpectDraws(0, {{1u, 0x1p-32},
                  {134775814u, 0x1.011080cp-5},
                  {3698175007u, 0x1.b8db583ep-1},
                  {870078620u, 0x1.9ee2c4ep-3},
                  {1172187917u, 0x1.1778ac34p-2}});
  ExpectDraws(12345, {{1655067934u, 0x1.8a995478p-2},
                      {1242767767u, 0x1.284c865cp-2},
                      {342459380u, 0x1.46983f4p-4},
                      {2377737157u, 0x1.1b72c78ap-1},
                      {2721613530u, 0x1.44710db4p-1}});
}

TEST(RandomGenerator, WrapsAt2To32AndStaysBelowOne) {
  ExpectDraws(0xFFFFFFFFu, {{4160191484u, 0x1.efeef7f8p-1}});
  ExpectDraws(1298181734u, {{0xFFFFFFFFu, 0x1.fffffffep-1}});  // the largest value
  ExpectDraws(649090867u, {{0u, 0.0}});                        // and the smallest
}

TEST(RandomGenerator, RandomizeSeedsWithTheMillisecondOfTheDay) {
  const auto millisecondOfDay = [] {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % 86'400'000;
  };
  const auto before = millisecondOfDay();
  flux::randomize();
  const auto after = millisecondOfDay();
  const auto seed = static_cast<int64_t>(flux::randomSeed());
  if (before <= after) {
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, after);
  } else {  // midnight passed in between
    EXPECT_TRUE(seed >= before || seed <= after) << seed;
  }
}

}  // namespace
