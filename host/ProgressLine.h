#pragma once
// One line on a terminal that tells how far a long render has come, redrawn in
// place and wiped when the render ends, so that nothing of it stays in the
// terminal's text or reaches a file or a pipe.

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace fluxhost {

class ProgressLine {
 public:
  using Clock = std::chrono::steady_clock;

  // Shows nothing unless `terminal`; a render that ends within kQuietTime shows nothing either.
  ProgressLine(std::ostream& err, double sampleRate, int64_t totalFrames, bool terminal,
               std::function<Clock::time_point()> now = Clock::now);
  ~ProgressLine() { finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void update(int64_t framesDone);
  void finish();  // wipes the line; nothing is shown after it

  static constexpr Clock::duration kQuietTime = std::chrono::seconds(2);
  static constexpr Clock::duration kRedrawTime = std::chrono::milliseconds(200);

 private:
  std::ostream& m_err;
  double m_sampleRate;
  int64_t m_totalFrames;
  bool m_active;
  std::function<Clock::time_point()> m_now;
  Clock::time_point m_start;
  Clock::time_point m_nextDraw;
  size_t m_shownLength = 0;
};

// "1:02:03" past an hour, else "2:03".
std::string formatPlayTime(double seconds);

}  // namespace fluxhost
