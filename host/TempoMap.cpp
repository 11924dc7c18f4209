#include "TempoMap.h"

#include <algorithm>
#include <cmath>

namespace fluxhost {

namespace {

constexpr uint32_t MicrosPerQuarterFor(double bpm) {
  return static_cast<uint32_t>(60'000'000.0 / bpm + 0.5);
}

double SmpteFramesPerSecond(const MidiDivision& division) {
  return division.smpteFramesPerSecond == 29 ? 29.97 : division.smpteFramesPerSecond;
}

}  // namespace

TempoMap::TempoMap(const MidiDivision& division, uint32_t firstMicrosPerQuarter)
    : m_Division(division), m_Segments{{0, 0.0, 0.0, firstMicrosPerQuarter}} {}

TempoMap::TempoMap(const MidiDivision& division, const MidiTrack& merged)
    : TempoMap(division, MicrosPerQuarterFor(kDefaultBpm)) {
  for (const MidiEvent& event : merged) {
    if (!event.IsMeta(kMetaTempo) || event.bytes.size() < 5) continue;
    const uint32_t micros =
        (uint32_t{event.bytes[2]} << 16) | (uint32_t{event.bytes[3]} << 8) | event.bytes[4];
    if (micros > 0) AddChange(event.tick, micros);
  }
}

TempoMap TempoMap::Constant(const MidiDivision& division, double bpm) {
  return TempoMap(division, MicrosPerQuarterFor(bpm));
}

void TempoMap::AddChange(uint64_t tick, uint32_t microsPerQuarter) {
  Segment& last = m_Segments.back();
  if (tick == last.tick) {
    last.microsPerQuarter = microsPerQuarter;  // a later change at the same tick wins
    return;
  }
  const double elapsed = static_cast<double>(tick - last.tick) * SecondsPerTick(last);
  const double quarters = elapsed * 1e6 / last.microsPerQuarter;
  m_Segments.push_back({tick, last.seconds + elapsed, last.quarters + quarters, microsPerQuarter});
}

double TempoMap::SecondsPerTick(const Segment& segment) const {
  if (m_Division.IsSmpte())
    return 1.0 / (SmpteFramesPerSecond(m_Division) * m_Division.ticksPerFrame);
  return segment.microsPerQuarter * 1e-6 / m_Division.ticksPerQuarter;
}

const TempoMap::Segment& TempoMap::SegmentAtTick(uint64_t tick) const {
  auto it = std::upper_bound(m_Segments.begin(), m_Segments.end(), tick,
                             [](uint64_t t, const Segment& s) { return t < s.tick; });
  return *std::prev(it);
}

const TempoMap::Segment& TempoMap::SegmentAtSeconds(double seconds) const {
  auto it = std::upper_bound(m_Segments.begin(), m_Segments.end(), seconds,
                             [](double t, const Segment& s) { return t < s.seconds; });
  return it == m_Segments.begin() ? m_Segments.front() : *std::prev(it);
}

double TempoMap::SecondsAt(uint64_t tick) const {
  const Segment& s = SegmentAtTick(tick);
  return s.seconds + static_cast<double>(tick - s.tick) * SecondsPerTick(s);
}

uint64_t TempoMap::TickAt(double seconds) const {
  const Segment& s = SegmentAtSeconds(seconds);
  const double ticks = std::max(0.0, (seconds - s.seconds) / SecondsPerTick(s));
  return s.tick + static_cast<uint64_t>(std::llround(ticks));
}

double TempoMap::BpmAt(uint64_t tick) const {
  return 60'000'000.0 / SegmentAtTick(tick).microsPerQuarter;
}

double TempoMap::QuarterNotesAt(double seconds) const {
  const Segment& s = SegmentAtSeconds(seconds);
  return s.quarters + std::max(0.0, seconds - s.seconds) * 1e6 / s.microsPerQuarter;
}

int64_t TempoMap::FrameAt(uint64_t tick, double sampleRate) const {
  return std::llround(SecondsAt(tick) * sampleRate);
}

MidiTrack TempoMap::TempoEvents() const {
  MidiTrack events;
  for (const Segment& s : m_Segments) {
    const uint32_t m = s.microsPerQuarter;
    events.push_back({s.tick,
                      {0xFF, kMetaTempo, static_cast<uint8_t>(m >> 16),
                       static_cast<uint8_t>(m >> 8), static_cast<uint8_t>(m)}});
  }
  return events;
}

}  // namespace fluxhost
