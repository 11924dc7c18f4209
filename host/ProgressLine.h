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
  ~ProgressLine() { Finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Update(int64_t framesDone);
  void Finish();  // wipes the line; nothing is shown after it

  static constexpr Clock::duration kQuietTime = std::chrono::seconds(2);
  static constexpr Clock::duration kRedrawTime = std::chrono::milliseconds(200);

 private:
  std::ostream& m_Err;
  double m_SampleRate;
  int64_t m_TotalFrames;
  bool m_Active;
  std::function<Clock::time_point()> m_Now;
  Clock::time_point m_Start;
  Clock::time_point m_NextDraw;
  size_t m_ShownLength = 0;
};

// "1:02:03" past an hour, else "2:03".
std::string FormatPlayTime(double seconds);

}  // namespace fluxhost
