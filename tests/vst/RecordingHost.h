#pragma once
// A host callback that records every request and answers from a table, for
// tests that drive a plug-in the way a host does. The callback has no user
// pointer, so the recorder is one per process; each test resets it.

#include <cstdint>
#include <map>
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

class RecordingHost {
 public:
  static RecordingHost& instance() {
    static RecordingHost host;
    return host;
  }
  void reset() {
    calls.clear();
    answers.clear();
    answers[audioMasterVersion] = 2400;
  }
  static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt) {
    RecordingHost& host = instance();
    host.calls.push_back({effect, opcode, index, value, ptr, opt});
    const auto answer = host.answers.find(opcode);
    return answer == host.answers.end() ? 0 : answer->second;
  }
  // The calls with one opcode, in order.
  std::vector<HostCall> callsWith(VstInt32 opcode) const {
    std::vector<HostCall> found;
    for (const HostCall& call : calls)
      if (call.opcode == opcode) found.push_back(call);
    return found;
  }

  std::vector<HostCall> calls;
  std::map<VstInt32, VstIntPtr> answers;
};
