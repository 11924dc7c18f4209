#include "TempoMap.h"

#include <algorithm>
#include <cmath>

namespace fluxhost {

namespace {

constexpr uint32_t microsPerQuarterFor(double bpm) {
  return static_cast<uint32_t>(60'000'000.0 / bpm + 0.5);
}

double smpteFramesPerSecond(const MidiDivision& division) {
  return division.smpteFramesPerSecond == 29 ? 29.97 : division.smpteFramesPerSecond;
}

}  // namespace

TempoMap::TempoMap(const MidiDivision& division, uint32_t firstMicrosPerQuarter)
    : m_division(division), m_segments{{0, 0.0, 0.0, firstMicrosPerQuarter}} {}

TempoMap::TempoMap(const MidiDivision& division, const MidiTrack& merged)
    : TempoMap(division, microsPerQuarterFor(kDefaultBpm)) {
  for (const MidiEvent& event : merged) {
    if (!event.isMeta(kMetaTempo) || event.bytes.size() < 5) continue;
    const uint32_t micros =
        (uint32_t{event.bytes[2]} << 16) | (uint32_t{event.bytes[3]} << 8) | event.bytes[4];
    if (micros > 0) addChange(event.tick, micros);
  }
}

TempoMap TempoMap::constant(const MidiDivision& division, double bpm) {
  return TempoMap(division, microsPerQuarterFor(bpm));
}

void TempoMap::addChange(uint64_t tick, uint32_t microsPerQuarter) {
  Segment& last = m_segments.back();
  if (tick == last.tick) {
    last.microsPerQuarter = microsPerQuarter;  // a later change at the same tick wins
    return;
  }
  const double elapsed = static_cast<double>(tick - last.tick) * secondsPerTick(last);
  const double quarters = elapsed * 1e6 / last.microsPerQuarter;
  m_segments.push_back({tick, last.seconds + elapsed, last.quarters + quarters, microsPerQuarter});
}

double TempoMap::secondsPerTick(const Segment& segment) const {
  if (m_division.isSmpte())
    return 1.0 / (smpteFramesPerSecond(m_division) * m_division.ticksPerFrame);
  return segment.microsPerQuarter * 1e-6 / m_division.ticksPerQuarter;
}

const TempoMap::Segment& TempoMap::segmentAtTick(uint64_t tick) const {
  auto it = std::upper_bound(m_segments.begin(), m_segments.end(), tick,
                             [](uint64_t t, const Segment& s) { return t < s.tick; });
  return *std::prev(it);
}

const TempoMap::Segment& TempoMap::segmentAtSeconds(double seconds) const {
  auto it = std::upper_bound(m_segments.begin(), m_segments.end(), seconds,
                             [](double t, const Segment& s) { return t < s.seconds; });
  return it == m_segments.begin() ? m_segments.front() : *std::prev(it);
}

double TempoMap::secondsAt(uint64_t tick) const {
  const Segment& s = segmentAtTick(tick);
  return s.seconds + static_cast<double>(tick - s.tick) * secondsPerTick(s);
}

uint64_t TempoMap::tickAt(double seconds) const {
  const Segment& s = segmentAtSeconds(seconds);
  const double ticks = std::max(0.0, (seconds - s.seconds) / secondsPerTick(s));
  return s.tick + static_cast<uint64_t>(std::llround(ticks));
}

double TempoMap::bpmAt(uint64_t tick) const {
  return 60'000'000.0 / segmentAtTick(tick).microsPerQuarter;
}

double TempoMap::quarterNotesAt(double seconds) const {
  const Segment& s = segmentAtSeconds(seconds);
  return s.quarters + std::max(0.0, seconds - s.seconds) * 1e6 / s.microsPerQuarter;
}

int64_t TempoMap::frameAt(uint64_t tick, double sampleRate) const {
  return std::llround(secondsAt(tick) * sampleRate);
}

MidiTrack TempoMap::tempoEvents() const {
  MidiTrack events;
  for (const Segment& s : m_segments) {
    const uint32_t m = s.microsPerQuarter;
    events.push_back({s.tick,
                      {0xFF, kMetaTempo, static_cast<uint8_t>(m >> 16),
                       static_cast<uint8_t>(m >> 8), static_cast<uint8_t>(m)}});
  }
  return events;
}

}  // namespace fluxhost
