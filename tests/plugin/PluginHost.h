#pragma once
// A host for the plug-in tests: it answers the requests the plug-in makes and
// keeps every Control Change it is sent, copied during the call, as a real
// host must. The callback has no user pointer, so there is one per process.

#include <cstring>
#include <functional>
#include <vector>

#include "vst/VstRecords.h"

struct SentControlChange {
  int channel;
  int controller;
  int value;
  VstInt32 deltaFrames;
  char reserved1;
  int atFrame;  // what the test's frame probe said during the call
};

class PluginHost {
 public:
  static PluginHost& instance() {
    static PluginHost host;
    return host;
  }
  void reset() {
    sent.clear();
    requests.clear();
    version = 2400;
    tempo = 1200000;
    framePosition = nullptr;
  }
  static VstIntPtr VSTCALLBACK callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr value,
                                        void* ptr, float) {
    PluginHost& host = instance();
    host.requests.push_back({opcode, value});
    switch (opcode) {
      case audioMasterVersion:
        return host.version;
      case audioMasterTempoAt:
        return host.tempo;
      case audioMasterGetVendorString:
        std::strcpy(static_cast<char*>(ptr), "Test Vendor");
        return 1;
      case audioMasterGetProductString:
        std::strcpy(static_cast<char*>(ptr), "Test Host");
        return 1;
      case audioMasterProcessEvents: {
        const auto* list = static_cast<VstEvents*>(ptr);
        for (VstInt32 i = 0; i < list->numEvents; ++i) {
          const auto* e = reinterpret_cast<const VstMidiEvent*>(eventEntries(*list)[i]);
          const auto midiByte = [&](int n) { return static_cast<unsigned char>(e->midiData[n]); };
          if ((midiByte(0) & 0xF0) != 0xB0) continue;
          host.sent.push_back({midiByte(0) & 0x0F, midiByte(1), midiByte(2), e->deltaFrames,
                               e->reserved1, host.framePosition ? host.framePosition() : -1});
        }
        return 1;
      }
      default:
        return 0;
    }
  }

  struct Request {
    VstInt32 opcode;
    VstIntPtr value;
  };
  std::vector<SentControlChange> sent;
  std::vector<Request> requests;
  VstIntPtr version = 2400;
  VstIntPtr tempo = 1200000;
  std::function<int()> framePosition;
};

// An event list that owns its MIDI records.
class MidiList {
 public:
  MidiList& add(unsigned char status, unsigned char data1, unsigned char data2,
                VstInt32 deltaFrames, VstInt32 type = kVstMidiType) {
    VstMidiEvent e{};
    e.type = type;
    e.byteSize = 24;
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(data1);
    e.midiData[2] = static_cast<char>(data2);
    records.push_back(e);
    return *this;
  }
  VstEvents* list() {
    storage.assign(sizeof(VstEvents) + sizeof(VstEvent*) * records.size(), 0);
    auto* events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = static_cast<VstInt32>(records.size());
    for (size_t i = 0; i < records.size(); ++i)
      eventEntries(*events)[i] = reinterpret_cast<VstEvent*>(&records[i]);
    return events;
  }

 private:
  std::vector<VstMidiEvent> records;
  std::vector<unsigned char> storage;
};
