#include "ProgressLine.h"

#include <cmath>

#include "TextFormat.h"

namespace fluxhost {

std::string formatPlayTime(double seconds) {
  const auto whole = static_cast<long long>(std::floor(seconds));
  const long long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
  return hours > 0 ? formatText("%lld:%02lld:%02lld", hours, minutes, rest)
                   : formatText("%lld:%02lld", minutes, rest);
}

ProgressLine::ProgressLine(std::ostream& err, double sampleRate, int64_t totalFrames, bool terminal,
                           std::function<Clock::time_point()> now)
    : m_err(err),
      m_sampleRate(sampleRate),
      m_totalFrames(totalFrames),
      m_active(terminal),
      m_now(std::move(now)) {
  if (!m_active) return;
  m_start = m_now();
  m_nextDraw = m_start + kQuietTime;
}

void ProgressLine::update(int64_t framesDone) {
  if (!m_active) return;
  const Clock::time_point now = m_now();
  if (now < m_nextDraw) return;
  m_nextDraw = now + kRedrawTime;
  const double played = static_cast<double>(framesDone) / m_sampleRate;
  const double elapsed = std::chrono::duration<double>(now - m_start).count();
  std::string line = formatText(
      "played %s of %s, %.1fx real time", formatPlayTime(played).c_str(),
      formatPlayTime(static_cast<double>(m_totalFrames) / m_sampleRate).c_str(), played / elapsed);
  const size_t length = line.size();
  // A shorter line leaves none of the longer one behind it.
  if (length < m_shownLength) line.append(m_shownLength - length, ' ');
  m_err << '\r' << line << std::flush;
  m_shownLength = length;
}

void ProgressLine::finish() {
  if (m_active && m_shownLength > 0)
    m_err << '\r' << std::string(m_shownLength, ' ') << '\r' << std::flush;
  m_active = false;
}

}  // namespace fluxhost
