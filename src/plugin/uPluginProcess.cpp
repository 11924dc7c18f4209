// Control Change generation: queueing the host's MIDI events, counting them
// down frame by frame while audio passes through, and sending the units'
// Control Changes when a Note On falls due.
//
// The queue behaves exactly as if every sample frame ran one pass over all
// 250 slots while anything is queued. Instead of running the passes that
// cannot fire anything, it counts every waiting slot down by the number of
// such frames at once and runs a real pass only on the frames where an event
// falls due; the host sees the same calls, in the same order, with the same
// bytes, and the slots hold the same counts after every call.

#include <bit>
#include <cstdint>
#include <cstring>

#include "common/Assert.h"
#include "common/Rounding.h"
#include "plugin/uPlugin.h"

namespace {

constexpr unsigned char kStatusMask = 0xF0;
constexpr unsigned char kNoteOn = 0x90;
constexpr unsigned char kControlChange = 0xB0;

// Calls visit(slot) for every occupied slot, in ascending order.
template <typename Visit>
void ForEachOccupied(const std::array<uint64_t, 4>& occupied, Visit visit) {
  for (size_t word = 0; word < occupied.size(); ++word) {
    for (uint64_t bits = occupied[word]; bits != 0; bits &= bits - 1)
      visit(static_cast<int>(word * 64 + static_cast<size_t>(std::countr_zero(bits))));
  }
}

void CopyChannels(float** inputs, float** outputs, VstInt32 from, VstInt32 to) {
  for (int channel = 0; channel < 2; ++channel) {
    const float* in = inputs[channel];
    float* out = outputs[channel];
    if (!in || !out || in == out) continue;
    std::memmove(out + from, in + from, sizeof(float) * static_cast<size_t>(to - from));
  }
}

void AddChannels(float** inputs, float** outputs, VstInt32 from, VstInt32 to) {
  for (int channel = 0; channel < 2; ++channel) {
    const float* in = inputs[channel];
    float* out = outputs[channel];
    if (!in || !out) continue;
    for (VstInt32 frame = from; frame < to; ++frame) out[frame] += in[frame];
  }
}

}  // namespace

VstInt32 APlugin::processEvents(VstEvents* events) {
  if (!events) return 1;
  VstEvent* const* entries = EventEntries(*events);
  for (VstInt32 i = 0; i < events->numEvents; ++i) {
    // Once the queue is full every further event would be dropped anyway;
    // stopping also keeps a host's absurd count from walking off its list.
    if (queueCount >= kQueueSlots) break;
    const VstEvent* event = entries[i];
    if (!event || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);

    int slot = 0;
    for (size_t word = 0; word < m_Occupied.size() && slot == 0; ++word) {
      const uint64_t freeBits = ~m_Occupied[word] & (word == 0 ? ~uint64_t{1} : ~uint64_t{0});
      if (freeBits)
        slot = static_cast<int>(word * 64 + static_cast<size_t>(std::countr_zero(freeBits)));
    }
    // Fewer than kQueueSlots events are queued, so one of slots 1..250 is free.
    FLUX_ASSERT(slot >= 1 && slot <= kQueueSlots);

    ++queueCount;
    m_Occupied[static_cast<size_t>(slot) / 64] |= uint64_t{1} << (slot % 64);
    VstMidiEvent& queued = *eventSlots[static_cast<size_t>(slot)];
    std::memcpy(queued.midiData, midi->midiData, sizeof queued.midiData);
    queued.type = midi->type;
    queued.byteSize = midi->byteSize;
    // A negative offset would never count down to 0 and would hold its slot
    // for ever: such an event is due at once, like one at offset 0.
    queued.deltaFrames = midi->deltaFrames < 0 ? 0 : midi->deltaFrames;
    queued.flags = midi->flags;
    queued.noteLength = midi->noteLength;
    queued.noteOffset = midi->noteOffset;
    queued.detune = midi->detune;
    queued.noteOffVelocity = midi->noteOffVelocity;
    queued.reserved2 = midi->reserved2;
    queued.reserved1 = 99;
  }
  return 1;
}

void APlugin::MarkFree(int slot) {
  FLUX_ASSERT(slot >= 1 && slot <= kQueueSlots);
  eventSlots[static_cast<size_t>(slot)]->deltaFrames = FREE_SLOT;
  m_Occupied[static_cast<size_t>(slot) / 64] &= ~(uint64_t{1} << (slot % 64));
}

void APlugin::fireDueEvents() {
  ForEachOccupied(m_Occupied, [this](int slot) {
    // queueCount counts the occupied slots: a pass ends with its last queued event.
    FLUX_ASSERT(queueCount > 0);
    VstMidiEvent& event = *eventSlots[static_cast<size_t>(slot)];
    if (event.deltaFrames > 0) --event.deltaFrames;
    if (event.deltaFrames != 0) return;
    --queueCount;
    const auto status = static_cast<unsigned char>(event.midiData[0]) & kStatusMask;
    const auto velocity = static_cast<unsigned char>(event.midiData[2]) & 0x7F;
    if (status == kNoteOn && velocity > 0) {
      RunUnit(params[0], params[1], params[2], lastValue1);
      RunUnit(params[3], params[4], params[5], lastValue2);
    }
    MarkFree(slot);
  });
}

void APlugin::RunUnit(const SharedFloat& centre, const SharedFloat& spread,
                      const SharedFloat& ccOut, std::atomic<int32_t>& lastValue) {
  const int controller = flux::RoundHalfEven(static_cast<double>(ccOut.load(relaxed)) * 127.0);
  const double r = nextRandom();
  const double c = static_cast<double>(centre.load(relaxed));
  const double a = static_cast<double>(spread.load(relaxed));
  int value = flux::RoundHalfEven((r * a * 2.0 + c - a) * 127.0);
  if (value < 0) value = 0;
  if (value > 127) value = 127;
  lastValue.store(value, relaxed);
  for (int channel = 0; channel < 16; ++channel) sendControlChange(channel, controller, value);
}

void APlugin::sendControlChange(int channel, int controller, int value) {
  VstMidiEvent& out = *eventSlots[0];
  out.midiData[0] = static_cast<char>(kControlChange + channel);
  out.midiData[1] = static_cast<char>(controller);
  out.midiData[2] = static_cast<char>(value);
  out.deltaFrames = 0;
  sendVstEventsToHost(eventList.get());
}

int APlugin::FramesUntilNextPass() const {
  // An event with offset d falls due in the pass d - 1 frames from now, one
  // with offset 0 in the pass of this frame.
  int soonest = INT32_MAX;
  ForEachOccupied(m_Occupied, [&](int slot) {
    const VstInt32 delta = eventSlots[static_cast<size_t>(slot)]->deltaFrames;
    const int due = delta > 0 ? delta - 1 : 0;
    if (due < soonest) soonest = due;
  });
  return soonest;
}

void APlugin::CountDown(int passes) {
  if (passes <= 0) return;
  ForEachOccupied(m_Occupied, [&](int slot) {
    VstMidiEvent& event = *eventSlots[static_cast<size_t>(slot)];
    // Only frames on which nothing falls due are skipped: every count stays above 0.
    FLUX_ASSERT(event.deltaFrames > passes);
    event.deltaFrames -= passes;
  });
}

template <typename CopyAudio>
void APlugin::RunQueue(VstInt32 frames, CopyAudio copyAudio) {
  VstInt32 frame = 0;
  while (frame < frames) {
    if (queueCount <= 0) {
      copyAudio(frame, frames);
      return;
    }
    const int wait = FramesUntilNextPass();
    if (wait >= frames - frame) {
      CountDown(frames - frame);
      copyAudio(frame, frames);
      return;
    }
    CountDown(wait);
    copyAudio(frame, frame + wait);
    frame += wait;
    fireDueEvents();
    copyAudio(frame, frame + 1);
    ++frame;
  }
}

void APlugin::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  tempo = static_cast<float>(tempoAt(0)) / 10000.0f;
  const bool audio = inputs && outputs;
  RunQueue(sampleFrames, [&](VstInt32 from, VstInt32 to) {
    if (audio) AddChannels(inputs, outputs, from, to);
  });
}

void APlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  tempo = static_cast<float>(tempoAt(0)) / 10000.0f;
  const bool audio = inputs && outputs;
  RunQueue(sampleFrames, [&](VstInt32 from, VstInt32 to) {
    if (audio) CopyChannels(inputs, outputs, from, to);
  });
}
