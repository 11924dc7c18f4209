#include "ProgressLine.h"

#include <cmath>

#include "TextFormat.h"

namespace fluxhost {

std::string FormatPlayTime(double seconds) {
  const auto whole = static_cast<long long>(std::floor(seconds));
  const long long hours = whole / 3600, minutes = whole / 60 % 60, rest = whole % 60;
  return hours > 0 ? FormatText("%lld:%02lld:%02lld", hours, minutes, rest)
                   : FormatText("%lld:%02lld", minutes, rest);
}

ProgressLine::ProgressLine(std::ostream& err, double sampleRate, int64_t totalFrames, bool terminal,
                           std::function<Clock::time_point()> now)
    : m_Err(err),
      m_SampleRate(sampleRate),
      m_TotalFrames(totalFrames),
      m_Active(terminal),
      m_Now(std::move(now)) {
  if (!m_Active) return;
  m_Start = m_Now();
  m_NextDraw = m_Start + kQuietTime;
}

void ProgressLine::Update(int64_t framesDone) {
  if (!m_Active) return;
  const Clock::time_point now = m_Now();
  if (now < m_NextDraw) return;
  m_NextDraw = now + kRedrawTime;
  const double played = static_cast<double>(framesDone) / m_SampleRate;
  const double elapsed = std::chrono::duration<double>(now - m_Start).count();
  std::string line = FormatText(
      "played %s of %s, %.1fx real time", FormatPlayTime(played).c_str(),
      FormatPlayTime(static_cast<double>(m_TotalFrames) / m_SampleRate).c_str(), played / elapsed);
  const size_t length = line.size();
  // A shorter line leaves none of the longer one behind it.
  if (length < m_ShownLength) line.append(m_ShownLength - length, ' ');
  m_Err << '\r' << line << std::flush;
  m_ShownLength = length;
}

void ProgressLine::Finish() {
  if (m_Active && m_ShownLength > 0)
    m_Err << '\r' << std::string(m_ShownLength, ' ') << '\r' << std::flush;
  m_Active = false;
}

}  // namespace fluxhost
