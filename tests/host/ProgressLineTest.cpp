#include "ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fluxhost {
namespace {

using namespace std::chrono_literals;

// Ten minutes at 1 kHz reported on `err`, timed by a clock that only the test moves.
struct TenMinuteRun {
  TenMinuteRun(std::ostream& err, bool terminal)
      : line(err, 1000.0, 600'000, terminal, [this] { return now; }) {}
  // `elapsed` later, `frames` have been played.
  void Update(ProgressLine::Clock::duration elapsed, int64_t frames) {
    now += elapsed;
    line.Update(frames);
  }

  ProgressLine::Clock::time_point now{};  // before the line, which reads it when made
  ProgressLine line;
};

// Played at 30 times real time.
TEST(ProgressLine, ShowsTimePlayedOfTotalAndRateOnceARunTakesLongAndWipesItAtTheEnd) {
  std::ostringstream err;
  TenMinuteRun run(err, true);
  run.Update(1s, 30'000);
  EXPECT_EQ(err.str(), "") << "a short run says nothing";
  run.Update(1s, 60'000);
  const std::string first = "\rplayed 1:00 of 10:00, 30.0x real time";
  EXPECT_EQ(err.str(), first);
  run.Update(100ms, 63'000);
  EXPECT_EQ(err.str(), first) << "redrawn a few times a second, not for every block";
  run.Update(2min, 599'000);
  const std::string second = "\rplayed 9:59 of 10:00, 4.9x real time ";  // covers the longer one
  EXPECT_EQ(err.str(), first + second);
  run.line.Finish();
  const std::string wiped = "\r" + std::string(36, ' ') + "\r";
  EXPECT_EQ(err.str(), first + second + wiped);
  run.line.Update(600'000);
  EXPECT_EQ(err.str(), first + second + wiped) << "nothing after the end";
}

TEST(ProgressLine, SaysNothingWhenTheErrorStreamIsNoTerminal) {
  std::ostringstream err;
  {
    TenMinuteRun run(err, false);
    run.Update(1h, 300'000);
  }
  EXPECT_EQ(err.str(), "");
}

TEST(ProgressLine, FormatsPlayTimeWithHoursOnlyPastTheFirst) {
  EXPECT_EQ(FormatPlayTime(0.0), "0:00");
  EXPECT_EQ(FormatPlayTime(59.99), "0:59");
  EXPECT_EQ(FormatPlayTime(3599.0), "59:59");
  EXPECT_EQ(FormatPlayTime(24 * 3600.0 + 62.5), "24:01:02");
}

}  // namespace
}  // namespace fluxhost
