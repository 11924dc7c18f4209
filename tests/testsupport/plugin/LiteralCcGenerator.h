#pragma once
// Control Change generation written exactly as designed: while anything is
// queued, every sample frame runs one pass over all 250 slots. The plug-in's
// own path must be indistinguishable from this one; tests and benchmarks
// compare the two.

#include <cstdint>
#include <cstring>

#include "common/Rounding.h"
#include "vst/VstRecords.h"

class LiteralCcGenerator {
 public:
  static constexpr int kSlots = 251;
  static constexpr VstInt32 kFree = -99;

  LiteralCcGenerator(audioMasterCallback hostCallback, AEffect* descriptor, uint32_t firstSeed)
      : m_Host(hostCallback), m_Effect(descriptor), m_Seed(firstSeed) {
    for (VstMidiEvent& slot : slots) {
      slot = VstMidiEvent{};
      slot.type = kVstMidiType;
      slot.deltaFrames = kFree;
      slot.reserved1 = 99;
    }
    m_List.numEvents = 1;
    m_List.events[0] = reinterpret_cast<VstEvent*>(&slots[0]);
  }

  void ProcessEvents(const VstEvents* events) {
    if (!events) return;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
      const VstEvent* event = EventEntries(*events)[i];
      if (!event || event->type != kVstMidiType) continue;
      int slot = 1;
      while (slot <= 250 && slots[slot].deltaFrames != kFree) ++slot;
      if (slot > 250 || queueCount >= 250) continue;
      ++queueCount;
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      VstMidiEvent& q = slots[slot];
      std::memcpy(q.midiData, midi->midiData, 4);
      q.type = midi->type;
      q.byteSize = midi->byteSize;
      q.deltaFrames = midi->deltaFrames < 0 ? 0 : midi->deltaFrames;  // before the block: due now
      q.flags = midi->flags;
      q.noteLength = midi->noteLength;
      q.noteOffset = midi->noteOffset;
      q.detune = midi->detune;
      q.noteOffVelocity = midi->noteOffVelocity;
      q.reserved2 = midi->reserved2;
      q.reserved1 = 99;
    }
  }

  void Process(float** in, float** out, VstInt32 frames, bool replacing) {
    m_Host(m_Effect, audioMasterTempoAt, 0, 0, nullptr, 0.0f);
    for (VstInt32 f = 0; f < frames; ++f) {
      if (queueCount > 0) FireDueEvents();
      if (!in || !out) continue;
      for (int c = 0; c < 2; ++c) {
        if (!in[c] || !out[c]) continue;
        if (replacing)
          std::memcpy(&out[c][f], &in[c][f], sizeof(float));
        else
          out[c][f] += in[c][f];
      }
    }
  }

  void FireDueEvents() {
    for (int s = 1; s <= 250; ++s) {
      VstMidiEvent& e = slots[s];
      if (e.deltaFrames > 0) --e.deltaFrames;
      if (e.deltaFrames != 0) continue;
      if (--queueCount < 0) {
        queueCount = 0;
        return;
      }
      const int status = static_cast<unsigned char>(e.midiData[0]) & 0xF0;
      const int velocity = static_cast<unsigned char>(e.midiData[2]) & 0x7F;
      if (status == 0x90 && velocity > 0) {
        RunUnit(params[0], params[1], params[2], lastValue1);
        RunUnit(params[3], params[4], params[5], lastValue2);
      }
      e.deltaFrames = kFree;
    }
  }

  float params[6] = {};
  VstMidiEvent slots[kSlots] = {};
  int32_t queueCount = 0;
  int32_t lastValue1 = 0;
  int32_t lastValue2 = 0;

 private:
  void RunUnit(float c, float a, float ccOut, int32_t& last) {
    const int controller = flux::RoundHalfEven(static_cast<double>(ccOut) * 127.0);
    m_Seed = m_Seed * 134775813u + 1u;
    const double r = static_cast<double>(m_Seed) * 0x1p-32;
    int value = flux::RoundHalfEven(
        (r * static_cast<double>(a) * 2.0 + static_cast<double>(c) - static_cast<double>(a)) *
        127.0);
    value = value < 0 ? 0 : value > 127 ? 127 : value;
    last = value;
    for (int channel = 0; channel < 16; ++channel) {
      slots[0].midiData[0] = static_cast<char>(0xB0 + channel);
      slots[0].midiData[1] = static_cast<char>(controller);
      slots[0].midiData[2] = static_cast<char>(value);
      slots[0].deltaFrames = 0;
      m_Host(m_Effect, audioMasterProcessEvents, 0, 0, &m_List, 0.0f);
    }
  }

  audioMasterCallback m_Host;
  AEffect* m_Effect;
  uint32_t m_Seed;
  VstEvents m_List{};
};
