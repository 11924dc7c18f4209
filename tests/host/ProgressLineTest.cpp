#include "ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fluxhost {
namespace {

using namespace std::chrono_literals;

struct ManualClock {
  ProgressLine::Clock::time_point now{};
  auto reader() {
    return [this] { return now; };
  }
};

// Ten minutes at 1 kHz, played at 30 times real time.
TEST(ProgressLine, ShowsTimePlayedOfTotalAndRateOnceARunTakesLongAndWipesItAtTheEnd) {
  ManualClock clock;
  std::ostringstream err;
  ProgressLine line(err, 1000.0, 600'000, true, clock.reader());
  clock.now += 1s;
  line.update(30'000);
  EXPECT_EQ(err.str(), "") << "a short run says nothing";
  clock.now += 1s;
  line.update(60'000);
  const std::string first = "\rplayed 1:00 of 10:00, 30.0x real time";
  EXPECT_EQ(err.str(), first);
  clock.now += 100ms;
  line.update(63'000);
  EXPECT_EQ(err.str(), first) << "redrawn a few times a second, not for every block";
  clock.now += 2min;
  line.update(599'000);
  const std::string second = "\rplayed 9:59 of 10:00, 4.9x real time ";  // covers the longer one
  EXPECT_EQ(err.str(), first + second);
  line.finish();
  const std::string wiped = "\r" + std::string(36, ' ') + "\r";
  EXPECT_EQ(err.str(), first + second + wiped);
  line.update(600'000);
  EXPECT_EQ(err.str(), first + second + wiped) << "nothing after the end";
}

TEST(ProgressLine, SaysNothingWhenTheErrorStreamIsNoTerminal) {
  ManualClock clock;
  std::ostringstream err;
  {
    ProgressLine line(err, 1000.0, 600'000, false, clock.reader());
    clock.now += 1h;
    line.update(300'000);
  }
  EXPECT_EQ(err.str(), "");
}

TEST(ProgressLine, FormatsPlayTimeWithHoursOnlyPastTheFirst) {
  EXPECT_EQ(formatPlayTime(0.0), "0:00");
  EXPECT_EQ(formatPlayTime(59.99), "0:59");
  EXPECT_EQ(formatPlayTime(3599.0), "59:59");
  EXPECT_EQ(formatPlayTime(24 * 3600.0 + 62.5), "24:01:02");
}

}  // namespace
}  // namespace fluxhost
