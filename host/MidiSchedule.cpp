#include "MidiSchedule.h"

#include <algorithm>

namespace fluxhost {

MidiSchedule::MidiSchedule(const MidiTrack& merged, const TempoMap& tempo, double sampleRate) {
  for (const MidiEvent& event : merged) {
    if (!event.IsChannelMessage()) continue;
    ScheduledMidi scheduled;
    scheduled.frame = tempo.FrameAt(event.tick, sampleRate);
    std::copy_n(event.bytes.begin(), std::min<size_t>(event.bytes.size(), 3), scheduled.bytes);
    m_Events.push_back(scheduled);
  }
}

MidiSchedule::MidiSchedule(std::vector<ScheduledMidi> events) : m_Events(std::move(events)) {
  std::stable_sort(
      m_Events.begin(), m_Events.end(),
      [](const ScheduledMidi& a, const ScheduledMidi& b) { return a.frame < b.frame; });
}

std::span<const ScheduledMidi> MidiSchedule::Block(int64_t blockStart, int32_t blockSize) const {
  const auto byFrame = [](const ScheduledMidi& e, int64_t frame) { return e.frame < frame; };
  const auto first = std::lower_bound(m_Events.begin(), m_Events.end(), blockStart, byFrame);
  const auto last = std::lower_bound(first, m_Events.end(), blockStart + blockSize, byFrame);
  return {first, last};
}

}  // namespace fluxhost
