#pragma once
// The host of the tests that drive a plug-in as a host does: it records every request with its
// arguments, copies the MIDI events it is sent during the call (as a real host must, since the
// plug-in reuses its records), and answers from a table. The callback has no user pointer, so
// there is one host per process; each test resets it.

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "vst/VstRecords.h"

struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

struct SentMidi {
  std::array<unsigned char, 4> midi;
  VstInt32 deltaFrames;
  char reserved1;
  int atFrame;  // what the test's frame probe said during the call, -1 without one

  int Status() const { return midi[0]; }  // kind and channel
  int Controller() const { return midi[1]; }
  int Value() const { return midi[2]; }
  bool operator==(const SentMidi&) const = default;
};

class FakeHost {
 public:
  static FakeHost& Instance() {
    static FakeHost host;
    return host;
  }
  // Records everything and answers only the version, as a plain 2.4 host.
  void Reset() {
    calls.clear();
    sent.clear();
    answers = {{audioMasterVersion, 2400}};
    texts.clear();
    framePosition = nullptr;
    reaction = nullptr;
    recording = true;
  }
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt) {
    FakeHost& host = Instance();
    if (host.recording) {
      host.calls.push_back({effect, opcode, index, value, ptr, opt});
      if (opcode == audioMasterProcessEvents && ptr) host.KeepEvents(*static_cast<VstEvents*>(ptr));
    }
    if (host.reaction) host.reaction(opcode);
    const auto text = host.texts.find(opcode);
    if (text != host.texts.end()) std::strcpy(static_cast<char*>(ptr), text->second.c_str());
    const auto answer = host.answers.find(opcode);
    return answer == host.answers.end() ? 0 : answer->second;
  }
  // The calls with one opcode, in order.
  std::vector<HostCall> CallsWith(VstInt32 opcode) const {
    std::vector<HostCall> found;
    for (const HostCall& call : calls)
      if (call.opcode == opcode) found.push_back(call);
    return found;
  }

  std::vector<HostCall> calls;
  std::vector<SentMidi> sent;
  std::map<VstInt32, VstIntPtr> answers;  // by opcode; 0 for the others
  std::map<VstInt32, std::string> texts;  // written to the buffer of a request for a text
  std::function<int()> framePosition;
  std::function<void(VstInt32 opcode)> reaction;  // what the host does before it answers
  bool recording = true;                          // off, the host allocates nothing in the callback

 private:
  void KeepEvents(const VstEvents& list) {
    VstEvent* const* entries = EventEntries(list);
    for (VstInt32 i = 0; i < list.numEvents; ++i) {
      if (entries[i]->type != kVstMidiType) continue;
      const auto* e = reinterpret_cast<const VstMidiEvent*>(entries[i]);
      SentMidi kept{{}, e->deltaFrames, e->reserved1, framePosition ? framePosition() : -1};
      std::memcpy(kept.midi.data(), e->midiData, kept.midi.size());
      sent.push_back(kept);
    }
  }
};
