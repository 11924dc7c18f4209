#include "MidiSchedule.h"

#include <algorithm>

namespace fluxhost {

MidiSchedule::MidiSchedule(const MidiTrack& merged, const TempoMap& tempo, double sampleRate) {
  for (const MidiEvent& event : merged) {
    if (!event.isChannelMessage()) continue;
    ScheduledMidi scheduled;
    scheduled.frame = tempo.frameAt(event.tick, sampleRate);
    std::copy_n(event.bytes.begin(), std::min<size_t>(event.bytes.size(), 3), scheduled.bytes);
    m_events.push_back(scheduled);
  }
}

MidiSchedule::MidiSchedule(std::vector<ScheduledMidi> events) : m_events(std::move(events)) {
  std::stable_sort(
      m_events.begin(), m_events.end(),
      [](const ScheduledMidi& a, const ScheduledMidi& b) { return a.frame < b.frame; });
}

std::span<const ScheduledMidi> MidiSchedule::block(int64_t blockStart, int32_t blockSize) const {
  const auto byFrame = [](const ScheduledMidi& e, int64_t frame) { return e.frame < frame; };
  const auto first = std::lower_bound(m_events.begin(), m_events.end(), blockStart, byFrame);
  const auto last = std::lower_bound(first, m_events.end(), blockStart + blockSize, byFrame);
  return {first, last};
}

}  // namespace fluxhost
